#pragma once
// Patch files in the main window: Open, Save and a file dropped on the
// window. Made by the start-up as a child of the main window, after its
// MainFormTransfer; answers the window's commandRequested and fileDropped
// signals. Opening loads the image, reloads the controls and
// sends the patch; a file that is not a patch changes nothing.

#include <QObject>
#include <QString>
#include <functional>

class EditState;
class InfoSink;
class PatchImage;
class MainFormTransfer;
class TMidiMainForm;

// What a file dialog is asked for.
struct FileDialogRequest
{
    bool save = false;
    QString title;
    QString proposed; // file name or path shown first
    QString filter;
    QString defaultSuffix;
};

class MainFormFiles : public QObject
{
    Q_OBJECT
public:
    // Returns the chosen file, or an empty string when the user cancelled.
    using FileChooser = std::function<QString(const FileDialogRequest &)>;

    static const QString OpenTitle;
    static const QString SaveTitle;
    static const QString Filter;
    static const QString DropRefusal;
    static const QString DropRefusalWithSyx;

    MainFormFiles(TMidiMainForm &form, EditState &state, InfoSink &info,
                  MainFormTransfer &transfer);

    // Tests choose without a dialog; the default shows the system's one.
    void setFileChooser(FileChooser chooser) { choose_ = std::move(chooser); }
    // Every file dialog of the main window and its librarian asks here.
    QString chooseFile(const FileDialogRequest &request) { return choose_(request); }
    // Who opens a dropped .syx file; without one such a drop is refused.
    void setSyxOpener(std::function<void(const QString &)> opener) { openSyx_ = std::move(opener); }

    // Makes image the edited patch as opening a patch file does: controls
    // and open screens reloaded, the patch sent. It belongs to no patch
    // file any more.
    void loadImage(const PatchImage &image);
    // Tells in the window how many bytes a save wrote.
    void reportWritten(qint64 bytes);

    // Reads the file named by PatchFileName; false (and nothing changed but
    // the message) when it is not a patch file or cannot be read.
    bool ReadPatchFile();
    // Asks where, writes the image; false when cancelled or failed.
    bool WritePatchFile();

    void MOpenClick();
    void MSaveClick();
    void OpenDroppedFile(const QString &path);

private:
    bool loadFile(const QString &path);
    void showLoaded();
    static QString showDialog(QWidget *parent, const FileDialogRequest &request);

    TMidiMainForm &form_;
    EditState &state_;
    InfoSink &info_;
    MainFormTransfer &transfer_;
    FileChooser choose_;
    std::function<void(const QString &)> openSyx_;
};
