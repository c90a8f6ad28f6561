#include "cli/patchparamnames.h"

#include "core/addressmap.h"

namespace cli {

namespace {
constexpr int NameChars = addr::PatchNameSize;
constexpr int EffectParameters = 12;
constexpr int Controllers = 3;
constexpr int ControllerSlots = 4;
constexpr int EnvelopeTimes = 4;
constexpr int PitchFilterLevels = 4;
constexpr int AmpLevels = 3;

void numbered(QStringList &names, const QString &pattern, int count)
{
    for (int i = 1; i <= count; ++i)
        names.append(pattern.arg(i));
}

void add(QStringList &names, std::initializer_list<const char *> list)
{
    for (const char *n : list)
        names.append(QLatin1String(n));
}

void lfo(QStringList &names, int n)
{
    const QString p = QStringLiteral("lfo%1 ").arg(n);
    for (const char *field : {"waveform", "key trigger", "rate", "level offset", "delay time",
                              "fade mode", "fade time", "external sync"})
        names.append(p + QLatin1String(field));
}

// The velocity and keyfollow group that the pitch, filter and amplifier
// envelopes share after their depth or curve.
void envelopeTimeSens(QStringList &names, const QString &env)
{
    names.append(env + QStringLiteral(" velocity time-1 sens"));
    names.append(env + QStringLiteral(" velocity time-4 sens"));
    names.append(env + QStringLiteral(" time keyfollow"));
}
} // namespace

QStringList commonParameterNames()
{
    QStringList n;
    numbered(n, QStringLiteral("name character %1"), NameChars);
    n.append(QStringLiteral("efx type"));
    numbered(n, QStringLiteral("efx parameter %1"), EffectParameters);
    add(n, {"efx output assign",
            "efx output level",
            "efx chorus send",
            "efx reverb send",
            "efx control source 1",
            "efx control depth 1",
            "efx control source 2",
            "efx control depth 2",
            "chorus level",
            "chorus rate",
            "chorus depth",
            "chorus pre-delay",
            "chorus feedback",
            "chorus output",
            "reverb type",
            "reverb level",
            "reverb time",
            "reverb hf damp",
            "reverb delay feedback",
            "patch tempo (high nibble)",
            "patch tempo (low nibble)",
            "patch level",
            "patch pan",
            "analog feel",
            "bend range up",
            "bend range down",
            "key assign mode",
            "solo legato",
            "portamento switch",
            "portamento mode",
            "portamento type",
            "portamento start",
            "portamento time",
            "patch control source 2",
            "patch control source 3",
            "efx control hold/peak",
            "control 1 hold/peak",
            "control 2 hold/peak",
            "control 3 hold/peak",
            "velocity range switch",
            "octave shift",
            "stretch tune depth",
            "voice priority",
            "structure type 1&2",
            "booster 1&2",
            "structure type 3&4",
            "booster 3&4"});
    return n;
}

QStringList toneParameterNames()
{
    QStringList n;
    add(n, {"tone switch",
            "wave group type",
            "wave group id",
            "wave number (high nibble)",
            "wave number (low nibble)",
            "wave gain",
            "fxm switch",
            "fxm color",
            "fxm depth",
            "tone delay mode",
            "tone delay time",
            "velocity cross-fade depth",
            "velocity range lower",
            "velocity range upper",
            "key range lower",
            "key range upper",
            "redamper control switch",
            "volume control switch",
            "hold-1 control switch",
            "pitch-bend control switch",
            "pan control switch"});
    for (int c = 1; c <= Controllers; ++c)
        for (int s = 1; s <= ControllerSlots; ++s) {
            n.append(QStringLiteral("controller %1 destination %2").arg(c).arg(s));
            n.append(QStringLiteral("controller %1 depth %2").arg(c).arg(s));
        }
    lfo(n, 1);
    lfo(n, 2);
    add(n, {"coarse tune", "fine tune", "random pitch depth", "pitch keyfollow", "p-env depth",
            "p-env velocity sens"});
    envelopeTimeSens(n, QStringLiteral("p-env"));
    numbered(n, QStringLiteral("p-env time %1"), EnvelopeTimes);
    numbered(n, QStringLiteral("p-env level %1"), PitchFilterLevels);
    add(n, {"pitch lfo1 depth", "pitch lfo2 depth", "filter type", "cutoff frequency",
            "cutoff keyfollow", "resonance", "resonance velocity sens", "f-env depth",
            "f-env velocity curve", "f-env velocity sens"});
    envelopeTimeSens(n, QStringLiteral("f-env"));
    numbered(n, QStringLiteral("f-env time %1"), EnvelopeTimes);
    numbered(n, QStringLiteral("f-env level %1"), PitchFilterLevels);
    add(n, {"filter lfo1 depth", "filter lfo2 depth", "tone level", "bias direction", "bias point",
            "bias level", "a-env velocity curve", "a-env velocity sens"});
    envelopeTimeSens(n, QStringLiteral("a-env"));
    numbered(n, QStringLiteral("a-env time %1"), EnvelopeTimes);
    numbered(n, QStringLiteral("a-env level %1"), AmpLevels);
    add(n, {"amp lfo1 depth", "amp lfo2 depth", "tone pan", "pan keyfollow", "random pan depth",
            "alternate pan depth", "pan lfo1 depth", "pan lfo2 depth", "output assign",
            "output level", "chorus send level", "reverb send level"});
    return n;
}

} // namespace cli
