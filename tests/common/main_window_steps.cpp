// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_steps.h"

#include "core/dates.h"
#include "main_window/frm_registra.h"
#include "widgets/note_box.h"
#include "widgets/window_toolbar.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>

// As QVERIFY2, for the steps that give false instead of returning from the test.
#define STEP_VERIFY(condition, what)                                                               \
    do {                                                                                           \
        if (!QTest::qVerify(static_cast<bool>(condition), #condition, what, __FILE__, __LINE__))   \
            return {};                                                                             \
    } while (false)

namespace {

QString visiblePanels(const QWidget &window)
{
    QStringList shown;
    // A panel not yet built is not shown.
    for (const char *name : {"Frame1", "Frame2", "Frame3", "Frame4"})
        if (const auto *panel = window.findChild<QWidget *>(QLatin1String(name));
            panel && panel->isVisible())
            shown << QLatin1String(name);
    return shown.join(QLatin1Char(' '));
}

// Key by key, so that accented letters and line breaks go through the controls' filters.
void typeText(QWidget *box, const QString &text)
{
    for (const QChar c : text) {
        const auto key = c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, box, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, key, QString(c), Qt::NoModifier);
    }
}

// The grid or list that the operator sees showing this text, and its cell.
std::pair<QAbstractItemView *, QModelIndex> cellOf(const QWidget *window, const QString &text)
{
    for (auto *view : window->findChildren<QAbstractItemView *>())
        for (int row = 0; view->isVisible() && row < view->model()->rowCount(); ++row)
            for (int column = 0; column < view->model()->columnCount(); ++column)
                if (view->model()->index(row, column).data().toString() == text)
                    return {view, view->model()->index(row, column)};
    return {};
}

QString describe(const MainWindowTest &test, const QString &name);

// Retypes, types at the caret, presses a key on or clicks the control named in the step.
bool useControl(MainWindowTest &test, const QString &step)
{
    const qsizetype mark = step.indexOf(QRegularExpression(QStringLiteral("[=+<]|$")));
    QWidget *control = findControl(test.window, step.left(mark));
    const QString how = step.mid(mark, 1);
    const QString text = step.mid(mark + 1).replace("\\n", "\n");
    STEP_VERIFY(control && (!how.isEmpty() || (control->isEnabled() && operatorSees(control))),
                qPrintable(step));
    if (auto *choices = qobject_cast<QComboBox *>(control); choices && how == "=") {
        choices->setCurrentIndex(choices->findText(text));
        return choices->currentText() == text;
    }
    if (how.isEmpty())
        QTest::mouseClick(control, Qt::LeftButton);
    else
        control->setFocus();
    auto *view = qobject_cast<QAbstractItemView *>(control);
    const QKeyCombination key = QKeySequence(text)[0];
    if (how == "<")
        QTest::keyClick(view ? view->viewport() : control, key.key(), key.keyboardModifiers());
    if (how == "=" && QMetaObject::invokeMethod(control, "selectAll"))
        QTest::keyClick(control, Qt::Key_Delete);
    if (how == "=" || how == "+")
        typeText(control, text);
    return true;
}

bool runStep(MainWindowTest &test, const QString &step)
{
    const QString verb = step.section(QLatin1Char(' '), 0, 0);
    const QString rest = step.section(QLatin1Char(' '), 1).replace("\\n", "\n");
    if (step.startsWith(QLatin1Char('?'))) {
        const QString name = step.mid(1).section('=', 0, 0), property = name.section('.', 1);
        const QString shown = property.isEmpty() ? describe(test, name)
                                                 : findControl(test.window, name.section('.', 0, 0))
                                                       ->property(qPrintable(property))
                                                       .toString();
        return allMatch({step.section('=', 1)}, {shown});
    } else if (verb == "pick" || verb == "gone") {
        const auto [grid, cell] = cellOf(test.window, rest);
        STEP_VERIFY(cell.isValid(), qPrintable(rest));
        if (verb == "gone")
            return deleteDiaryEntry(cell.siblingAtColumn(0).data().toLongLong()).ok();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    } else if (verb == "sql") {
        return test.db->exec(rest);
    } else if (verb == "desk") {
        return execAtSecondDesk(rest);
    } else if (verb == "refuse") {
        return test.db->refuseWrites("Tavelo", rest, "scrittura rifiutata");
    } else if (verb == "tool") {
        return clickToolbar(test.window, rest);
    } else if (verb == "activate") {
        activateLater(test.window);
    } else if (verb == "paste") {
        QApplication::clipboard()->setText(rest);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    } else if (verb == "user") {
        auto *users = test.at<QComboBox>("Cbo1");
        users->setCurrentIndex(users->findText(rest));
        emit users->activated(users->currentIndex());
        return users->currentIndex() >= 0;
    } else if (!useControl(test, step)) {
        return false;
    }
    QTest::qWait(0);
    return true;
}

QString describe(const MainWindowTest &test, const QString &name)
{
    if (name == "@")
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "";
    if (name == "panels")
        return visiblePanels(*test.window);
    if (name.endsWith(QLatin1Char('?')))
        return QString::number(test.at(qPrintable(name.chopped(1)))->isEnabled());
    if (name == "closed") {
        QStringList closed;
        const QAbstractItemModel *rows = test.at<QAbstractItemView>("DataGrid3")->model();
        for (int row = 0; rows && row < rows->rowCount(); ++row)
            closed << rows->index(row, 3).data(Qt::AccessibleDescriptionRole).toString();
        return closed.join(QLatin1Char(',')).replace(todayScreenDate(), "oggi");
    }
    QWidget *control = findControl(test.window, name);
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

bool operatorSees(QWidget *control)
{
    QWidget *window = control->window();
    QWidget *top = window->childAt(control->mapTo(window, control->rect().center()));
    return control->isVisible() && top && (top == control || control->isAncestorOf(top));
}

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
    // The activation ends with the user list focused; the hidden panels may not be built.
    STEP_VERIFY(QTest::qWaitFor([&] {
                    return visiblePanels(*window) == "Frame3" &&
                           window->focusWidget() == window->findChild<QWidget *>("Cbo1");
                }),
                "main window not activated");
    return windows;
}

bool runSteps(MainWindowTest &test, const QString &steps, const QString &answers)
{
    for (const QChar answer : answers)
        test.prompt->answer(answer == 'Y'   ? PromptAnswer::Yes
                            : answer == 'N' ? PromptAnswer::No
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
    QFETCH(QString, names);
    QFETCH(QString, shown);
    QFETCH(QStringList, boxes);
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
        const QString pattern = QRegularExpression::escape(patterns.at(i)).replace("\\*", ".*");
        const QRegularExpression whole(QRegularExpression::anchoredPattern(pattern),
                                       QRegularExpression::DotMatchesEverythingOption);
        STEP_VERIFY(whole.match(texts.at(i)).hasMatch(), qPrintable(texts.at(i)));
    }
    return true;
}

QStringList storedDiary()
{
    QSqlQuery query(DbConnection::instance().database());
    query.exec("SELECT Oggetto, data, scadenza, ndoc, AGG, Utente, Chiusa, Ripeti FROM Tavelo "
               "ORDER BY ID");
    QStringList rows;
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    while (query.next()) {
        QStringList row{query.value(0).toString(), query.value(1).toString().left(10),
                        query.value(2).toString().left(10), query.value(3).toString(),
                        query.value(4).toString().startsWith(today) ? "oggi" : ""};
        if (!query.value(6).isNull())
            row << "fatta " + query.value(6).toString().left(10).replace(today, "oggi");
        if (!query.value(7).isNull())
            row << query.value(7).toString();
        rows << (row << query.value(5).toString()).join(QLatin1Char('|'));
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
