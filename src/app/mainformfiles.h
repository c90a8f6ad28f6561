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

    MainFormFiles(TMidiMainForm &form, EditState &state, InfoSink &info,
                  MainFormTransfer &transfer);

    // Tests choose without a dialog; the default shows the system's one.
    void setFileChooser(FileChooser chooser) { choose_ = std::move(chooser); }

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
    static QString showDialog(QWidget *parent, const FileDialogRequest &request);

    TMidiMainForm &form_;
    EditState &state_;
    InfoSink &info_;
    MainFormTransfer &transfer_;
    FileChooser choose_;
};
