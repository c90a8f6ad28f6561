#include "app/nsmsession.h"

#include "app/application.h"
#include "app/editorscreens.h"
#include "app/mainform.h"
#include "app/mainformtransfer.h"
#include "app/noteoutform.h"
#include "app/nsmclient.h"
#include "core/addressmap.h"
#include "core/appsettings.h"
#include "core/editstate.h"
#include "core/patchfile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSocketNotifier>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The announcement asks for nothing optional: no switching of sessions,
// no hidden main window.
constexpr char Capabilities[] = "";
constexpr char OpenWindowsKey[] = "Windows/Open";
constexpr char GeometryKey[] = "Windows/%1/Geometry";
constexpr char ToneScreensKey[] = "Screens/Tone";
constexpr char CommonScreensKey[] = "Screens/Common";
constexpr char CurrentToneKey[] = "Screens/CurrentTone";
constexpr char PatchFileKey[] = "Patch/File";
constexpr char PatchModifiedKey[] = "Patch/Modified";
constexpr char Saved[] = "Saved.";
constexpr char Opened[] = "Opened.";

// Windows that are made when first opened; the others are found by name.
constexpr char MainWindowName[] = "MidiMainForm";
constexpr char HubName[] = "NoteOutForm";
constexpr char LogName[] = "OutputForm";

int terminatePipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    // Nothing can be done about a full pipe: one byte is already waiting.
    [[maybe_unused]] const auto written = ::write(terminatePipe[1], &byte, 1);
}

using ToneScreen = TMidiMainForm::ToneScreen;
using CommonScreen = TMidiMainForm::CommonScreen;
constexpr int ToneScreenCount = int(ToneScreen::Lfo) + 1;
constexpr int CommonScreenCount = int(CommonScreen::Mixer) + 1;

QWidget *topLevelWindow(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

// Windows worth reopening: shown, named, and not a dialog waiting for an
// answer.
QStringList openWindows()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->isModal() && !w->objectName().isEmpty() &&
            (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog) &&
            !w->windowFlags().testFlag(Qt::FramelessWindowHint))
            names << w->objectName();
    return names;
}

// The editing screens on view, by their number in the main window's lists.
template <typename Screen, typename Find> QStringList openScreens(int count, Find find)
{
    QStringList open;
    for (int s = 0; s < count; ++s)
        if (const QWidget *w = find(Screen(s)); w && w->isVisible())
            open << QString::number(s);
    return open;
}

// Numbers from the state file; anything outside the lists is damage.
QList<int> screenNumbers(const QSettings &saved, const char *key, int count)
{
    QList<int> numbers;
    for (const QString &item : saved.value(QLatin1String(key)).toStringList()) {
        bool ok = false;
        const int s = item.toInt(&ok);
        if (ok && s >= 0 && s < count)
            numbers << s;
    }
    return numbers;
}
} // namespace

NsmSession::NsmSession(NsmClient &client, QObject *parent) : QObject(parent), client_(client) {}

NsmSession::~NsmSession() = default;

bool NsmSession::join(const QString &executable, int timeoutMs)
{
    client_.announce(QLatin1String(ClientName), QLatin1String(Capabilities), executable);
    if (!client_.waitForOpen(timeoutMs))
        return false;
    const QString folder = client_.path();
    if (!QDir().mkpath(folder)) {
        client_.replyOpenError(NsmClient::ErrCreateFailed,
                               QStringLiteral("Cannot create the folder %1.").arg(folder));
        return false;
    }
    folder_ = folder;
    bool empty = false;
    {
        QSettings session(settingsFile(), QSettings::IniFormat);
        empty = session.allKeys().isEmpty();
        if (empty) {
            // A new member of a session starts from the user's devices and
            // options rather than asking for them.
            const QSettings user(QSettings::NativeFormat, QSettings::UserScope,
                                 QLatin1String(AppSettings::Organisation),
                                 QLatin1String(AppSettings::Application));
            for (const QString &key : user.allKeys())
                session.setValue(key, user.value(key));
            empty = session.allKeys().isEmpty();
        }
    }
    if (empty) {
        // Neither has any: the defaults, which take the built-in synthesizer,
        // and no device dialog in the middle of a session.
        AppSettings fresh(settingsFile());
        EditState state;
        fresh.DefaultSettings(state);
        fresh.WriteSettings(state);
    }
    return true;
}

QString NsmSession::settingsFile() const
{
    return QDir(folder_).filePath(QLatin1String(SettingsFileName));
}

void NsmSession::attach(Application &app, AppSettings &settings)
{
    app_ = &app;
    settings_ = &settings;
    connect(&client_, &NsmClient::saveReceived, this, &NsmSession::saveRequested,
            Qt::UniqueConnection);
    const QString problem = restore();
    if (problem.isEmpty())
        client_.replyOpen(QLatin1String(Opened));
    else
        client_.replyOpenError(NsmClient::ErrBadProject, problem);
}

QString NsmSession::restore()
{
    const QString problem = restorePatch();
    restoreWindows();
    return problem;
}

QString NsmSession::restorePatch()
{
    const QDir dir(folder_);
    const QString file = dir.filePath(QLatin1String(PatchFileName));
    if (!QFileInfo::exists(file))
        return {};
    EditState &state = app_->state();
    PatchImage image = state.patchImage;
    const FileResult read = PatchFile::Read(file, image);
    if (!read)
        return read.error;
    state.patchImage = image;

    const QSettings saved(dir.filePath(QLatin1String(StateFileName)), QSettings::IniFormat);
    TMidiMainForm &main = *app_->mainForm();
    main.PatchFileName = saved.value(QLatin1String(PatchFileKey)).toString();
    main.UpdateCaption();
    main.B_UpdateAllClick();
    // The synthesizer is brought to the session's patch; with MIDI closed
    // the patch waits in the editor, without the closed-MIDI message.
    if (!state.MidiClosed)
        app_->transfer()->BSendPatchClick();
    state.PatchModified = saved.value(QLatin1String(PatchModifiedKey)).toBool();
    return {};
}

void NsmSession::restoreWindows()
{
    const QSettings saved(QDir(folder_).filePath(QLatin1String(StateFileName)),
                          QSettings::IniFormat);
    if (!saved.contains(QLatin1String(OpenWindowsKey)))
        return;
    // The editing screens are made on first opening; they come first, so
    // that their windows are there to take their places below.
    EditorScreens &screens = *app_->screens();
    EditState &state = app_->state();
    const int tone =
        std::clamp(saved.value(QLatin1String(CurrentToneKey), 1).toInt(), 1, int(addr::ToneCount));
    for (int s : screenNumbers(saved, ToneScreensKey, ToneScreenCount)) {
        state.CurrentTone = tone;
        screens.openToneScreen(ToneScreen(s), tone);
    }
    for (int s : screenNumbers(saved, CommonScreensKey, CommonScreenCount))
        screens.openCommonScreen(CommonScreen(s));
    state.CurrentTone = tone;

    const QStringList open = saved.value(QLatin1String(OpenWindowsKey)).toStringList();
    for (const QString &name : open) {
        if (name == QLatin1String(HubName))
            app_->hub()->showHub();
        else if (name == QLatin1String(LogName))
            app_->hub()->showMessageLog();
        QWidget *w = topLevelWindow(name);
        if (!w)
            continue;
        w->restoreGeometry(saved.value(QString::fromLatin1(GeometryKey).arg(name)).toByteArray());
        w->show();
    }
    // The main window always stays; the others close unless the session
    // had them open.
    for (const char *name : {HubName, LogName})
        if (!open.contains(QLatin1String(name)))
            if (QWidget *w = topLevelWindow(QLatin1String(name)); w && w->isVisible())
                w->close();
    if (QWidget *main = topLevelWindow(QLatin1String(MainWindowName)))
        main->show();
}

QString NsmSession::save()
{
    if (!app_)
        return QStringLiteral("The editor is not running yet.");
    TMidiMainForm &main = *app_->mainForm();
    EditState &state = app_->state();
    settings_->UpdateFromJv = main.updateFromJv();
    settings_->LastPatchFile = main.LastPatchFile;
    QString problem = settings_->WriteSettings(state);

    const QDir dir(folder_);
    const FileResult written =
        PatchFile::Write(dir.filePath(QLatin1String(PatchFileName)), state.patchImage);
    if (!written && problem.isEmpty())
        problem = written.error;

    QSettings saved(dir.filePath(QLatin1String(StateFileName)), QSettings::IniFormat);
    saved.clear();
    const QStringList open = openWindows();
    saved.setValue(QLatin1String(OpenWindowsKey), open);
    for (const QString &name : open)
        saved.setValue(QString::fromLatin1(GeometryKey).arg(name),
                       topLevelWindow(name)->saveGeometry());
    const EditorScreens &screens = *app_->screens();
    saved.setValue(QLatin1String(ToneScreensKey),
                   openScreens<ToneScreen>(ToneScreenCount, [&screens](ToneScreen s) {
                       return screens.toneScreen(s);
                   }));
    saved.setValue(QLatin1String(CommonScreensKey),
                   openScreens<CommonScreen>(CommonScreenCount, [&screens](CommonScreen s) {
                       return screens.commonScreen(s);
                   }));
    saved.setValue(QLatin1String(CurrentToneKey), state.CurrentTone);
    saved.setValue(QLatin1String(PatchFileKey), main.PatchFileName);
    saved.setValue(QLatin1String(PatchModifiedKey), state.PatchModified);
    saved.sync();
    if (saved.status() != QSettings::NoError && problem.isEmpty())
        problem = QStringLiteral("The session state could not be written to \"%1\".")
                      .arg(saved.fileName());
    return problem;
}

void NsmSession::saveRequested()
{
    const QString problem = save();
    if (problem.isEmpty())
        client_.replySave(QLatin1String(Saved));
    else
        client_.replySaveError(NsmClient::ErrGeneral, problem);
}

void NsmSession::quitOnTerminate()
{
    if (terminatePipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminatePipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(terminatePipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(terminatePipe[0], &byte, 1);
        // exit(), not quit(): quitting offers every window a close, and the
        // main window would ask whether to leave.
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}
