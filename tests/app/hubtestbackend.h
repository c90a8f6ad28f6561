#pragma once
// A MIDI backend for window tests: the test plays messages into its input
// devices on the calling thread, its output devices record every message
// sent, and opening or sending can be made to fail like a missing or
// unplugged device.

#include "midi/midibackend.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <memory>

class HubTestBackend : public MidiBackend
{
public:
    // Shared with the open connections, which may outlive the backend.
    struct State
    {
        QMap<int, MidiReceiver *> receivers;
        QList<QByteArray> sent; // short messages as their three bytes
        QString openFailure;    // when set, opening any device fails so
        QString sendFailure;    // when set, every send fails so
        int outputsOpened = 0;  // a failed open is not counted
    };

    HubTestBackend(const QStringList &inputs, const QStringList &outputs)
        : inputs_(inputs), outputs_(outputs)
    {
    }

    QString name() const override { return QStringLiteral("Test"); }
    QStringList inputDevices() override { return inputs_; }
    QStringList outputDevices() override { return outputs_; }
    std::unique_ptr<MidiInputConnection> openInput(int index, MidiReceiver &receiver) override;
    std::unique_ptr<MidiOutputConnection> openOutput(int index) override;

    // Delivers to the open connection of input device index; false when
    // that device is not open.
    bool playShort(int index, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    bool playSysex(int index, const QByteArray &bytes);

    // A device was plugged in or out.
    void setDevices(const QStringList &inputs, const QStringList &outputs)
    {
        inputs_ = inputs;
        outputs_ = outputs;
    }
    QList<QByteArray> sent() const { return state_->sent; }
    void clearSent() { state_->sent.clear(); }
    int outputsOpened() const { return state_->outputsOpened; }
    void failOpens(const QString &reason) { state_->openFailure = reason; }
    void failSends(const QString &reason) { state_->sendFailure = reason; }

private:
    QStringList inputs_;
    QStringList outputs_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
