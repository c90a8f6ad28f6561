#pragma once
// The editor inside a New Session Manager session. The manager names a
// folder; the settings, the edited patch and the open windows (with the
// editing screens and the tone they edit) live there
// instead of the user's own store, are written when the manager saves and
// read back when it opens the session again, all without a dialog. The
// manager ends its clients with SIGTERM: the program then leaves at once,
// saving nothing it was not asked to.
//
// main() joins before the windows exist (the settings file must be known
// first) and attaches the started application afterwards:
//     NsmSession session(client);
//     if (session.join(executable)) settings from session.settingsFile()
//     ... app.start(); session.attach(app, settings);

#include <QObject>
#include <QString>

class AppSettings;
class Application;
class NsmClient;

class NsmSession : public QObject
{
    Q_OBJECT
public:
    static constexpr char ClientName[] = "Tessiva";
    // File names inside the session folder.
    static constexpr char SettingsFileName[] = "settings.ini";
    static constexpr char PatchFileName[] = "patch.pat";
    static constexpr char StateFileName[] = "session.ini";
    // A manager answers at once; this only guards against a dead address.
    static constexpr int OpenTimeoutMs = 10000;

    explicit NsmSession(NsmClient &client, QObject *parent = nullptr);
    ~NsmSession() override;

    // Announces the program and waits for the manager to open a session;
    // creates its folder and a settings file there, first filled from the
    // user's store. False when there is no session to be in.
    bool join(const QString &executable, int timeoutMs = OpenTimeoutMs);
    QString folder() const { return folder_; }
    QString settingsFile() const;

    // Restores the patch and the windows of the session into the started
    // application and answers the manager's open; answers its saves from now
    // on. Both objects must outlive this one.
    void attach(Application &app, AppSettings &settings);
    // Writes the settings, the patch and the window list; the reason when
    // something could not be written, else empty.
    QString save();

    // Makes SIGTERM end the event loop instead of the process, so the
    // windows and MIDI ports close as after the exit command.
    static void quitOnTerminate();

private:
    QString restore();
    QString restorePatch();
    void restoreWindows();
    void saveRequested();

    NsmClient &client_;
    Application *app_ = nullptr;
    AppSettings *settings_ = nullptr;
    QString folder_;
};
