#pragma once
// A main window wired to a real protocol whose output is recorded, with the
// devices marked open, for the main window's tests.

#include "app/hubcontrol.h"
#include "app/mainform.h"
#include "core/editstate.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "midi/hublink.h"
#include "midi/midisender.h"
#include "midi/silenthublink.h"
#include "midi/sysexprotocol.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

class MainTestSender : public MidiSender
{
public:
    void SendShortMsg(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SendLongMsg(const std::uint8_t *buffer, int length) override
    {
        messages.append(QByteArray(reinterpret_cast<const char *>(buffer), length));
    }
    QList<QByteArray> messages;
};

class MainTestHub : public HubControl
{
public:
    void OpenMidi() override { calls << QStringLiteral("OpenMidi"); }
    void reopenMidi() override { calls << QStringLiteral("reopenMidi"); }
    void closeMidi() override { calls << QStringLiteral("closeMidi"); }
    void showHub() override { calls << QStringLiteral("showHub"); }
    void showMessageLog() override { calls << QStringLiteral("showMessageLog"); }
    void AllSoundOff() override { calls << QStringLiteral("AllSoundOff"); }
    void SendShort(int, int, int) override { calls << QStringLiteral("SendShort"); }
    QStringList calls;
};

struct MainTestRig
{
    // Data folder: the shipped wave lists beside the test executables;
    // structure pictures come from pictureDir when it is set.
    MainTestRig();

    // Loads the controls from the image and forgets what that caused.
    void reload();
    // Address and data bytes of every data set sent, as upper-case hex
    // ("03 00 00 2E | 64"), oldest first.
    QStringList dataSets() const;
    QString lastDataSet() const;
    void clearSent() { sender.messages.clear(); }

    template <typename T> T *child(const char *name) const
    {
        return form.findChild<T *>(QLatin1String(name));
    }

    EditState state;
    RecordingInfoSink info;
    SilentHubLink hubLink;
    MainTestSender sender;
    MainTestHub hub;
    SysexProtocol protocol;
    TMidiMainForm form;
};
