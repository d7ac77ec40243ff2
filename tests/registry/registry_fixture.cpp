// SPDX-License-Identifier: GPL-3.0-or-later
#include "registry_fixture.h"

#include "storage/db_connection.h"
#include "widgets/data_grid.h"
#include "widgets/toggle_button.h"

#include <QAbstractItemModel>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>

void RegistryFixture::start()
{
    QVERIFY(prepare());
    windows = std::make_unique<WindowPair>();
    window = windows->mainWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(clickToolbar(window, QStringLiteral("Anagrafica")));
    w = windows->registryWindow();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_COMPARE(w->Cmd2->text(), QString());
    QCOMPARE(seenPanels(), QStringLiteral("Frame3"));
}

void RegistryFixture::stop()
{
    w = nullptr;
    QCOMPARE(finish(), 0);
}

bool RegistryFixture::seen(QWidget *control)
{
    if (!control->isVisible())
        return false;
    QWidget *window = control->window();
    const QPoint centre = control->mapTo(window, control->rect().center());
    QWidget *top = window->childAt(centre);
    return top && (top == control || control->isAncestorOf(top));
}

void RegistryFixture::click(QWidget *control)
{
    QVERIFY2(seen(control), qPrintable(control->objectName() + QStringLiteral(" is not seen")));
    QVERIFY2(control->isEnabled(), qPrintable(control->objectName() + QStringLiteral(" is off")));
    QTest::mouseClick(control, Qt::LeftButton);
}

QString RegistryFixture::seenPanels() const
{
    QStringList shown;
    for (QGroupBox *panel : {w->Frame3, w->Frame4, w->Frame2, w->Frame1})
        if (seen(panel))
            shown << panel->objectName();
    return shown.join(QLatin1Char(' '));
}

void RegistryFixture::openInsertFields(const QString &code)
{
    click(w->Check7);
    click(w->Check6);
    QVERIFY(w->Frame4->isVisible());
    typeInto(w->Text55, code);
    click(w->Cmd3);
    QVERIFY(!w->Frame4->isVisible());
}

void RegistryFixture::openGrid(const QString &mode)
{
    click(w->Check7);
    click(mode == QLatin1String("Modifica") ? w->Check2 : w->Check3);
    QCOMPARE(w->Cmd2->text(), mode);
    QVERIFY(seen(w->Datagrid1));
}

void RegistryFixture::pickRow(const QString &name)
{
    QAbstractItemModel *model = w->Datagrid1->model();
    QVERIFY(model);
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 1);
        if (index.data().toString() != name)
            continue;
        w->Datagrid1->scrollTo(index);
        const QPoint spot = w->Datagrid1->visualRect(index).center();
        QTest::mouseClick(w->Datagrid1->viewport(), Qt::LeftButton, {}, spot);
        return;
    }
    QFAIL(qPrintable(QStringLiteral("no grid row ") + name));
}

QSqlRecord RegistryFixture::storedRow(qint64 id) const
{
    QSqlQuery query(DbConnection::instance().database());
    query.prepare(QStringLiteral("SELECT * FROM Utente WHERE ID = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (!query.exec() || !query.next())
        return {};
    return query.record();
}

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(box, char(ch.unicode()));
            continue;
        }
        // Accented letters come as the keyboard sends them: a key with its text.
        const auto key = Qt::Key(ch.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, box, key, QString(ch), Qt::NoModifier);
    }
}
