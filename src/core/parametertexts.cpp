#include "core/parametertexts.h"

#include "core/displaytables.h"
#include "core/effecttables.h"

#include <map>

namespace {
constexpr int VelocitySensSteps = 126; // stored 0..125
constexpr int VelocitySensBottom = -100;
constexpr int VelocitySensStep = 2;
constexpr int MuteGroups = 31;
constexpr int PartsBeforeRhythm = 9; // the effect may come from parts 1..9 and 11..16
constexpr int PartCount = 16;

QStringList fixed(std::initializer_list<const char *> words)
{
    QStringList out;
    for (const char *w : words)
        out << QLatin1String(w);
    return out;
}

template <std::size_t N> QStringList fromTable(const std::array<QString, N> &table)
{
    return QStringList(table.begin(), table.end());
}

// A sign on every value but zero, as the unit's own display shows them.
QString signedNumber(int v)
{
    return v > 0 ? QLatin1Char('+') + QString::number(v) : QString::number(v);
}

QStringList build(ParameterTexts::List list)
{
    using L = ParameterTexts::List;
    const DisplayTables &d = DisplayTables::instance();
    switch (list) {
    case L::None:
        return {};
    case L::Notes:
        return fromTable(d.NoteNames);
    case L::HfDamp: {
        QStringList out;
        for (const QString &t : d.HfDampTexts)
            out << t.trimmed();
        return out;
    }
    case L::PitchDepth:
        return fromTable(d.PitchDepthTexts);
    case L::VelocitySens: {
        QStringList out;
        for (int v = 0; v < VelocitySensSteps; ++v)
            out << signedNumber(VelocitySensBottom + VelocitySensStep * v);
        return out;
    }
    case L::VelocityTimeSens:
        return fixed({"-100", "-70", "-50", "-40", "-30", "-20", "-10", "0", "+10", "+20", "+30",
                      "+40", "+50", "+70", "+100"});
    case L::EfxSource: {
        QStringList out{QStringLiteral("PERFORM")};
        for (int p = 1; p <= PartCount; ++p)
            if (p != PartsBeforeRhythm + 1)
                out << QStringLiteral("PART %1").arg(p);
        return out;
    }
    case L::EfxType:
        return EffectTables::instance().typeNames();
    case L::EfxOutput:
        return fixed({"MIX", "Out 1", "Out 2"});
    case L::ControlSource:
        return fixed({"OFF", "Sys-Ctrl 1", "Sys-Ctrl 2", "Modulation", "Breath", "Foot-Type",
                      "Volume", "Panpot", "Expression", "Bender", "Aftertouch"});
    case L::ChorusOutput:
        return fixed({"MIX", "REV", "M+R"});
    case L::ReverbType:
        return fixed(
            {"Room 1", "Room 2", "Stage 1", "Stage 2", "Hall 1", "Hall 2", "Delay", "Pan-Dly"});
    case L::PartOutput:
        return fixed({"MIX", "EFX", "Out 1", "Out 2", "PATCH"});
    case L::ToneOutput:
        return fixed({"MIX", "EFX", "Out 1", "Out 2"});
    case L::WaveGain:
        return fixed({"-6 dB", "0 dB", "+6 dB", "+12 dB"});
    case L::MuteGroup: {
        QStringList out{QStringLiteral("OFF")};
        for (int g = 1; g <= MuteGroups; ++g)
            out << QString::number(g);
        return out;
    }
    case L::EnvelopeMode:
        return fixed({"NO-SUS", "SUSTAIN"});
    case L::PanControl:
        return fixed({"OFF", "CONTINUOUS", "KEY-ON"});
    case L::FilterType:
        return fixed({"OFF", "LPF", "BPF", "HPF", "PKG"});
    }
    return {};
}
} // namespace

const QStringList &ParameterTexts::texts(List list)
{
    static const std::map<List, QStringList> all = [] {
        std::map<List, QStringList> m;
        for (int l = int(List::None); l <= int(List::FilterType); ++l)
            m[List(l)] = build(List(l));
        return m;
    }();
    return all.at(list);
}

QString ParameterTexts::text(List list, int v)
{
    const QStringList &t = texts(list);
    if (v >= 0 && v < t.size())
        return t.at(v);
    return QString::number(v);
}
