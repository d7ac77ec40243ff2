// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_viewer.h"

#include "widgets/prompt.h"

#include "reports/report_painter.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

namespace {

std::unique_ptr<ReportViewer> &installed()
{
    static std::unique_ptr<ReportViewer> viewer;
    return viewer;
}

// The dialog only borrows the printer it is given; holding it in a base constructed
// before the dialog and destroyed after it keeps it alive for the dialog's whole life.
struct PrinterHolder
{
    QPrinter heldPrinter{QPrinter::HighResolution};
};

class ReportPreviewDialog : private PrinterHolder, public QPrintPreviewDialog
{
public:
    explicit ReportPreviewDialog(QWidget *owner) : QPrintPreviewDialog(&heldPrinter, owner) {}
};

// Paints every page for the preview or the printer; a long document shows how far it
// has got.
void paintDocument(const ReportDocument &document, QPrinter *printer, QWidget *dialog)
{
    QPainter painter;
    if (!painter.begin(printer))
        return;
    QProgressDialog progress(QStringLiteral("Preparazione delle pagine…"), QString(), 0,
                             document.pageCount(), dialog);
    progress.setWindowTitle(QStringLiteral("Tavelo"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(500);
    ReportPagePainter pages(painter);
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            printer->newPage();
        pages.paint(document.pages.at(i));
        if (i % 50 == 0)
            progress.setValue(i);
    }
    painter.end();
}

// The operator clicked "Esporta PDF" in the preview's tool bar.
void exportPdf(const ReportDocument &document, QWidget *dialog)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path =
        QFileDialog::getSaveFileName(dialog, QStringLiteral("Esporta PDF"),
                                     QDir(folder).filePath(document.name + QStringLiteral(".pdf")),
                                     QStringLiteral("Documenti PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QLatin1String(".pdf");

    QProgressDialog progress(QStringLiteral("Esportazione in PDF…"), QStringLiteral("Annulla"), 0,
                             document.pageCount(), dialog);
    progress.setWindowTitle(QStringLiteral("Esporta PDF"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    // reset() forgets a cancel, so it is noted as it happens.
    bool cancelled = false;
    const Check written = writeReportPdf(document, path, [&](int page, int) {
        progress.setValue(page);
        cancelled = progress.wasCanceled();
        return !cancelled;
    });
    progress.reset();
    // A cancelled export leaves no file and needs no word: the operator asked for it.
    if (!written.ok() && !cancelled)
        showPrompt(dialog,
                   QStringLiteral("Esportazione in PDF non riuscita.\n%1").arg(written.problem),
                   QString(), PromptButtons::Ok, PromptIcon::Critical);
}

} // namespace

ReportViewer::~ReportViewer() = default;

ReportViewer &ReportViewer::current()
{
    std::unique_ptr<ReportViewer> &viewer = installed();
    if (!viewer)
        viewer = std::make_unique<PreviewReportViewer>();
    return *viewer;
}

std::unique_ptr<ReportViewer> ReportViewer::install(std::unique_ptr<ReportViewer> viewer)
{
    std::unique_ptr<ReportViewer> previous = std::move(installed());
    installed() = std::move(viewer);
    return previous;
}

std::unique_ptr<QPrintPreviewDialog> createReportPreview(const ReportDocument &document,
                                                         QWidget *owner)
{
    auto dialog = std::make_unique<ReportPreviewDialog>(owner);
    QPrinter *printer = dialog->printer();
    printer->setDocName(document.title);
    printer->setPageLayout(document.pageLayout);
    // Pages are drawn from the sheet's corner, margins included.
    printer->setFullPage(true);
    dialog->setWindowTitle(document.title);

    // The document is the caller's and outlives the dialog, which runs modally.
    QWidget *window = dialog.get();
    QObject::connect(
        dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(),
        [&document, window](QPrinter *target) { paintDocument(document, target, window); });

    if (QToolBar *toolBar = dialog->findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *exportAction = toolBar->addAction(QStringLiteral("Esporta PDF"));
        exportAction->setObjectName(QStringLiteral("exportPdf"));
        QObject::connect(exportAction, &QAction::triggered, window,
                         [&document, window] { exportPdf(document, window); });
    }

    // Restored from maximized, the preview covers nine tenths of the screen, centred.
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size(area.width() / 10 * 9, area.height() / 10 * 9);
        dialog->resize(size);
        dialog->move(area.left() + (area.width() - size.width()) / 2,
                     area.top() + (area.height() - size.height()) / 2);
    }
    dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
    return dialog;
}

void PreviewReportViewer::showModal(const ReportDocument &document, QWidget *owner)
{
    std::unique_ptr<QPrintPreviewDialog> dialog = createReportPreview(document, owner);
    dialog->exec();
}
