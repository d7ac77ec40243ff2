// SPDX-License-Identifier: GPL-3.0-or-later
// Labels that show a value are read by a screen reader with that value.
#include "test_support.h"

#include "widgets/value_label.h"

#include <QAccessible>
#include <QLabel>

class TestValueLabel : public QObject
{
    Q_OBJECT

private slots:
    void readingFollowsTheText_data();
    void readingFollowsTheText();
    void otherLabelsAreReadAsTheyStand();
};

void TestValueLabel::readingFollowsTheText_data()
{
    QTest::addColumn<bool>("quiet");
    QTest::newRow("announced") << false;
    QTest::newRow("quiet") << true;
}

void TestValueLabel::readingFollowsTheText()
{
    QFETCH(bool, quiet);
    QWidget window;
    auto *label = new QLabel(QStringLiteral("ROSSI MARIO"), &window);
    readAsValue(label, QStringLiteral("Utente scelto"),
                quiet ? ValueChanges::Quiet : ValueChanges::Announced);
    QCOMPARE(readerName(label), QStringLiteral("Utente scelto: ROSSI MARIO"));
    label->setText(QStringLiteral("VERDI GIUSEPPE"));
    QCOMPARE(readerName(label), QStringLiteral("Utente scelto: VERDI GIUSEPPE"));
    label->clear();
    QCOMPARE(readerName(label), QStringLiteral("Utente scelto: nessuno"));
    QCOMPARE(valueReading(label), readerName(label));
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->role(), QAccessible::StaticText);
    // Only a label without a name of its own has its new texts announced by Qt.
    QCOMPARE(label->accessibleName().isEmpty(), !quiet);
}

void TestValueLabel::otherLabelsAreReadAsTheyStand()
{
    QWidget window;
    auto *valueLabel = new QLabel(QStringLiteral("3"), &window);
    readAsValue(valueLabel, QStringLiteral("ID"));
    auto *caption = new QLabel(QStringLiteral("Versione"), &window);
    QCOMPARE(readerName(caption), QStringLiteral("Versione"));
    QCOMPARE(readerName(valueLabel), QStringLiteral("ID: 3"));
}

TAVELO_TEST_MAIN(TestValueLabel)
#include "tst_value_label.moc"
