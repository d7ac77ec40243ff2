// SPDX-License-Identifier: GPL-3.0-or-later
// The editing panel's controls, where they lie, and how the panel is shown and
// filled.
#include "registry/editing_panel.h"

#include "registry/code_hint.h"
#include "registry/input_rules.h"
#include "registry/registry_controls.h"
#include "widgets/toggle_button.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

EditingPanel::EditingPanel(QWidget *window) : QGroupBox(window)
{
    setUpPanel(this, "Frame1", QStringLiteral("Inserimento "), windowFont(9, true), 960, 1080, 9975,
               4935);
    createFields();
    createCodeHints();
    createButtons();
    coverFields();
    connectHandlers();
}

void EditingPanel::createFields()
{
    QWidget *p = this;
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

// A code's hint lies under its box, in the gap above the line that closes the row.
void EditingPanel::createCodeHints()
{
    m_codeHint = fieldLabel(this, "CodeHint", QString(), 600, 2415, 2415, 210);
    m_vatHint = fieldLabel(this, "VatHint", QString(), 3120, 2415, 2415, 210);
    const std::pair<QLabel *, QLineEdit *> hints[] = {{m_codeHint, Text7}, {m_vatHint, Text8}};
    for (const auto &[hint, box] : hints) {
        hint->setFont(windowFont(7));
        QPalette colours = hint->palette();
        colours.setColor(QPalette::WindowText, QColor(160, 0, 0));
        hint->setPalette(colours);
        hint->setAccessibleName(QStringLiteral("Avviso ") + box->accessibleName());
        showCodeHints(box, hint);
    }
}

void EditingPanel::createButtons()
{
    QWidget *p = this;
    Check2 = makeToggle(p, "Check2", QStringLiteral("Modifica"), 6000, 4560, 1095, 255);
    Cmd2 = placed(new QPushButton(QStringLiteral("Inserisci"), p), "Cmd2", 2640, 4440, 1695, 375);
    Cmd2->setAutoDefault(false);
    Check3 = makeToggle(p, "Check3", QStringLiteral("Elimina"), 7200, 4560, 855, 255);
    Check6 = makeToggle(p, "Check6", QStringLiteral("Inserisci"), 4680, 4560, 1215, 255);
    Check8 = makeToggle(p, "Check8", QStringLiteral("Esci"), 600, 4440, 615, 255);
}

void EditingPanel::coverFields()
{
    Frame6 = new QGroupBox(this);
    setUpPanel(Frame6, "Frame6", QString(), windowFont(), 240, 120, 9615, 4215);
    Frame6->raise();
    // The cover starts inside the caption of the editing panel; it leaves the
    // caption readable.
    const int captionLeft = fontMetrics().height() - Frame6->y() + 1;
    if (captionLeft > 0)
        Frame6->setMask(QRegion(0, captionLeft, Frame6->width(), Frame6->height() - captionLeft));
}

void EditingPanel::connectHandlers()
{
    auto whenOn = [this](ToggleButton *toggle, void (EditingPanel::*chosen)()) {
        connect(toggle, &ToggleButton::toggled, this, [this, chosen](bool on) {
            if (on)
                emit(this->*chosen)();
        });
    };
    whenOn(Check8, &EditingPanel::leaveChosen);
    whenOn(Check2, &EditingPanel::modifyChosen);
    whenOn(Check3, &EditingPanel::deleteChosen);
    connect(Check1, &ToggleButton::toggled, this, &EditingPanel::ToggleUserFlag);
    connect(Check6, &ToggleButton::toggled, this, &EditingPanel::insertToggled);
    connect(Cmd2, &QPushButton::clicked, this, &EditingPanel::RunSubjectAction);
    for (QLineEdit *box : {Text2, Text3, Text4, Text5, Text7, Text9, Text14})
        keepInCapitals(box);
    m_numericKeys = new NumericKeys(this);
    for (QLineEdit *box : {Text6, Text8, Text10, Text11, Text12})
        m_numericKeys->watch(box);
}

void EditingPanel::clearFields()
{
    m_picked.reset();
    for (QLineEdit *box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
                           Text11, Text12, Text13, Text14})
        setStoredText(box, QString());
    Check1->setValue(0);
    Check2->setValue(0);
    Check3->setValue(0);
}

void EditingPanel::setFieldsCovered(bool covered)
{
    Frame6->setVisible(covered);
}

QString EditingPanel::mode() const
{
    return Cmd2->text();
}

void EditingPanel::setMode(const QString &mode)
{
    Cmd2->setText(mode);
}

void EditingPanel::lockPassword()
{
    Text13->setEnabled(false);
}

void EditingPanel::releaseLeave()
{
    Check8->setValue(0);
}

void EditingPanel::releaseInsert()
{
    Check6->setValue(0);
}

void EditingPanel::releasePickModes()
{
    Check2->setValue(0);
    Check3->setValue(0);
}

void EditingPanel::focusInsert()
{
    Check6->setFocus();
}

void EditingPanel::focusName()
{
    Text2->setFocus();
}

void EditingPanel::showSubject(const QStringList &cells)
{
    const bool readable = !cells.isEmpty();
    QLineEdit *const firstBoxes[] = {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8};
    QLineEdit *const lastBoxes[] = {Text9, Text10, Text11, Text12, Text13, Text14};
    if (readable)
        for (int position = 0; position < 8; ++position)
            setStoredText(firstBoxes[position], cells.at(position));
    // A user flag stored in small letters still marks a user, as in the user
    // list: reading it as "not a user" would write "N" back at the next modify.
    const bool user =
        readable && cells.at(8).trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    // Before the password comes in: unmarking a user empties the password box.
    Check1->setValue(user ? 1 : 0);
    if (readable)
        for (int position = 9; position < 15; ++position)
            setStoredText(lastBoxes[position - 9], cells.at(position));
}

void EditingPanel::keepPickedSubject(const std::optional<Subject> &picked)
{
    m_picked = picked;
}

void EditingPanel::takeCheckedCode(const QString &code)
{
    setStoredText(Text7, code);
}

// A password belongs to users only: unmarking the subject drops the one typed
// so far.
void EditingPanel::ToggleUserFlag()
{
    if (Check1->value() == 1) {
        Text13->setEnabled(true);
    } else {
        Text13->clear();
        Text13->setEnabled(false);
    }
}
