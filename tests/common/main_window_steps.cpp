// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"

#include "widgets/activation.h"
#include "core/dates.h"
#include "main_window/frm_registra.h"
#include "storage/db_connection.h"
#include "storage/statements.h"
#include "widgets/note_box.h"
#include "widgets/window_toolbar.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
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

std::unique_ptr<WindowPair> startMainWindow()
{
    auto windows = std::make_unique<WindowPair>();
    QWidget *window = windows->mainWindow();
    window->show();
    window->activateWindow();
    STEP_VERIFY(QTest::qWaitForWindowActive(window), "main window not active");
    activateLater(window);
    STEP_VERIFY(QTest::qWaitFor([&] { return visiblePanels(*window) == "Frame3"; }),
                "main window not activated");
    return windows;
}

namespace {

int gridRowOf(const QAbstractItemView *grid, const QString &note)
{
    for (int row = 0; grid->model() && row < grid->model()->rowCount(); ++row)
        if (grid->model()->index(row, 3).data().toString() == note)
            return row;
    return -1;
}

bool runStep(MainWindowTest &test, const QString &step)
{
    static const QHash<QString, Qt::Key> keys = {
        {"Tab", Qt::Key_Tab},     {"Down", Qt::Key_Down}, {"Return", Qt::Key_Return},
        {"Space", Qt::Key_Space}, {"Left", Qt::Key_Left}, {"Backspace", Qt::Key_Backspace},
        {"F1", Qt::Key_F1}};
    const QString verb = step.section(QLatin1Char(' '), 0, 0);
    const QString rest = step.section(QLatin1Char(' '), 1).replace("\\n", "\n");
    auto *grid = test.at<QAbstractItemView>("DataGrid3");
    const int row = gridRowOf(grid, rest);
    if (verb == QLatin1String("pick") && row >= 0)
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 3)).center());
    else if (verb == QLatin1String("gone") && row >= 0)
        return deleteDiaryEntry(grid->model()->index(row, 0).data().toLongLong()).ok();
    else if (verb == QLatin1String("sql") || verb == QLatin1String("refuse"))
        return verb == QLatin1String("sql")
                   ? test.db->exec(rest)
                   : test.db->refuseWrites("Tavelo", rest, "scrittura rifiutata");
    else if (verb == QLatin1String("tool"))
        return clickToolbar(test.window, rest);
    else if (verb == QLatin1String("subject"))
        return test.db->addSubject(rest) > 0;
    else if (verb == QLatin1String("activate"))
        activateLater(test.window);
    else if (verb == QLatin1String("paste")) {
        QApplication::clipboard()->setText(rest);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    } else if (verb == QLatin1String("user")) {
        auto *users = test.at<QComboBox>("Cbo1");
        users->setCurrentIndex(users->findText(rest));
        emit users->activated(users->currentIndex());
        return users->currentIndex() >= 0;
    } else {
        const qsizetype mark = step.indexOf(QRegularExpression(QStringLiteral("[=+<]|$")));
        QWidget *control = test.at(qPrintable(step.left(mark)));
        const QString text = step.mid(mark + 1).replace("\\n", "\n");
        if (!control || verb == QLatin1String("pick") || verb == QLatin1String("gone"))
            return false;
        const QChar how = mark < step.size() ? step.at(mark) : QChar();
        auto *view = qobject_cast<QAbstractItemView *>(control);
        if (how.isNull())
            QTest::mouseClick(control, Qt::LeftButton);
        else
            control->setFocus();
        if (how == QLatin1Char('<'))
            QTest::keyClick(view ? view->viewport() : control, keys.value(text));
        if (how == QLatin1Char('=') && QMetaObject::invokeMethod(control, "selectAll"))
            QTest::keyClick(control, Qt::Key_Delete);
        if (how == QLatin1Char('=') || how == QLatin1Char('+'))
            typeText(control, text);
    }
    QTest::qWait(0);
    return true;
}

QString describe(const MainWindowTest &test, const QString &name)
{
    if (name == QLatin1String("@"))
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "";
    if (name == QLatin1String("panels"))
        return visiblePanels(*test.window);
    QWidget *control = test.at(qPrintable(name));
    if (auto *view = qobject_cast<QAbstractItemView *>(control)) {
        QStringList notes;
        const QAbstractItemModel *model = view->model();
        for (int row = 0; model && row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                if (model->headerData(column, Qt::Horizontal).toString() == "Oggetto")
                    notes << model->index(row, column).data().toString();
        return (view->isEnabled() ? "E:" : "-:") + notes.join(QLatin1Char(','));
    }
    if (auto *users = qobject_cast<QComboBox *>(control)) {
        QStringList items;
        for (int i = 0; i < users->count(); ++i)
            items << users->itemText(i);
        return items.join(QLatin1Char(',')) + QLatin1Char('=') + users->currentText();
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->isCheckable() ? QString::number(button->isChecked()) : button->text();
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->isHidden() ? "~" : label->text();
    if (auto *note = qobject_cast<NoteBox *>(control))
        return note->text();
    return qobject_cast<QLineEdit *>(control)->text().replace(todayScreenDate(), "oggi");
}

} // namespace

bool runSteps(MainWindowTest &test, const QString &steps, const QString &answers)
{
    for (const QChar answer : answers)
        test.prompt->answer(answer == QLatin1Char('Y')   ? PromptAnswer::Yes
                            : answer == QLatin1Char('N') ? PromptAnswer::No
                                                         : PromptAnswer::Ok);
    for (const QString &step : steps.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        STEP_VERIFY(runStep(test, step), qPrintable(step));
    return true;
}

void addStepColumns()
{
    for (const char *column : {"steps", "answers", "names", "shown"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<QStringList>("boxes");
}

void checkStepRow(MainWindowTest &test)
{
    QFETCH(QString, steps);
    QFETCH(QString, answers);
    QFETCH(QStringList, boxes);
    QFETCH(QString, names);
    QFETCH(QString, shown);
    QVERIFY(runSteps(test, steps, answers));
    QVERIFY(allMatch(boxes, shownBoxes(*test.prompt)));
    QVERIFY(allMatch({shown}, {snapshot(test, names)}));
}

QString snapshot(const MainWindowTest &test, const QString &names)
{
    QStringList shown;
    for (const QString &name : names.split(QLatin1Char(' ')))
        shown << describe(test, name);
    return shown.join(QLatin1Char('|'));
}

QStringList shownBoxes(const ScriptedPrompt &prompt)
{
    QStringList boxes;
    for (const PromptRequest &box : prompt.shown())
        boxes << QString("-ix"[int(box.icon)]) + "|" + box.title + "|" + box.text;
    return boxes;
}

bool allMatch(const QStringList &patterns, const QStringList &texts)
{
    STEP_VERIFY(patterns.size() == texts.size(), qPrintable(texts.join(" / ")));
    for (int i = 0; i < patterns.size(); ++i) {
        QString pattern = QRegularExpression::escape(patterns.at(i));
        pattern.replace(QLatin1String("\\*"), QLatin1String(".*"));
        const QRegularExpression whole(QRegularExpression::anchoredPattern(pattern),
                                       QRegularExpression::DotMatchesEverythingOption);
        STEP_VERIFY(whole.match(texts.at(i)).hasMatch(), qPrintable(texts.at(i)));
    }
    return true;
}

QStringList storedDiary()
{
    QSqlQuery query(DbConnection::instance().database());
    query.exec("SELECT Oggetto, data, scadenza, ndoc, AGG, Utente FROM Tavelo ORDER BY ID");
    QStringList rows;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < 6; ++i)
            row << (i == 0 || i == 3 ? query.value(i).toString()
                                     : query.value(i).toString().left(10));
        row[4] = row[4] == QDate::currentDate().toString(Qt::ISODate) ? "oggi" : "";
        rows << row.join(QLatin1Char('|'));
    }
    return rows;
}

bool clickToolbar(QWidget *window, const QString &key)
{
    auto *toolbar = qobject_cast<QToolBar *>(window);
    if (!toolbar)
        toolbar = window->findChild<QToolBar *>(QStringLiteral("tbTop"));
    QAction *action = toolbar ? toolbarButton(toolbar, key) : nullptr;
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

void typeText(QWidget *box, const QString &text)
{
    for (const QChar c : text) {
        const auto key = c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, box, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, key, QString(c), Qt::NoModifier);
    }
}

bool addManyEntries(TestDatabase &db, int total, const QDate &firstDue, int spread,
                    const std::function<qint64(int)> &owner)
{
    STEP_VERIFY(db.exec("BEGIN"), "BEGIN");
    QSqlQuery insert(DbConnection::instance().database());
    STEP_VERIFY(insert.prepare("INSERT INTO Tavelo (data, scadenza, Oggetto, Utente) "
                               "VALUES ('2026-01-01', :due, 'VOCE', :user)"),
                "INSERT");
    for (int i = 0; i < total; ++i) {
        insert.bindValue(":due", firstDue.addDays(i % spread).toString(Qt::ISODate));
        insert.bindValue(":user", owner(i));
        STEP_VERIFY(insert.exec(), qPrintable(QString::number(i)));
    }
    STEP_VERIFY(db.exec("COMMIT"), "COMMIT");
    return true;
}
