// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"

#include "core/activation.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"
#include "widgets/data_grid.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QSqlQuery>
#include <QSqlRecord>
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
    windows = startMainWindow();
    window = windows ? windows->mainWindow() : nullptr;
    return window != nullptr;
}

int MainWindowTest::finish()
{
    const int unexpected = prompt ? prompt->unexpected() : 0;
    window = nullptr;
    windows.reset();
    db.reset();
    Prompt::install(nullptr);
    prompt = nullptr;
    return unexpected;
}

QWidget *MainWindowTest::mainWidget() const
{
    return window;
}

std::unique_ptr<WindowPair> startMainWindow()
{
    auto windows = std::make_unique<WindowPair>();
    QWidget *window = windows->mainWindow();
    window->show();
    window->activateWindow();
    STEP_VERIFY(QTest::qWaitForWindowExposed(window), "main window not shown");
    STEP_VERIFY(QTest::qWaitForWindowActive(window), "main window not active");
    activateLater(window);
    STEP_VERIFY(QTest::qWaitFor([&] { return visiblePanels(*window) == "Frame3"; }),
                "main window not activated");
    return windows;
}

bool chooseUser(QWidget &window, const QString &name)
{
    auto *users = window.findChild<QComboBox *>(QStringLiteral("Cbo1"));
    const int index = users->findText(name);
    STEP_VERIFY(index >= 0, qPrintable(name));
    users->setCurrentIndex(index);
    emit users->activated(index);
    return true;
}

bool openEntryPanel(QWidget &window, const QString &name)
{
    if (!chooseUser(window, name))
        return false;
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Image2")), Qt::LeftButton);
    STEP_VERIFY(visiblePanels(window) == "Frame1", "Accedi");
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Check1")), Qt::LeftButton);
    STEP_VERIFY(visiblePanels(window) == "Frame2", "Gestione");
    return true;
}

bool clickToolbar(QWidget *window, const QString &key)
{
    auto *toolbar = window->findChild<QToolBar *>(QStringLiteral("tbTop"));
    STEP_VERIFY(toolbar, "tbTop");
    QAction *action = toolbarButton(toolbar, key);
    STEP_VERIFY(action, qPrintable(key));
    QTest::mouseClick(toolbar->widgetForAction(action), Qt::LeftButton);
    return true;
}

QString visiblePanels(const QWidget &window)
{
    QStringList shown;
    for (const char *name : {"Frame1", "Frame2", "Frame3", "Frame4"})
        if (window.findChild<QGroupBox *>(QLatin1String(name))->isVisible())
            shown << QLatin1String(name);
    return shown.join(QLatin1Char(' '));
}

void clickGridRow(QWidget &window, int row)
{
    auto *grid = window.findChild<DataGrid *>(QStringLiteral("DataGrid3"));
    const QRect cell = grid->visualRect(grid->model()->index(row, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

int gridRowOf(const QWidget &window, const QString &note)
{
    const QAbstractItemModel *model =
        window.findChild<DataGrid *>(QStringLiteral("DataGrid3"))->model();
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

void retype(QWidget *box, const QString &text)
{
    box->setFocus();
    QMetaObject::invokeMethod(box, "selectAll");
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
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
