// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"

#include "widgets/activation.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"
#include "widgets/data_grid.h"
#include "widgets/picture_button.h"
#include "widgets/toggle_button.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QToolBar>

// As QVERIFY2, for the steps that give false instead of returning from the test.
#define STEP_VERIFY(condition, what)                                                               \
    do {                                                                                           \
        if (!QTest::qVerify(static_cast<bool>(condition), #condition, what, __FILE__, __LINE__))   \
            return {};                                                                             \
    } while (false)

bool MainWindowTest::prepare()
{
    prompt = ScriptedPrompt::install();
    db = std::make_unique<TestDatabase>();
    return db->isOpen();
}

bool MainWindowTest::start()
{
    window = startMainWindow();
    return window != nullptr;
}

int MainWindowTest::finish()
{
    const int unexpected = prompt ? prompt->unexpected() : 0;
    window.reset();
    db.reset();
    Prompt::install(nullptr);
    prompt = nullptr;
    return unexpected;
}

std::unique_ptr<frmRegistra> startMainWindow()
{
    auto window = std::make_unique<frmRegistra>();
    window->show();
    window->activateWindow();
    STEP_VERIFY(QTest::qWaitForWindowExposed(window.get()), "main window not shown");
    STEP_VERIFY(QTest::qWaitForWindowActive(window.get()), "main window not active");
    activateLater(window.get());
    STEP_VERIFY(QTest::qWaitFor(
                    [&] { return window->Frame3->isVisible() && !window->Frame2->isVisible(); }),
                "main window not activated");
    return window;
}

bool chooseUser(frmRegistra &window, const QString &name)
{
    const int index = window.Cbo1->findText(name);
    STEP_VERIFY(index >= 0, qPrintable(name));
    window.Cbo1->setCurrentIndex(index);
    emit window.Cbo1->activated(index);
    return true;
}

bool openEntryPanel(frmRegistra &window, const QString &name)
{
    if (!chooseUser(window, name))
        return false;
    QTest::mouseClick(window.Image2, Qt::LeftButton);
    STEP_VERIFY(window.Frame1->isVisible(), "Accedi");
    QTest::mouseClick(window.Check1, Qt::LeftButton);
    STEP_VERIFY(window.Frame2->isVisible(), "Gestione");
    return true;
}

bool clickToolbar(QToolBar *toolbar, const QString &key)
{
    QAction *action = toolbarButton(toolbar, key);
    STEP_VERIFY(action, qPrintable(key));
    QWidget *button = toolbar->widgetForAction(action);
    STEP_VERIFY(button, qPrintable(key));
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QString visiblePanels(const frmRegistra &window)
{
    QStringList shown;
    for (const QGroupBox *panel : {window.Frame1, window.Frame2, window.Frame3, window.Frame4})
        if (panel->isVisible())
            shown << panel->objectName();
    return shown.join(QLatin1Char(' '));
}

void clickGridRow(DataGrid *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

int gridRowOf(const DataGrid *grid, const QString &note)
{
    const QAbstractItemModel *model = grid->model();
    for (int row = 0; model && row < model->rowCount(); ++row)
        if (model->index(row, 3).data().toString() == note)
            return row;
    return -1;
}

void typeText(QWidget *box, const QString &text)
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

bool addManyEntries(TestDatabase &db, int total, const QDate &firstDue, int spread,
                    const std::function<qint64(int)> &owner)
{
    STEP_VERIFY(db.exec(QStringLiteral("BEGIN")), "BEGIN");
    QSqlQuery insert(DbConnection::instance().database());
    STEP_VERIFY(
        insert.prepare(QStringLiteral("INSERT INTO Tavelo (data, scadenza, Oggetto, Utente) "
                                      "VALUES ('2026-01-01', :due, 'VOCE', :user)")),
        "INSERT");
    for (int i = 0; i < total; ++i) {
        insert.bindValue(QStringLiteral(":due"),
                         firstDue.addDays(i % spread).toString(Qt::ISODate));
        insert.bindValue(QStringLiteral(":user"), owner(i));
        STEP_VERIFY(insert.exec(), qPrintable(QString::number(i)));
    }
    STEP_VERIFY(db.exec(QStringLiteral("COMMIT")), "COMMIT");
    return true;
}

QVariantMap storedEntry(qint64 id)
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

qint64 lastEntryId()
{
    QSqlQuery query(DbConnection::instance().database());
    return query.exec(QStringLiteral("SELECT MAX(ID) FROM Tavelo")) && query.next()
               ? query.value(0).toLongLong()
               : 0;
}
