#include "app/application.h"
#include "app/apptheme.h"
#include "app/messageboxsink.h"
#include "app/nsmclient.h"
#include "app/nsmsession.h"
#include "core/appsettings.h"
#include "midi/mididevices.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace {
constexpr char AppId[] = "org.korvale.tessiva";

// Inside a session the manager names the settings file; outside, the
// user's own store. Without an answering manager the program starts as if
// there were none.
std::unique_ptr<NsmSession> joinSession(NsmClient *client, const char *argv0)
{
    if (!client)
        return nullptr;
    if (!client->isValid()) {
        std::fprintf(stderr, "tessiva: %s is not an address; no session.\n",
                     NsmClient::UrlVariable);
        return nullptr;
    }
    auto session = std::make_unique<NsmSession>(*client);
    if (!session->join(QFileInfo(QString::fromLocal8Bit(argv0)).fileName())) {
        std::fprintf(stderr, "tessiva: the session manager opened no session%s%s\n",
                     client->refusal().isEmpty() ? "." : ": ", qPrintable(client->refusal()));
        return nullptr;
    }
    NsmSession::quitOnTerminate();
    return session;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QGuiApplication::setDesktopFileName(QLatin1String(AppId));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSIVA_VERSION));
    // Leaving goes through the exit command, which writes the settings and
    // closes MIDI; a window closing on its own never ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Patch editor for Roland JV-1080, JV-2080 and XP synthesizers."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dark(QStringLiteral("dark"),
                                  QStringLiteral("Use the Fusion style with a dark palette."));
    parser.addOption(dark);
    parser.process(qapp);
    AppTheme::apply(qapp, parser.isSet(dark) ? AppTheme::Mode::Dark : AppTheme::Mode::System);

    const QString url = qEnvironmentVariable(NsmClient::UrlVariable);
    std::unique_ptr<NsmClient> client = url.isEmpty() ? nullptr : std::make_unique<NsmClient>(url);
    std::unique_ptr<NsmSession> session = joinSession(client.get(), argv[0]);

    MessageBoxSink info;
    std::unique_ptr<AppSettings> settings =
        session ? std::make_unique<AppSettings>(session->settingsFile())
                : std::make_unique<AppSettings>();
    MidiDevices devices;
    Application::addStandardBackends(devices);

    Application app(info, *settings, devices);
    app.start();
    if (session)
        session->attach(app, *settings);
    return qapp.exec();
}
