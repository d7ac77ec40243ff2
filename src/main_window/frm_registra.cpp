// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/frm_registra.h"

#include "widgets/twips.h"
#include "main_window/diary_grid_model.h"
#include "registry/frm_anagrafe.h"
#include "widgets/data_grid.h"
#include "widgets/date_box.h"
#include "widgets/labels.h"
#include "widgets/note_box.h"
#include "widgets/picture_button.h"
#include "widgets/status_panels.h"
#include "widgets/toggle_button.h"
#include "widgets/value_label.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QToolBar>
#include <QTreeView>

namespace {

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption, int left, int top,
                     int width, int height)
{
    auto *frame = named(new QGroupBox(caption, parent), name);
    placeTwips(frame, left, top, width, height);
    // A panel covers whatever lies beneath it.
    frame->setAutoFillBackground(true);
    return frame;
}

// The picture of Image1, drawn once at the size of its place.
QPixmap renderPicture(const QString &resource, const QSize &size)
{
    QSvgRenderer renderer(resource);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

frmRegistra::frmRegistra(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmRegistra"));
    setWindowTitle(QStringLiteral("Registrazione"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/tavelo.svg")));
    setUpProgramWindow(this, 12120, 7050);

    createToolbar();
    createWindowLabels();
    createOverviewPanel();
    createEntryPanel();
    createUserChoicePanel();
    createDiaryMenuPanel();
    StatusBar1 = named(new StatusPanels(this), "StatusBar1");
    placeTwips(StatusBar1, 0, 6675, 12120, 375);
    stackPanels();
    setKeyboardOrder();
    connectHandlers();
}

frmRegistra::~frmRegistra() = default;

void frmRegistra::createToolbar()
{
    tbTop = createWindowToolbar(
        this,
        {{"Chiudi", ":/pictures/chiudi.svg", QKeySequence(Qt::CTRL | Qt::Key_Q)},
         {"Riduci", ":/pictures/riduci.svg", QKeySequence(Qt::CTRL | Qt::Key_M)},
         {"Anagrafica", ":/pictures/anagrafica.svg", QKeySequence(Qt::Key_F2)},
         {"Istruzioni", ":/pictures/istruzioni.svg", QKeySequence(Qt::Key_F1)}},
        [this](QAction *button) { ToolbarButtonClick(button); });
    placeTwips(tbTop, 0, 0, 7200, 540);
}

void frmRegistra::createWindowLabels()
{
    Label5 = makeLabel(this, "Label5", QStringLiteral("ID"), 7440, 120, 300, 300);
    Label8 = makeLabel(this, "Label8", QString(), 7800, 120, 900, 300);
    Label1 = makeLabel(this, "Label1", QStringLiteral("Utente"), 8760, 120, 3240, 300);
    Label1->setText(QString());
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label8->setFont(bold);
    readAsValue(Label1, QStringLiteral("Utente scelto"));
    readAsValue(Label8, QStringLiteral("ID dell'utente scelto"));

    Image1 = makeLabel(this, "Image1", QString(), 8940, 960, 3060, 2400);
    Image1->setPixmap(renderPicture(QStringLiteral(":/pictures/scadenze.svg"), Image1->size()));

    Label3 = makeLabel(this, "Label3", QStringLiteral("Versione"), 8940, 3600, 900, 300);
    Label25 = makeLabel(this, "Label25", QStringLiteral("Versione"), 9840, 3600, 2160, 300);
    readAsValue(Label25, QStringLiteral("Versione"));

    Image5 = named(new PictureButton(QStringLiteral(":/pictures/sito.svg"), this), "Image5");
    placeTwips(Image5, 10920, 4920, 720, 720);
    Image5->setToolTip(QStringLiteral("Vai al il mio sito !"));
    Label12 = makeLabel(this, "Label12", QStringLiteral("Vai al sito"), 10560, 5700, 1440, 300);
    Label12->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label12->setBuddy(Image5);
    Image5->setAccessibleName(Label12->text());
}

void frmRegistra::createOverviewPanel()
{
    Frame4 = makeFrame(this, "Frame4", QStringLiteral("Scadenze"), 360, 960, 8415, 3495);
    Check7 = named(new QCheckBox(QStringLiteral("Stampa"), Frame4), "Check7");
    placeTwips(Check7, 6000, 240, 1215, 270);
    Check6 = named(new QCheckBox(QStringLiteral("Esci"), Frame4), "Check6");
    placeTwips(Check6, 7440, 240, 855, 270);
    ListView1 = named(new QTreeView(Frame4), "ListView1");
    placeTwips(ListView1, 120, 600, 8175, 2655);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setAccessibleName(QStringLiteral("Scadenze di tutti gli utenti"));
}

void frmRegistra::createEntryPanel()
{
    Frame2 = makeFrame(this, "Frame2", QStringLiteral("***** Gestione"), 0, 600, 12015, 6015);

    Label4 = makeLabel(Frame2, "Label4", QStringLiteral("Data"), 600, 600, 1140, 240);
    DataBox1 = named(new DateBox(Frame2), "DataBox1");
    // It ends short of the due-date tick, which stands between the two date boxes.
    placeTwips(DataBox1, 600, 840, 1155, 330);
    Label4->setBuddy(DataBox1);

    Check2 = named(new TickBox(QStringLiteral("XPCheck1"), Frame2), "Check2");
    placeTwips(Check2, 1800, 960, 255, 255);
    Check2->setAccessibleName(QStringLiteral("Con scadenza"));
    Check2->setToolTip(QStringLiteral("Con scadenza"));

    Label6 = makeLabel(Frame2, "Label6", QStringLiteral("Avviso/ Scadenza"), 2040, 600, 1740, 240);
    DataBox2 = named(new DateBox(Frame2), "DataBox2");
    placeTwips(DataBox2, 2280, 840, 1380, 330);
    Label6->setBuddy(DataBox2);

    Label7 = makeLabel(Frame2, "Label7", QStringLiteral("ID Oper"), 3840, 600, 900, 240);
    Text1 = named(new QLineEdit(Frame2), "Text1");
    placeTwips(Text1, 3840, 840, 855, 330);
    Text1->setReadOnly(true);
    Label7->setBuddy(Text1);

    Label9 = makeLabel(Frame2, "Label9", QStringLiteral("N_Doc"), 4800, 600, 900, 240);
    Text3 = named(new QLineEdit(Frame2), "Text3");
    placeTwips(Text3, 4800, 840, 1800, 330);
    Label9->setBuddy(Text3);

    Text2 = named(new NoteBox(Frame2), "Text2");
    placeTwips(Text2, 600, 1320, 9015, 945);
    Text2->setAccessibleName(QStringLiteral("Oggetto"));
    Text2->setPlaceholderText(QStringLiteral("Oggetto"));

    Cmd1 = named(new QPushButton(QStringLiteral("Inserisci"), Frame2), "Cmd1");
    placeTwips(Cmd1, 9960, 1320, 1455, 420);
    // Enter on the focused button runs the action, as Space does.
    Cmd1->setAutoDefault(true);
    Label10 =
        makeLabel(Frame2, "Label10", QStringLiteral("Seleziona  la riga "), 9960, 1800, 1900, 300);

    DataGrid3 = named(new DataGrid(Frame2), "DataGrid3");
    placeTwips(DataGrid3, 600, 2400, 9240, 3360);
    // The column widths were set for a small face: the dates must fit them whole.
    DataGrid3->setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    DataGrid3->setAccessibleName(QStringLiteral("Registrazioni dell'utente"));
    m_diaryModel = new DiaryGridModel(this);

    Check3 = named(new ToggleButton(QStringLiteral("Modifica"), Frame2), "Check3");
    placeTwips(Check3, 10080, 2400, 1335, 330);
    Check4 = named(new ToggleButton(QStringLiteral("Elimina"), Frame2), "Check4");
    placeTwips(Check4, 10080, 2760, 1335, 330);
    Check5 = named(new ToggleButton(QStringLiteral("Stampa"), Frame2), "Check5");
    placeTwips(Check5, 10080, 3120, 1335, 330);

    Image3 = named(new PictureButton(QStringLiteral(":/pictures/indietro.svg"), Frame2), "Image3");
    placeTwips(Image3, 10380, 4800, 720, 720);
    Image3->setAccessibleName(QStringLiteral("Indietro"));
    Image3->setToolTip(QStringLiteral("Indietro"));
}

void frmRegistra::createUserChoicePanel()
{
    Frame3 = makeFrame(this, "Frame3", QStringLiteral("Seleziona"), 480, 960, 6615, 3015);
    Label2 = makeLabel(Frame3, "Label2", QStringLiteral("Utente"), 360, 480, 1200, 270);
    Cbo1 = named(new QComboBox(Frame3), "Cbo1");
    placeTwips(Cbo1, 360, 780, 4200, 360);
    Cbo1->setEditable(false);
    Cbo1->setMaxVisibleItems(20);
    Label2->setBuddy(Cbo1);

    Image2 = named(new PictureButton(QStringLiteral(":/pictures/accedi.svg"), Frame3), "Image2");
    placeTwips(Image2, 5160, 420, 960, 960);
    Label11 = makeLabel(Frame3, "Label11", QStringLiteral("Accedi"), 4920, 1440, 1440, 300);
    Label11->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label11->setBuddy(Image2);
    Image2->setAccessibleName(Label11->text());
    Image2->setToolTip(Label11->text());

    Command2 = named(new QPushButton(QStringLiteral("Scadenze per Utenti"), Frame3), "Command2");
    placeTwips(Command2, 360, 2220, 2760, 450);
    Command2->setAutoDefault(false);
}

void frmRegistra::createDiaryMenuPanel()
{
    Frame1 = makeFrame(this, "Frame1", QStringLiteral("Tavelo Lumbretto"), 480, 960, 6615, 2895);
    Check1 = named(new ToggleButton(QStringLiteral("Gestione"), Frame1), "Check1");
    placeTwips(Check1, 480, 600, 1815, 450);
    Image4 = named(new PictureButton(QStringLiteral(":/pictures/indietro.svg"), Frame1), "Image4");
    placeTwips(Image4, 5400, 1800, 720, 720);
    Image4->setAccessibleName(QStringLiteral("Indietro"));
    Image4->setToolTip(QStringLiteral("Indietro"));
}

// The overview lies over everything, then the entry panel, the user choice and the
// diary menu.
void frmRegistra::stackPanels()
{
    for (QWidget *panel : {static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame3),
                           static_cast<QWidget *>(Frame2), static_cast<QWidget *>(Frame4)})
        panel->raise();
}

// Tab follows the reading order of each panel, then the web link.
void frmRegistra::setKeyboardOrder()
{
    const QList<QWidget *> order = {Cbo1,     Image2, Command2, Check1, Image4, DataBox1,  Check2,
                                    DataBox2, Text1,  Text3,    Text2,  Cmd1,   DataGrid3, Check3,
                                    Check4,   Check5, Image3,   Check7, Check6, ListView1, Image5};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void frmRegistra::connectHandlers()
{
    connect(Image2, &PictureButton::clicked, this, &frmRegistra::EnterDiaryPanel);
    connect(Image3, &PictureButton::clicked, this, &frmRegistra::LeaveEntryPanel);
    connect(Image4, &PictureButton::clicked, this, &frmRegistra::BackToUserChoice);
    // The web link acts as soon as the button goes down, not on release.
    connect(Image5, &PictureButton::pressed, this, &frmRegistra::OpenAuthorPage);
    connect(Command2, &QPushButton::clicked, this, &frmRegistra::ShowOverviewPanel);
    connect(Cbo1, &QComboBox::activated, this, &frmRegistra::SelectUser);
    connect(DataGrid3, &DataGrid::rowPicked, this, &frmRegistra::FillEntryFromGridRow);
    connect(Check1, &ToggleButton::toggled, this, &frmRegistra::OpenEntryPanel);
    connectEntryPanel();
    connectOverviewPanel();
}

QString frmRegistra::SelectedUserId() const
{
    return Label8->text();
}

QString frmRegistra::SelectedUserName() const
{
    return Label1->text();
}
