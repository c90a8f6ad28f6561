#pragma once
// The Save Sysex choice: the current patch as a dump for the temporary
// patch, or addressed to a USER place. Made by MainFormSysex and kept, so
// the place chosen last is offered again.

#include <QDialog>

class QPushButton;
class QRadioButton;
class QSpinBox;

class TSaveSysexForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSaveSysexForm(QWidget *parent = nullptr);

    // The choices once OK was pressed.
    bool toUserPlace() const;
    int userPlace() const;

private:
    void RBUserPlaceToggle(bool checked);

    QRadioButton *RBTemporary;
    QRadioButton *RBUserPlace;
    QSpinBox *SpPlace;
    QPushButton *BOK;
    QPushButton *BCancel;
};
