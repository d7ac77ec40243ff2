// SPDX-License-Identifier: GPL-3.0-or-later
// The registry window's controls, where they lie, the keyboard order and the wiring of
// its handlers.
#include "registry/frm_anagrafe.h"

#include "core/twips.h"
#include "registry/subject_grid_model.h"
#include "widgets/data_grid.h"
#include "widgets/labels.h"
#include "widgets/status_panels.h"
#include "widgets/toggle_button.h"
#include "widgets/value_label.h"
#include "widgets/window_toolbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

namespace {

// The window's face; every control not given another keeps it, including the controls
// of the panels, whose own font is only for their caption.
QFont windowFont(qreal points = 9.75, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

template <typename Control>
Control *placed(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setFont(windowFont());
    placeTwips(control, left, top, width, height);
    return control;
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption,
                     const QFont &captionFont, int left, int top, int width, int height)
{
    auto *frame = placed(new QGroupBox(caption, parent), name, left, top, width, height);
    frame->setFont(captionFont);
    // A panel covers whatever lies beneath it.
    frame->setAutoFillBackground(true);
    return frame;
}

// A label in the window's face, not in the bold caption face of the panel it lies on.
QLabel *fieldLabel(QWidget *parent, const char *name, const QString &caption, int left, int top,
                   int width, int height)
{
    QLabel *label = makeLabel(parent, name, caption, left, top, width, height);
    label->setFont(windowFont());
    return label;
}

ToggleButton *makeToggle(QWidget *parent, const char *name, const QString &caption, int left,
                         int top, int width, int height)
{
    return placed(new ToggleButton(caption, parent), name, left, top, width, height);
}

// A text box named for the screen reader by its caption label.
QLineEdit *makeBox(QWidget *parent, const char *name, QLabel *caption, int maxLength, int left,
                   int top, int width, int height)
{
    auto *box = placed(new QLineEdit(parent), name, left, top, width, height);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    // The limit as the window was drawn, so that a longer stored value can be shown
    // whole and the limit comes back at the next reset.
    box->setProperty("typedLimit", box->maxLength());
    if (caption) {
        caption->setBuddy(box);
        box->setAccessibleName(caption->text());
    }
    return box;
}

QFrame *makeLine(QWidget *parent, const char *name, int left, int top, int right)
{
    auto *line = placed(new QFrame(parent), name, left, top - 15, right - left, 30);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void paintWhite(QWidget *widget)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, Qt::white);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

} // namespace

frmAnagrafe::frmAnagrafe(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmAnagrafe"));
    setWindowTitle(QStringLiteral("Registrazione"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/anagrafica.svg")));
    setUpProgramWindow(this, 12120, 7050);
    setFont(windowFont());
    createToolbar();
    createHeader();
    createStartPanel();
    createCodeCheckPanel();
    createGridPanel();
    createEditingPanel();
    StatusBar1 = new StatusPanels(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    placeTwips(StatusBar1, 0, 6675, 12120, 375);
    stackPanels();
    setKeyboardOrder();
    connectHandlers();
    m_gridModel = new SubjectGridModel(this);
}

frmAnagrafe::~frmAnagrafe() = default;

void frmAnagrafe::createToolbar()
{
    tbTop = createWindowToolbar(
        this,
        {{"Chiudi", ":/pictures/chiudi.svg", QKeySequence(Qt::CTRL | Qt::Key_Q)},
         {"Riduci", ":/pictures/riduci.svg", QKeySequence(Qt::CTRL | Qt::Key_M)}},
        [this](QAction *button) { RegistryToolbarClick(button); });
    placeTwips(tbTop, 0, 120, 12105, 330);
}

void frmAnagrafe::createHeader()
{
    const QFont header = windowFont(9);
    Label5 = fieldLabel(this, "Label5", QStringLiteral("ID"), 10320, 480, 855, 375);
    Label4 = fieldLabel(this, "Label4", QString(), 9360, 480, 855, 300);
    Label19 = fieldLabel(this, "Label19", QStringLiteral("Anno"), 8400, 480, 855, 300);
    Label1 = fieldLabel(this, "Label1", QStringLiteral("Utente"), 4080, 480, 4215, 300);
    for (QLabel *label : {Label5, Label4, Label19, Label1}) {
        label->setFont(header);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    Label19->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont bold = header;
    bold.setBold(true);
    Label1->setFont(bold);
    readAsValue(Label1, QStringLiteral("Utente scelto"));
}

void frmAnagrafe::createStartPanel()
{
    Frame3 = makeFrame(this, "Frame3", QStringLiteral("Seleziona"), windowFont(8.25, true), 120,
                       840, 11895, 5775);
    Check7 = makeToggle(Frame3, "Check7", QStringLiteral("Gestione"), 840, 840, 1215, 255);
    Check4 = makeToggle(Frame3, "Check4", QStringLiteral("Stampa"), 840, 1320, 1215, 255);
}

void frmAnagrafe::createCodeCheckPanel()
{
    const QString caption = QStringLiteral("Controllo Codice Fiscale");
    Frame4 = makeFrame(this, "Frame4", caption, windowFont(), 4440, 2640, 3135, 1695);
    paintWhite(Frame4);
    Text55 = makeBox(Frame4, "Text55", nullptr, 16, 360, 480, 2295, 330);
    Text55->setAlignment(Qt::AlignCenter);
    Text55->setAccessibleName(caption);
    Cmd3 =
        placed(new QPushButton(QStringLiteral("Controlla"), Frame4), "Cmd3", 720, 960, 1695, 255);
    Cmd3->setAutoDefault(false);
    // The panel's "X": a click or Alt+X closes it; it is not a stop of the Tab key.
    Label67 = placed(new QPushButton(QStringLiteral("&X"), Frame4), "Label67", 2880, 120, 135, 240);
    Label67->setFont(windowFont(9.75, true));
    Label67->setFlat(true);
    Label67->setFocusPolicy(Qt::NoFocus);
    Label67->setAutoDefault(false);
    Label67->setAccessibleDescription(QStringLiteral("Chiude il controllo del Codice Fiscale"));
    Label67->setToolTip(QStringLiteral("Chiudi (Alt+X)"));
    Label67->setStyleSheet(QStringLiteral("QPushButton { background: white; border: none; "
                                          "padding: 0px; }"));
}

void frmAnagrafe::createGridPanel()
{
    Frame2 = makeFrame(this, "Frame2", QStringLiteral("Seleziona"), windowFont(8.25, true), 360,
                       960, 11415, 5535);
    Check5 = makeToggle(Frame2, "Check5", QStringLiteral("Esci"), 10320, 240, 615, 255);
    Datagrid1 = placed(new DataGrid(Frame2), "Datagrid1", 360, 600, 10605, 4635);
    Datagrid1->setAccessibleName(QStringLiteral("Soggetti"));
    // Lies beyond the panel's right edge, out of sight, as the window was drawn.
    Label10 = fieldLabel(Frame2, "Label10", QStringLiteral("X"), 11760, 240, 495, 255);
    Label10->setFont(windowFont(11.25, true));
    Label10->setAlignment(Qt::AlignCenter);
}

void frmAnagrafe::createEditingPanel()
{
    Frame1 = makeFrame(this, "Frame1", QStringLiteral("Inserimento "), windowFont(9, true), 960,
                       1080, 9975, 4935);
    createEditingFields();
    createEditingButtons();
    Frame6 = makeFrame(Frame1, "Frame6", QString(), windowFont(), 240, 120, 9615, 4215);
    Frame6->raise();
    // The cover starts inside the caption of the editing panel; it leaves the caption
    // readable.
    const int captionLeft = Frame1->fontMetrics().height() - Frame6->y() + 1;
    if (captionLeft > 0)
        Frame6->setMask(QRegion(0, captionLeft, Frame6->width(), Frame6->height() - captionLeft));
}

void frmAnagrafe::createEditingFields()
{
    QWidget *p = Frame1;
    Label7 =
        fieldLabel(p, "Label7", QStringLiteral("Denominazione\\Cognome Nome"), 600, 480, 3735, 255);
    Label9 = fieldLabel(p, "Label9", QStringLiteral("Indirizzo"), 600, 960, 3735, 255);
    Label13 = fieldLabel(p, "Label13", QStringLiteral("Città"), 600, 1440, 1455, 255);
    Label14 = fieldLabel(p, "Label14", QStringLiteral("PR"), 7920, 1440, 375, 255);
    Label12 = fieldLabel(p, "Label12", QStringLiteral("CAP"), 8400, 1440, 615, 255);
    Label15 = fieldLabel(p, "Label15", QStringLiteral("Codice Fiscale"), 600, 1920, 1455, 255);
    Label16 = fieldLabel(p, "Label16", QStringLiteral("Partita IVA"), 3120, 1920, 1455, 255);
    Label8 = fieldLabel(p, "Label8", QStringLiteral("ID"), 8160, 2160, 255, 255);
    Label100 = fieldLabel(p, "Label100", QStringLiteral("E mail"), 600, 2760, 1455, 255);
    Label2 = fieldLabel(p, "Label2", QStringLiteral("Telefono"), 4200, 2760, 1455, 255);
    Label3 = fieldLabel(p, "Label3", QStringLiteral("Cellulare"), 6000, 2760, 1455, 255);
    Label40 = fieldLabel(p, "Label40", QStringLiteral("Fax"), 7680, 2760, 1455, 255);
    Label50 = fieldLabel(p, "Label50", QStringLiteral("Password"), 600, 3480, 1455, 255);
    Label21 = fieldLabel(p, "Label21", QStringLiteral("Annotazione"), 2640, 3480, 1455, 255);

    Text6 = makeBox(p, "Text6", Label12, 5, 8400, 1680, 975, 255);
    Check1 = makeToggle(p, "Check1", QStringLiteral("Utente"), 5760, 2160, 1695, 255);
    Text13 = makeBox(p, "Text13", Label50, 0, 600, 3720, 1695, 255);
    Text12 = makeBox(p, "Text12", Label40, 0, 7680, 3000, 1695, 255);
    Text11 = makeBox(p, "Text11", Label3, 0, 6000, 3000, 1575, 255);
    Text10 = makeBox(p, "Text10", Label2, 0, 4200, 3000, 1695, 255);
    Text9 = makeBox(p, "Text9", Label100, 0, 600, 3000, 3495, 255);
    Text1 = makeBox(p, "Text1", Label8, 0, 8400, 2160, 975, 255);
    Text1->setAlignment(Qt::AlignCenter);
    Text1->setReadOnly(true);
    Text1->setFont(windowFont(6.75));
    Text2 = makeBox(p, "Text2", Label7, 0, 600, 720, 8775, 255);
    Text3 = makeBox(p, "Text3", Label9, 0, 600, 1200, 8775, 255);
    Text4 = makeBox(p, "Text4", Label13, 0, 600, 1680, 7215, 255);
    Text5 = makeBox(p, "Text5", Label14, 2, 7920, 1680, 375, 255);
    Text7 = makeBox(p, "Text7", Label15, 16, 600, 2160, 2415, 255);
    Text8 = makeBox(p, "Text8", Label16, 11, 3120, 2160, 2415, 255);
    Text14 = makeBox(p, "Text14", Label21, 0, 2640, 3720, 6855, 360);

    Line1 = makeLine(p, "Line1", 600, 2640, 9360);
    Line2 = makeLine(p, "Line2", 600, 3360, 9360);
    Line3 = makeLine(p, "Line3", 600, 360, 9360);
    Line4 = makeLine(p, "Line4", 600, 4200, 9480);

    // The text boxes of the editing panel are white whatever the theme.
    for (QLineEdit *box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
                           Text11, Text12, Text13, Text14}) {
        QPalette colours = box->palette();
        colours.setColor(QPalette::Base, Qt::white);
        box->setPalette(colours);
    }
}

void frmAnagrafe::createEditingButtons()
{
    QWidget *p = Frame1;
    Check2 = makeToggle(p, "Check2", QStringLiteral("Modifica"), 6000, 4560, 1095, 255);
    Cmd2 = placed(new QPushButton(QStringLiteral("Inserisci"), p), "Cmd2", 2640, 4440, 1695, 375);
    Cmd2->setAutoDefault(false);
    Check3 = makeToggle(p, "Check3", QStringLiteral("Elimina"), 7200, 4560, 855, 255);
    Check6 = makeToggle(p, "Check6", QStringLiteral("Inserisci"), 4680, 4560, 1215, 255);
    Check8 = makeToggle(p, "Check8", QStringLiteral("Esci"), 600, 4440, 615, 255);
}

// The start panel lies over the code check, the grid and the editing panel, in this
// order.
void frmAnagrafe::stackPanels()
{
    for (QWidget *panel : {static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame2),
                           static_cast<QWidget *>(Frame4), static_cast<QWidget *>(Frame3)})
        panel->raise();
}

// The postal code comes late, after the code check, as the window has always had it.
void frmAnagrafe::setKeyboardOrder()
{
    const QList<QWidget *> order = {Text2, Text3,     Text4,  Text5,  Text7,  Text8,  Check1,
                                    Text9, Text10,    Text11, Text12, Text13, Text14, Cmd2,
                                    Text1, Datagrid1, Check2, Check3, Check5, Check6, Text55,
                                    Cmd3,  Text6,     Check7, Check8, Check4};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void frmAnagrafe::connectHandlers()
{
    connect(Check7, &ToggleButton::toggled, this, &frmAnagrafe::EnterManagePanel);
    connect(Check4, &ToggleButton::toggled, this, &frmAnagrafe::StartRegistryPrint);
    connect(Check8, &ToggleButton::toggled, this, &frmAnagrafe::LeaveManagePanel);
    connect(Check2, &ToggleButton::toggled, this, &frmAnagrafe::EnterModifyMode);
    connect(Check3, &ToggleButton::toggled, this, &frmAnagrafe::EnterDeleteMode);
    connect(Check5, &ToggleButton::toggled, this, &frmAnagrafe::LeaveGridPanel);
    connect(Check1, &ToggleButton::toggled, this, &frmAnagrafe::ToggleUserFlag);
    connect(Check6, &ToggleButton::toggled, this, &frmAnagrafe::EnterInsertMode);
    connect(Datagrid1, &DataGrid::rowPicked, this, &frmAnagrafe::FillSubjectFromGridRow);
    connect(Cmd2, &QPushButton::clicked, this, &frmAnagrafe::RunSubjectAction);
    connect(Cmd3, &QPushButton::clicked, this, &frmAnagrafe::RunCodeCheck);
    // Enter in the code box checks it, as a click on "Controlla" does.
    connect(Text55, &QLineEdit::returnPressed, this, &frmAnagrafe::RunCodeCheck);
    connect(Label67, &QPushButton::clicked, this, &frmAnagrafe::CloseCodeCheckPanel);
    for (QLineEdit *box : {Text2, Text3, Text4, Text5, Text7, Text9, Text14, Text55})
        connect(box, &QLineEdit::textChanged, this, [this, box] { UpperCaseField(box); });
    for (QLineEdit *box : {Text6, Text8, Text10, Text11, Text12})
        box->installEventFilter(this);
}

// Closing the registry window from its title bar does what "Chiudi" does: hiding it
// alone would leave the program running with no window at all.
void frmAnagrafe::closeEvent(QCloseEvent *event)
{
    event->ignore();
    RegistryToolbarClick(toolbarButton(tbTop, QStringLiteral("Chiudi")));
}
