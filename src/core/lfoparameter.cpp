#include "core/lfoparameter.h"

#include <cstring>

namespace {
using K = LfoParameter::Kind;

constexpr int DepthCentre = 63;
constexpr int Ticked = 1;
constexpr int NoItem = -1;

const QStringList &waves()
{
    static const QStringList w = {
        QStringLiteral("TRI"), QStringLiteral("SIN"), QStringLiteral("SAW"), QStringLiteral("SQR"),
        QStringLiteral("TRP"), QStringLiteral("S&H"), QStringLiteral("RND"), QStringLiteral("CHS")};
    return w;
}

const QStringList &levelOffsets()
{
    static const QStringList l = {QStringLiteral("-100"), QStringLiteral(" -50"),
                                  QStringLiteral("  0"), QStringLiteral(" +50"),
                                  QStringLiteral("+100")};
    return l;
}

const QStringList &fadeModes()
{
    static const QStringList l = {QStringLiteral("On-In"), QStringLiteral("On-Out"),
                                  QStringLiteral("Off-In"), QStringLiteral("Off-Out")};
    return l;
}

const QStringList &extSyncs()
{
    static const QStringList l = {QStringLiteral("OFF"), QStringLiteral("Clock"),
                                  QStringLiteral("Tap")};
    return l;
}

std::vector<LfoParameter> build()
{
    return {
        {0x2D, "CbWave1", K::Wave, 1, waves()},
        {0x35, "CbWave2", K::Wave, 2, waves()},
        {0x2E, "ChKeytrig1", K::Check, 1, {}},
        {0x36, "ChKeyTrig2", K::Check, 2, {}},
        {0x30, "CbLoffset1", K::List, 1, levelOffsets()},
        {0x38, "CbLoffset2", K::List, 2, levelOffsets()},
        {0x32, "CbFMode1", K::List, 1, fadeModes()},
        {0x3A, "CbFMode2", K::List, 2, fadeModes()},
        {0x34, "CbExtSync1", K::List, 1, extSyncs()},
        {0x3C, "CbExtSync2", K::List, 2, extSyncs()},
        {0x2F, "SlRate1", K::Slider, 1, {}},
        {0x37, "SlRate2", K::Slider, 2, {}},
        {0x31, "SlDlyT1", K::Slider, 1, {}},
        {0x39, "SlDlyT2", K::Slider, 2, {}},
        {0x33, "SlFadeT1", K::Slider, 1, {}},
        {0x3B, "SlFadeT2", K::Slider, 2, {}},
        {0x4E, "SpLFO1PD", K::Depth, 1, {}},
        {0x4F, "SpLFO2PD", K::Depth, 2, {}},
        {0x63, "SpLFO1FD", K::Depth, 1, {}},
        {0x64, "SpLFO2FD", K::Depth, 2, {}},
        {0x75, "SpLFO1AD", K::Depth, 1, {}},
        {0x76, "SpLFO2AD", K::Depth, 2, {}},
        {0x7B, "SpLFO1PaD", K::Depth, 1, {}},
        {0x7C, "SpLFO2PaD", K::Depth, 2, {}},
    };
}
} // namespace

int LfoParameter::shown(int s) const
{
    switch (kind) {
    case Kind::Wave:
    case Kind::List:
        return s < int(items.size()) ? s : NoItem;
    case Kind::Check:
        return s != 0 ? Ticked : 0;
    case Kind::Slider:
        return s;
    case Kind::Depth:
        return s - DepthCentre;
    }
    return s;
}

int LfoParameter::stored(int v) const
{
    return kind == Kind::Depth ? v + DepthCentre : v;
}

const std::vector<LfoParameter> &LfoParameter::table()
{
    static const std::vector<LfoParameter> rows = build();
    return rows;
}

const LfoParameter *LfoParameter::find(const char *name)
{
    for (const LfoParameter &p : table())
        if (std::strcmp(p.name, name) == 0)
            return &p;
    return nullptr;
}
