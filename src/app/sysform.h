#pragma once
// The system control dialog: which controllers act as the synthesizer's two
// system control sources. They live in its system common block, not in the
// patch, so the dialog asks the synthesizer for them when it is made. "Ok"
// ends its life (the next use makes and asks anew); the close button only
// hides it.

#include <QDialog>
#include <QStringList>

class EditState;
class SysexProtocol;
class QComboBox;
class QPushButton;

class TSysForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int SourceCount = 98; // controllers 0..95, bender, aftertouch
    static constexpr int VisibleRows = 15;
    static constexpr int AnswerWaitMs = 20;

    TSysForm(EditState &state, SysexProtocol &protocol, QWidget *parent = nullptr);

    // Asks for the two stored sources, waits briefly for the answer, and
    // shows what SystemCommon holds then.
    void FormCreate();

    // The list rows; the row index is the stored value.
    static QStringList controlSourceNames();

private:
    void CbSC1Change(QComboBox *box, int row);
    void BOKClick();

    EditState &state_;
    SysexProtocol &protocol_;
    QComboBox *CbSC1;
    QComboBox *CbSC2;
    QPushButton *BOK;
};
