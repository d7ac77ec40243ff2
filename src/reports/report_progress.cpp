// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>

#include <memory>

ReportBuild buildWithProgress(QWidget *owner,
                              const std::function<ReportBuild(const ReportBuildProgress &)> &build)
{
    std::unique_ptr<QProgressDialog> dialog;
    QElapsedTimer clock;
    clock.start();
    const ReportBuildProgress progress = [&](int page) {
        // Every page would be too often to repaint; a few times a second is enough.
        if (page % 20 != 0)
            return;
        if (!dialog && clock.elapsed() > 400) {
            dialog = std::make_unique<QProgressDialog>(owner);
            dialog->setWindowTitle(QStringLiteral("Tavelo"));
            dialog->setWindowModality(Qt::WindowModal);
            dialog->setCancelButton(nullptr);
            dialog->setRange(0, 0);
            dialog->setMinimumDuration(0);
            dialog->show();
        }
        if (dialog) {
            dialog->setLabelText(QStringLiteral("Preparazione della stampa: pagina %1…").arg(page));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    };
    return build(progress);
}
