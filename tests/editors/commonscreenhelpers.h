#pragma once
// Small helpers for the tests of the screens without a tone (effects and
// mixer) on the editor rig: opening them through the main window's buttons,
// reading requests, and the unit's common block.

#include "editorrig.h"

#include "midi/sysexmessage.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>

// Clicks the main window's button and returns the screen it opened.
template <typename Form>
Form *openCommon(EditorRig &rig, const char *button, TMidiMainForm::CommonScreen screen)
{
    auto *b = rig.form.findChild<QPushButton *>(QLatin1String(button));
    if (!b)
        return nullptr;
    b->click();
    auto *w = qobject_cast<Form *>(rig.screens->commonScreen(screen));
    if (w && !QTest::qWaitForWindowExposed(w))
        return nullptr;
    return w;
}

// "address | size" of every request among messages, in hex.
inline QStringList requestsIn(const QList<QByteArray> &messages)
{
    QStringList out;
    for (const QByteArray &m : messages) {
        const auto *b = reinterpret_cast<const std::uint8_t *>(m.constData());
        if (m.size() == sysex::RequestLength && b[0] == sysex::Start &&
            b[sysex::CommandPos] == sysex::CommandRequest)
            out << sysex::hexLine(b + sysex::AddressPos, 4) + QStringLiteral(" | ") +
                       sysex::hexLine(b + sysex::DataPos, 4);
    }
    return out;
}

// "address | data" of every data set among messages, in hex.
inline QStringList dataSetsIn(const QList<QByteArray> &messages)
{
    QStringList out;
    for (const QByteArray &m : messages) {
        const auto *b = reinterpret_cast<const std::uint8_t *>(m.constData());
        if (m.size() > sysex::Overhead && b[0] == sysex::Start &&
            b[sysex::CommandPos] == sysex::CommandDataSet)
            out << sysex::hexLine(b + sysex::AddressPos, 4) + QStringLiteral(" | ") +
                       sysex::hexLine(b + sysex::DataPos, int(m.size()) - sysex::Overhead);
    }
    return out;
}

inline QString hexData(const addr::Address &a, int byte)
{
    const auto b = std::uint8_t(byte);
    return sysex::hexLine(a.data(), 4) + QStringLiteral(" | ") + sysex::hexLine(&b, 1);
}

inline QByteArray unitCommon(EditorRig &rig)
{
    rig.engine().waitIdle();
    // memory() hands out a copy: keep it alive while its bytes are read.
    const SynthMemory memory = rig.engine().memory();
    const PatchMemory &p = memory.patch(SynthMemory::Bank::Temporary, 0);
    return QByteArray(reinterpret_cast<const char *>(p.block(0)), addr::CommonSize);
}

inline QByteArray imageCommon(const EditorRig &rig)
{
    return QByteArray(reinterpret_cast<const char *>(rig.state.patchImage.slotData(0)),
                      addr::CommonSize);
}

// Perform mode on part (1..16) through the main window's own buttons.
inline void selectPart(EditorRig &rig, int part)
{
    rig.form.findChild<QSpinBox *>(QStringLiteral("SpPart"))->setValue(part);
    rig.form.findChild<QAbstractButton *>(QStringLiteral("SpBPerf"))->click();
}
