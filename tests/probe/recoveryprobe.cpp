// The editor's start-up with its real windows, on the built-in synthesizer,
// for the recovery tests. Settings and data come from XDG_CONFIG_HOME and
// XDG_DATA_HOME as for the editor. Every message and question goes to
// stdout, one line each; questions are answered by PROBE_ANSWER (yes/no).
//
//   recoveryprobe start       start, say the octave shift byte, end
//   recoveryprobe edit        start, shift an octave up, wait to be killed
//   recoveryprobe edit-exit   start, shift an octave up, leave with F12

#include "app/application.h"
#include "app/mainform.h"
#include "core/appsettings.h"
#include "core/infosink.h"
#include "midi/mididevices.h"
#include "sim/simulatorbackend.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {
class PrintingInfoSink : public InfoSink
{
public:
    void ShowInfo(const QString &text) override { say("info", text); }
    bool Confirm(const QString &text, const QString &title) override
    {
        say("question", title + QLatin1Char('|') + text);
        return qEnvironmentVariable("PROBE_ANSWER") == QLatin1String("yes");
    }
    static void say(const char *what, QString text)
    {
        std::printf("%s: %s\n", what,
                    qPrintable(text.replace(QLatin1Char('\r'), QLatin1Char('/'))));
        std::fflush(stdout);
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();

    PrintingInfoSink info;
    AppSettings settings;
    MidiDevices devices;
    devices.addBackend(std::make_shared<SimulatorBackend>());
    Application app(info, settings, devices);
    app.start();

    TMidiMainForm *main = app.mainForm();
    const auto octave = [&] {
        return QString::number(app.state().patchImage.common(addr::common::OctaveShift));
    };
    PrintingInfoSink::say("octave", octave());
    if (mode == QLatin1String("start"))
        return 0;

    // The user's own key on the octave spin.
    auto *spin = main->findChild<QWidget *>(QStringLiteral("SpOctaveS"));
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Up);
    PrintingInfoSink::say("edited", octave());
    if (mode == QLatin1String("edit-exit"))
        QTimer::singleShot(0, main, [main] { QTest::keyClick(main, Qt::Key_F12); });
    return QApplication::exec();
}
