// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry_fixture.h"

#include "storage/db_connection.h"
#include "widgets/data_grid.h"
#include "widgets/window_toolbar.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QToolBar>

void RegistryFixture::start()
{
    prompt = ScriptedPrompt::install();
    db = std::make_unique<TestDatabase>();
    QVERIFY(db->isOpen());
    handedBack.clear();
    w = std::make_unique<frmAnagrafe>();
    w->setChosenUserSource([this] { return chosen; });
    QObject::connect(w.get(), &frmAnagrafe::closedWithChosenUser,
                     [this](const ChosenUserLabels &labels) { handedBack << labels; });
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    activateLater(w.get());
    QTRY_COMPARE(text("Label1"), chosen.label1);
    QCOMPARE(where(), "Frame3 /  / Check7");
}

void RegistryFixture::stop()
{
    w.reset();
    const int unexpected = prompt->unexpected();
    db.reset();
    Prompt::install(nullptr);
    QCOMPARE(unexpected, 0);
}

bool RegistryFixture::seen(const QString &name) const
{
    QWidget *control = find(name);
    QWidget *top = w->childAt(control->mapTo(w.get(), control->rect().center()));
    return control->isVisible() && top && (top == control || control->isAncestorOf(top));
}

QString RegistryFixture::where() const
{
    QStringList panels;
    for (const char *panel : {"Frame3", "Frame4", "Frame2", "Frame1"})
        if (seen(panel))
            panels << panel;
    const QWidget *focus = w->focusWidget();
    return panels.join(' ') + " / " + text("Cmd2") + " / " + (focus ? focus->objectName() : "");
}

void RegistryFixture::run(const QString &steps)
{
    for (const QString &step : steps.split(';'))
        runStep(step);
}

// "insert CODE" opens the fields through the code check, "modify NAME" and "delete NAME"
// pick the subject in the grid, "click NAME", "toolbar KEY", "altx" presses Alt+X, "BOX=keys"
// types, "BOX:=keys" replaces, "sql ..." changes the file behind the window's back, "refuse" makes
// it refuse inserts; "?NAME=text" and "?NAME.property=value", "?focus=NAME",
// "?seen=NAME", "?covered=NAME" and "?empty" (fields empty, no user, no password) check.
void RegistryFixture::runStep(const QString &step)
{
    const QString word = step.section(' ', 0, 0);
    const QString rest = step.section(' ', 1);
    const QString name = step.section('=', 0, 0).remove(':').remove('?');
    const QString value = step.section('=', 1);
    if (word == "insert") {
        run("click Check7;click Check6;Text55=" + rest + ";click Cmd3");
    } else if (word == "modify" || word == "delete") {
        run(word == "modify" ? "click Check7;click Check2" : "click Check7;click Check3");
        auto *grid = w->findChild<DataGrid *>("Datagrid1");
        const QModelIndexList found = grid->model()->match(
            grid->model()->index(0, 1), Qt::DisplayRole, rest, 1, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable("no grid row " + rest));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(found[0]).center());
    } else if (word == "click") {
        click(rest);
    } else if (word == "toolbar") {
        auto *toolbar = w->findChild<QToolBar *>("tbTop");
        QTest::mouseClick(toolbar->widgetForAction(toolbarButton(toolbar, rest)), Qt::LeftButton);
    } else if (word == "altx") {
        QTest::keyClick(w->focusWidget(), Qt::Key_X, Qt::AltModifier);
        QTest::qWait(250); // a mnemonic clicks the button a moment later
    } else if (word == "sql") {
        QVERIFY(db->exec(rest));
    } else if (word == "refuse") {
        QVERIFY(db->refuseWrites("Utente", "INSERT", "disco pieno"));
    } else if (step == "?empty") {
        run("?Text1=;?Text2=;?Text7=;?Text13=;?Text55=;?Check1.checked=false;"
            "?Text13.enabled=false");
    } else if (name == "focus") {
        QCOMPARE(w->focusWidget()->objectName(), value);
    } else if (name == "seen" || name == "covered") {
        QVERIFY2(seen(value) == (name == "seen"), qPrintable(step));
    } else if (step.startsWith('?')) {
        const QString property = name.section('.', 1);
        QCOMPARE(find(name.section('.', 0, 0))
                     ->property(property.isEmpty() ? "text" : qPrintable(property))
                     .toString(),
                 value);
    } else {
        if (step.contains(":="))
            qobject_cast<QLineEdit *>(find(name))->clear();
        type(name, value);
    }
}

void RegistryFixture::click(const QString &name)
{
    QVERIFY2(seen(name) && find(name)->isEnabled(), qPrintable(name + " cannot be clicked"));
    QTest::mouseClick(find(name), Qt::LeftButton);
}

// "\x01" is Home, "\x02" Left, "\x16" Ctrl+V, "\x7f" Delete, "\r" Enter.
void RegistryFixture::type(const QString &name, const QString &keys)
{
    const QHash<QChar, Qt::Key> special = {{'\x01', Qt::Key_Home},    {'\x02', Qt::Key_Left},
                                           {'\b', Qt::Key_Backspace}, {'\x7f', Qt::Key_Delete},
                                           {'\t', Qt::Key_Tab},       {'\r', Qt::Key_Return}};
    find(name)->setFocus();
    for (const QChar key : keys) {
        QWidget *box = w->focusWidget();
        if (key == '\x16')
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        else if (special.contains(key))
            QTest::keyClick(box, special.value(key));
        else // accented letters come as the keyboard sends them: a key with its text
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key(key.toUpper().unicode()), key, {});
    }
}

QString RegistryFixture::storedRow(const QString &name) const
{
    QSqlQuery query(DbConnection::instance().database());
    query.prepare("SELECT * FROM Utente WHERE Soggetto = :name");
    query.bindValue(":name", name);
    QStringList texts;
    if (query.exec() && query.next())
        for (int column = 1; column < query.record().count(); ++column)
            texts << query.value(column).toString();
    return texts.join('|');
}
