#pragma once
// The copy-tone dialog: one tone's whole block over any of the others. The
// program's one instance is made by MainFormTransfer (mainformtransfer.h)
// when the start-up creates that beside the main window, so the source and
// the destinations chosen stay between uses.
// The copy happens in the patch image; toneCopied then asks the main window
// to reload its controls and send the whole patch.

#include <QDialog>
#include <array>

class EditState;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TCopytoneform : public QDialog
{
    Q_OBJECT
public:
    explicit TCopytoneform(EditState &state, QWidget *parent = nullptr);

    // 1..4.
    int sourceTone() const;
    bool destinationChecked(int tone) const;

Q_SIGNALS:
    // OK was pressed and the image holds the copies (none when no
    // destination was checked).
    void toneCopied();

private:
    void RBFrom1Click(int tone);
    void BAllClick();
    void OKBtnClick();

    EditState &state_;
    std::array<QRadioButton *, 4> RBFrom{};
    std::array<QCheckBox *, 4> CBTo{};
    QLabel *Lfrom;
    QPushButton *BAll;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
};
