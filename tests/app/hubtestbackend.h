#pragma once
// A MIDI backend for window tests: the test plays messages into its input
// devices on the calling thread, its output devices record every message
// sent, and opening or sending can be made to fail like a missing or
// unplugged device.

#include "midi/midibackend.h"

#include <QByteArray>
#include <QList>
#include <memory>

class HubTestBackend : public MidiBackend
{
public:
    HubTestBackend(const QStringList &inputs, const QStringList &outputs);

    QString name() const override { return QStringLiteral("Test"); }
    QStringList inputDevices() override { return inputs_; }
    QStringList outputDevices() override { return outputs_; }
    std::unique_ptr<MidiInputConnection> openInput(int index, MidiReceiver &receiver) override;
    std::unique_ptr<MidiOutputConnection> openOutput(int index) override;

    // Delivers to the open connection of input device index; false when
    // that device is not open.
    bool playShort(int index, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    bool playSysex(int index, const QByteArray &bytes);

    // Every message sent on any output, short ones as their three bytes.
    QList<QByteArray> sent() const;
    void clearSent();
    // Output devices opened so far; an open that failed is not counted.
    int outputsOpened() const;

    // A device was plugged in or out.
    void setDevices(const QStringList &inputs, const QStringList &outputs)
    {
        inputs_ = inputs;
        outputs_ = outputs;
    }
    // When not empty, opening any device fails with this reason.
    void failOpens(const QString &reason);
    // When not empty, every send on an open output fails with this reason.
    void failSends(const QString &reason);

    // Shared with the open connections, which may outlive the backend.
    struct State;

private:
    QStringList inputs_;
    QStringList outputs_;
    std::shared_ptr<State> state_;
};
