// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Drives the main window as the operator does, for the tests of its panels.

#include "test_support.h"

#include "core/activation.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"
#include "widgets/data_grid.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"

#include <QComboBox>
#include <QGroupBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>

#include <memory>

// Shows the main window and lets its first activation run.
inline std::unique_ptr<frmRegistra> startMainWindow()
{
    auto window = std::make_unique<frmRegistra>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window not active");
    activateLater(window.get());
    if (!QTest::qWaitFor([&] { return window->Cbo1->count() > 0; }, 5000))
        qWarning("main window not activated");
    return window;
}

inline bool chooseUser(frmRegistra &w, const QString &name)
{
    const int index = w.Cbo1->findText(name);
    if (index < 0)
        return false;
    w.Cbo1->setCurrentIndex(index);
    emit w.Cbo1->activated(index);
    return true;
}

// "Accedi", then "Gestione".
inline bool openEntryPanel(frmRegistra &w, const QString &name)
{
    if (!chooseUser(w, name))
        return false;
    QTest::mouseClick(w.Image2, Qt::LeftButton);
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    return w.Frame2->isVisible();
}

inline void clickGridRow(DataGrid *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// The grid row whose note is this text, or -1.
inline int gridRowOf(const DataGrid *grid, const QString &note)
{
    const QAbstractItemModel *model = grid->model();
    for (int row = 0; model && row < model->rowCount(); ++row)
        if (model->index(row, 3).data().toString() == note)
            return row;
    return -1;
}

// Types the text key by key, accented letters and line breaks included.
inline void typeText(QWidget *box, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(box, Qt::Key_Return);
            continue;
        }
        const auto key = Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, box, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, key, QString(c), Qt::NoModifier);
    }
}

// Replaces a box's text the way the operator does: select all, type.
template <typename Box> void retype(Box *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

// One row of table Tavelo as stored, by column name; empty when there is none.
inline QVariantMap storedEntry(qint64 id)
{
    QSqlQuery query(DbConnection::instance().database());
    query.prepare(QStringLiteral("SELECT * FROM Tavelo WHERE ID = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    QVariantMap row;
    // Keyed by the table's own column names, also from a server that folds them.
    const QStringList columns = DbConnection::tableColumns(QStringLiteral("Tavelo"));
    if (query.exec() && query.next())
        for (int i = 0; i < query.record().count(); ++i) {
            QString name = query.record().fieldName(i);
            for (const QString &column : columns)
                if (column.compare(name, Qt::CaseInsensitive) == 0)
                    name = column;
            row.insert(name, query.value(i));
        }
    return row;
}

// The ID of the last row written to table Tavelo.
inline qint64 lastEntryId()
{
    QSqlQuery query(DbConnection::instance().database());
    return query.exec(QStringLiteral("SELECT MAX(ID) FROM Tavelo")) && query.next()
               ? query.value(0).toLongLong()
               : 0;
}
