#pragma once
// The splash window: the program picture, name and version while the
// windows behind it settle. It stays up for a fixed time and cannot be
// closed before; when it goes the main window appears.

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

class TEntryForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ShowTime = 1250; // ms
    static constexpr char ProductText[] = "JV-XP Tessiva";
    static constexpr char WaitText[] = " Please wait ... ";
    static constexpr int PictureSize = 96;

    // mainWindow is hidden while the splash is up and shown when it goes.
    explicit TEntryForm(QWidget *mainWindow, QWidget *parent = nullptr);

    static QString versionText();

    // Escape and the window manager's close are refused until the time is
    // up.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Timer1Timer();

    QWidget *mainWindow_;
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QLabel *StaticText1 = nullptr;
    QPushButton *OKButton = nullptr;
    QTimer *Timer1 = nullptr;
    bool done_ = false;
};
