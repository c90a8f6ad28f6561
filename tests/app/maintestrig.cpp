#include "maintestrig.h"

#include "midi/sysexmessage.h"

MainTestRig::MainTestRig() : protocol(state, info, hubLink), form(state, info, protocol, &hub)
{
    protocol.setSender(&sender);
    form.setProgramDir(QStringLiteral(TESSIVA_BIN_DIR));
    state.MidiClosed = false;
}

void MainTestRig::reload()
{
    form.B_UpdateAllClick();
    clearSent();
    info.messages.clear();
}

QStringList MainTestRig::dataSets() const
{
    QStringList out;
    for (const QByteArray &m : sender.messages) {
        const auto *b = reinterpret_cast<const std::uint8_t *>(m.constData());
        if (m.size() < sysex::Overhead || b[sysex::CommandPos] != sysex::CommandDataSet)
            continue;
        const int count = int(m.size()) - sysex::Overhead;
        out << sysex::hexLine(b + sysex::AddressPos, 4) + QStringLiteral(" | ") +
                   sysex::hexLine(b + sysex::DataPos, count);
    }
    return out;
}

QString MainTestRig::lastDataSet() const
{
    const QStringList all = dataSets();
    return all.isEmpty() ? QString() : all.last();
}
