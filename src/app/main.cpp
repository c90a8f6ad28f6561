#include "app/application.h"
#include "app/messageboxsink.h"
#include "core/appsettings.h"
#include "midi/mididevices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tessiva"));
    // Leaving goes through the exit command, which writes the settings and
    // closes MIDI; a window closing on its own never ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxSink info;
    AppSettings settings;
    MidiDevices devices;
    Application::addStandardBackends(devices);

    Application app(info, settings, devices);
    app.start();
    return qapp.exec();
}
