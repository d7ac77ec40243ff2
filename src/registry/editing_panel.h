// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/statements.h"

#include <QGroupBox>

#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class NumericKeys;
class ToggleButton;

// The editing panel: the subject's fields, the user flag, the modes
// ("Inserisci", "Modifica", "Elimina"), its "Esci", and the action button that
// writes the subject as its caption says. A cover lies over the fields until a
// mode is chosen.
class EditingPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit EditingPanel(QWidget *window);

    // Empties every box and releases the user flag and the pick modes.
    void clearFields();
    void setFieldsCovered(bool covered);
    // The action button's caption: "Inserisci", "Modifica", "Elimina" or none.
    QString mode() const;
    void setMode(const QString &mode);
    void lockPassword();
    void releaseLeave();
    void releaseInsert();
    void releasePickModes();
    void focusInsert();
    void focusName();
    // The subject of a picked grid row: its columns in the table's order, or
    // none.
    void showSubject(const QStringList &cells);
    // The picked row as it was read: a modify or delete writes only while the stored
    // subject still holds it.
    void keepPickedSubject(const std::optional<Subject> &picked);
    // The code that passed the check becomes the new subject's.
    void takeCheckedCode(const QString &code);

    // The operator presses the action button.
    void RunSubjectAction();
    // False when another desk changed the subject meanwhile and the panel stays as it is.
    bool DeleteSubject();
    void ToggleUserFlag();

signals:
    // The operator switches "Esci" on.
    void leaveChosen();
    void modifyChosen();
    void deleteChosen();
    // The operator switches "Inserisci" on or off.
    void insertToggled(bool on);
    // A write ended, or was given up, and the window goes back to its start
    // panel; after an insert "Gestione" is released too.
    void subjectDone(bool releaseManage);

private:
    void createFields();
    void createButtons();
    void coverFields();
    void connectHandlers();

    [[nodiscard]] bool checkSubjectFields();
    Subject subjectFromFields() const;
    void insertSubjectFromFields();
    void modifySubjectFromFields();
    void refuseDuplicateCode();
    [[nodiscard]] bool subjectWritten(const SubjectWriteResult &written);
    void tellWrittenElsewhere(RowConflict conflict, bool deleting);
    void createCodeHints();

    QGroupBox *Frame6 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLineEdit *Text8 = nullptr;
    QLineEdit *Text9 = nullptr;
    QLineEdit *Text10 = nullptr;
    QLineEdit *Text11 = nullptr;
    QLineEdit *Text12 = nullptr;
    QLineEdit *Text13 = nullptr;
    QLineEdit *Text14 = nullptr;
    ToggleButton *Check1 = nullptr;
    ToggleButton *Check2 = nullptr;
    ToggleButton *Check3 = nullptr;
    ToggleButton *Check6 = nullptr;
    ToggleButton *Check8 = nullptr;
    QPushButton *Cmd2 = nullptr;
    QLabel *Label50 = nullptr;
    QLabel *Label40 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label100 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label21 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
    QFrame *Line3 = nullptr;
    QFrame *Line4 = nullptr;
    NumericKeys *m_numericKeys = nullptr;
    QLabel *m_codeHint = nullptr;
    QLabel *m_vatHint = nullptr;
    std::optional<Subject> m_picked;
};
