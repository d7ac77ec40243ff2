// SPDX-License-Identifier: GPL-3.0-or-later
// What the registry's boxes let in, and the Italian order of names.
#include "registry_fixture.h"

#include "storage/italian_collation.h"
#include "storage/statements.h"
#include "widgets/toggle_button.h"

#include <QClipboard>
#include <QRandomGenerator>

class TestRegistryInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingTurnsToCapitals_data();
    void typingTurnsToCapitals();
    void caretStaysWhereItWas();
    void pasteTurnsToCapitals();
    void numericBoxesFilterKeys_data();
    void numericBoxesFilterKeys();
    void numericBoxesDropPasteKeyButMoveAndDelete();
    void storedValueLongerThanLimitIsShownWhole();
    void italianOrder_data();
    void italianOrder();
    void quickWayAgreesWithCollator();
    void userListIsInItalianOrder();

private:
    RegistryFixture f;
};

void TestRegistryInput::init()
{
    f.start();
    f.openInsertFields(QStringLiteral("LIBERO"));
}

void TestRegistryInput::cleanup()
{
    f.stop();
}

void TestRegistryInput::typingTurnsToCapitals_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("name, accents") << "Text2"
                                   << "nicolò d'àngelo"
                                   << "NICOLÒ D'ÀNGELO";
    QTest::newRow("address") << "Text3"
                             << "via èrcole 1/b"
                             << "VIA ÈRCOLE 1/B";
    QTest::newRow("town") << "Text4"
                          << "forlì"
                          << "FORLÌ";
    QTest::newRow("province, limit 2") << "Text5"
                                       << "fc9"
                                       << "FC";
    QTest::newRow("code, limit 16") << "Text7"
                                    << "abcdefghijklmnopq"
                                    << "ABCDEFGHIJKLMNOP";
    QTest::newRow("e-mail") << "Text9"
                            << "a.b@c.it"
                            << "A.B@C.IT";
    QTest::newRow("note") << "Text14"
                          << "perché sì"
                          << "PERCHÉ SÌ";
    QTest::newRow("password stays as typed") << "Text13"
                                             << "Pw9è"
                                             << "Pw9è";
}

void TestRegistryInput::typingTurnsToCapitals()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto *field = f.w->findChild<QLineEdit *>(box);
    field->clear();
    if (field == f.w->Text13)
        f.click(f.w->Check1);
    typeInto(field, typed);
    QCOMPARE(field->text(), shown);
    QCOMPARE(field->cursorPosition(), int(shown.size()));
}

void TestRegistryInput::caretStaysWhereItWas()
{
    typeInto(f.w->Text2, QStringLiteral("ROSI"));
    f.w->Text2->setCursorPosition(2);
    QTest::keyClicks(f.w->Text2, QStringLiteral("s"));
    QCOMPARE(f.w->Text2->text(), QStringLiteral("ROSSI"));
    QCOMPARE(f.w->Text2->cursorPosition(), 3);
    // Text set by the program turns to capitals too; an empty one stays empty.
    f.w->Text9->setText(QStringLiteral("info@rossi.it"));
    QCOMPARE(f.w->Text9->text(), QStringLiteral("INFO@ROSSI.IT"));
    f.w->Text9->setText(QString());
    QCOMPARE(f.w->Text9->cursorPosition(), 0);
}

void TestRegistryInput::pasteTurnsToCapitals()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("piazza dùomo"));
    f.w->Text3->setFocus();
    QTest::keyClick(f.w->Text3, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.w->Text3->text(), QStringLiteral("PIAZZA DÙOMO"));
}

void TestRegistryInput::numericBoxesFilterKeys_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("telephone, full stop to comma") << "Text10"
                                                   << "12.3"
                                                   << "12,3";
    QTest::newRow("CAP, limit 5") << "Text6"
                                  << "123456"
                                  << "12345";
    QTest::newRow("CAP, letters and blanks") << "Text6"
                                             << "1 a+/(2"
                                             << "12";
    QTest::newRow("VAT, limit 11") << "Text8"
                                   << "123456789012"
                                   << "12345678901";
    QTest::newRow("mobile, minus and commas anywhere") << "Text11"
                                                       << "-3,,3-"
                                                       << "-3,,3-";
    QTest::newRow("fax, accents dropped") << "Text12"
                                          << "0è5"
                                          << "05";
}

void TestRegistryInput::numericBoxesFilterKeys()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto *field = f.w->findChild<QLineEdit *>(box);
    typeInto(field, typed);
    QCOMPARE(field->text(), shown);
    QCOMPARE(QApplication::focusWidget(), field);
}

void TestRegistryInput::numericBoxesDropPasteKeyButMoveAndDelete()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    typeInto(f.w->Text10, QStringLiteral("123"));
    QTest::keyClick(f.w->Text10, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.w->Text10->text(), QStringLiteral("123"));
    QTest::keyClick(f.w->Text10, Qt::Key_Backspace);
    QCOMPARE(f.w->Text10->text(), QStringLiteral("12"));
    QTest::keyClick(f.w->Text10, Qt::Key_Left);
    QTest::keyClick(f.w->Text10, Qt::Key_Delete);
    QCOMPARE(f.w->Text10->text(), QStringLiteral("1"));
    QTest::keyClick(f.w->Text10, Qt::Key_Home);
    QTest::keyClicks(f.w->Text10, QStringLiteral("9"));
    QCOMPARE(f.w->Text10->text(), QStringLiteral("91"));
    // Tab leaves the box as usual.
    QTest::keyClick(f.w->Text10, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.w->Text11);
}

void TestRegistryInput::storedValueLongerThanLimitIsShownWhole()
{
    // A code stored longer than the box lets one type must not be cut, or a modify
    // would write it back shortened.
    frmAnagrafe::setStoredText(f.w->Text7, QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
    QCOMPARE(f.w->Text7->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
    f.w->ClearRegistryFields();
    typeInto(f.w->Text7, QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
    QCOMPARE(f.w->Text7->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
}

void TestRegistryInput::italianOrder_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("accent beside base letter") << "ÀLVARO"
                                               << "BRUNO";
    QTest::newRow("case aside") << "alberto"
                                << "BRUNO";
    QTest::newRow("accent after plain") << "NICOLO"
                                        << "NICOLÒ ZETA";
    QTest::newRow("blank first") << "ROSSI MARIO"
                                 << "ROSSIANA";
    QTest::newRow("apostrophe") << "D'ANGELO"
                                << "DANIELI";
    QTest::newRow("digits before letters") << "3M SRL"
                                           << "ABACO";
}

void TestRegistryInput::italianOrder()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QCOMPARE(compareItalian(first, second), -1);
    QCOMPARE(compareItalian(second, first), 1);
    QCOMPARE(compareItalian(first.toLower(), first), 0);
    const QByteArray a = first.toUtf8();
    const QByteArray b = second.toUtf8();
    QCOMPARE(compareItalianUtf8(a.constData(), int(a.size()), b.constData(), int(b.size())), -1);
}

// Most names take a quick way round the collator: it must give the same order.
void TestRegistryInput::quickWayAgreesWithCollator()
{
    QRandomGenerator random(4821);
    const QString letters = QStringLiteral("aAàÀbzZ09 'oòÒöeèéiìuùçñ-.æß");
    for (int i = 0; i < 2000; ++i) {
        QString a;
        QString b;
        for (int n = int(random.bounded(6)); n > 0; --n)
            a += letters.at(int(random.bounded(int(letters.size()))));
        for (int n = int(random.bounded(6)); n > 0; --n)
            b += letters.at(int(random.bounded(int(letters.size()))));
        const QByteArray x = a.toUtf8();
        const QByteArray y = b.toUtf8();
        QCOMPARE(compareItalianUtf8(x.constData(), int(x.size()), y.constData(), int(y.size())),
                 compareItalian(a, b));
    }
}

void TestRegistryInput::userListIsInItalianOrder()
{
    for (const char *name : {"zeno", "ÉLIO", "BRUNO", "èva", "ALDO"})
        f.db->addSubject(QString::fromUtf8(name));
    const Result<QVector<Subject>> users = selectUsers();
    QVERIFY(users.ok());
    QStringList names;
    for (const Subject &user : users.value)
        names << user.soggetto;
    QCOMPARE(names, QStringList({"ALDO", "BRUNO", "ÉLIO", "èva", "zeno"}));
}

TAVELO_TEST_MAIN(TestRegistryInput)
#include "tst_registry_input.moc"
