// SPDX-License-Identifier: GPL-3.0-or-later
// Where the registry window's panels and controls lie.
#include "test_support.h"

#include "core/twips.h"
#include "main_window/frm_registra.h"
#include "registry/frm_anagrafe.h"

class TestRegistryLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void controlsLieWhereTheWindowPutsThem_data();
    void controlsLieWhereTheWindowPutsThem();

private:
    std::unique_ptr<frmAnagrafe> m_registry;
};

void TestRegistryLayout::initTestCase()
{
    m_registry = std::make_unique<frmAnagrafe>();
}

void TestRegistryLayout::cleanupTestCase()
{
    m_registry.reset();
}

void TestRegistryLayout::controlsLieWhereTheWindowPutsThem_data()
{
    // Left, top, width and height in twips inside the container.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QList<int>>("place");
    const auto row = [](const char *name, const char *container, QList<int> place) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container) << place;
    };
    row("Frame3", "frmAnagrafe", {120, 840, 11895, 5775});
    row("Check7", "Frame3", {840, 840, 1215, 255});
    row("Check4", "Frame3", {840, 1320, 1215, 255});
    row("Frame4", "frmAnagrafe", {4440, 2640, 3135, 1695});
    row("Text55", "Frame4", {360, 480, 2295, 330});
    row("Cmd3", "Frame4", {720, 960, 1695, 255});
    row("Label67", "Frame4", {2880, 120, 135, 240});
    row("Frame2", "frmAnagrafe", {360, 960, 11415, 5535});
    row("Check5", "Frame2", {10320, 240, 615, 255});
    row("Datagrid1", "Frame2", {360, 600, 10605, 4635});
    row("Label10", "Frame2", {11760, 240, 495, 255});
    row("Frame1", "frmAnagrafe", {960, 1080, 9975, 4935});
    row("Frame6", "Frame1", {240, 120, 9615, 4215});
    row("Text6", "Frame1", {8400, 1680, 975, 255});
    row("Check2", "Frame1", {6000, 4560, 1095, 255});
    row("Check1", "Frame1", {5760, 2160, 1695, 255});
    row("Text13", "Frame1", {600, 3720, 1695, 255});
    row("Text12", "Frame1", {7680, 3000, 1695, 255});
    row("Text11", "Frame1", {6000, 3000, 1575, 255});
    row("Text10", "Frame1", {4200, 3000, 1695, 255});
    row("Text9", "Frame1", {600, 3000, 3495, 255});
    row("Text1", "Frame1", {8400, 2160, 975, 255});
    row("Text2", "Frame1", {600, 720, 8775, 255});
    row("Text3", "Frame1", {600, 1200, 8775, 255});
    row("Text4", "Frame1", {600, 1680, 7215, 255});
    row("Text5", "Frame1", {7920, 1680, 375, 255});
    row("Text7", "Frame1", {600, 2160, 2415, 255});
    row("Text8", "Frame1", {3120, 2160, 2415, 255});
    row("Text14", "Frame1", {2640, 3720, 6855, 360});
    row("Cmd2", "Frame1", {2640, 4440, 1695, 375});
    row("Check3", "Frame1", {7200, 4560, 855, 255});
    row("Check6", "Frame1", {4680, 4560, 1215, 255});
    row("Check8", "Frame1", {600, 4440, 615, 255});
    row("Label50", "Frame1", {600, 3480, 1455, 255});
    row("Label40", "Frame1", {7680, 2760, 1455, 255});
    row("Label3", "Frame1", {6000, 2760, 1455, 255});
    row("Label2", "Frame1", {4200, 2760, 1455, 255});
    row("Label100", "Frame1", {600, 2760, 1455, 255});
    row("Label7", "Frame1", {600, 480, 3735, 255});
    row("Label8", "Frame1", {8160, 2160, 255, 255});
    row("Label9", "Frame1", {600, 960, 3735, 255});
    row("Label12", "Frame1", {8400, 1440, 615, 255});
    row("Label13", "Frame1", {600, 1440, 1455, 255});
    row("Label14", "Frame1", {7920, 1440, 375, 255});
    row("Label15", "Frame1", {600, 1920, 1455, 255});
    row("Label16", "Frame1", {3120, 1920, 1455, 255});
    row("Label21", "Frame1", {2640, 3480, 1455, 255});
    row("tbTop", "frmAnagrafe", {0, 120, 12105, 330});
    row("StatusBar1", "frmAnagrafe", {0, 6675, 12120, 375});
    row("Label5", "frmAnagrafe", {10320, 480, 855, 375});
    row("Label4", "frmAnagrafe", {9360, 480, 855, 300});
    row("Label19", "frmAnagrafe", {8400, 480, 855, 300});
    row("Label1", "frmAnagrafe", {4080, 480, 4215, 300});
}

void TestRegistryLayout::controlsLieWhereTheWindowPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QList<int>, place);
    QCOMPARE(m_registry->size(), QSize(twipsToPixels(12120), twipsToPixels(7050)));
    auto *control = m_registry->findChild<QWidget *>(name);
    if (!control)
        QSKIP("The window does not have this control yet");
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), twipsRect(place.at(0), place.at(1), place.at(2), place.at(3)));
}

TAVELO_TEST_MAIN(TestRegistryLayout)
#include "tst_registry_layout.moc"
