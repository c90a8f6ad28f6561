#pragma once
// The Save-to-synth dialog: which USER or CARD place the patch goes to.
// The program's one instance is made by MainFormTransfer (mainformtransfer.h)
// when the start-up creates that beside the main window, and is shown again
// on every use, so the number typed last stays in the spin box even after a
// Cancel.

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TSaveUser : public QDialog
{
    Q_OBJECT
public:
    static constexpr int FirstPatch = 1;
    static constexpr int LastPatch = 128;
    static constexpr int NumberDigits = 3;

    explicit TSaveUser(QWidget *parent = nullptr);

    // The choices, kept between uses; SavePatchNumber 0 after a Cancel.
    bool SaveToCard = false;
    int SavePatchNumber = 0;

    QSpinBox *spinBox() const { return sp; }

private:
    void RB_USERClick();
    void spChange(int value);
    void B_OKClick();
    void B_CANCELClick();

    QLabel *Label2;
    QLabel *Label1;
    QSpinBox *sp;
    QRadioButton *RB_USER;
    QRadioButton *RB_CARD;
    QLabel *Ltype;
    QPushButton *B_OK;
    QPushButton *B_CANCEL;
};
