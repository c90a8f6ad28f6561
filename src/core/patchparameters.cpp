#include "core/patchparameters.h"

#include "core/lfoparameter.h"
#include "core/parameterlists.h"
#include "core/performanceparams.h"
#include "core/ptvaparameter.h"
#include "core/ptvpparameter.h"
#include "core/rhythmimage.h"
#include "core/rhythmparams.h"

#include <algorithm>
#include <map>

namespace {
using B = PatchParameters::Block;
using G = PatchParameters::Group;
using F = PatchParameters::Format;
using P = PatchParameters::Parameter;

constexpr int DepthCentre = 63;
constexpr int PanCentre = 64;
constexpr int OctaveCentre = 3;
constexpr int ShownFromOne = -1;
constexpr int EffectParameterCount = 12;
constexpr int Controllers = 3;
constexpr int ControllerSlots = 4;
constexpr int FirstController = 0x15;
constexpr int ControllerStride = 8;
constexpr int FilterLast = 0x64; // the TVF/TVA table turns to the amplifier after it
constexpr int TonePan = 0x77;
constexpr int PanLfoDepth1 = 0x7B;
constexpr int PerformanceEffectBase = 0x0D; // 01 00 00 0D holds the type

const QStringList OffOn{QStringLiteral("Off"), QStringLiteral("On")};
const QStringList HoldPeak{QStringLiteral("OFF"), QStringLiteral("Hold"), QStringLiteral("Peak")};

P common(int offset, G group, const char *label, F format, int centre = 0,
         const QStringList &items = {})
{
    return {B::Common, offset, 1, group, QLatin1String(label), format, centre, items};
}

P tone(int offset, G group, const char *label, F format, int centre = 0,
       const QStringList &items = {})
{
    return {B::Tone, offset, 1, group, QLatin1String(label), format, centre, items};
}

void addCommon(std::vector<P> &t)
{
    t.push_back({B::Common, addr::common::Name, addr::PatchNameSize, G::Common,
                 QStringLiteral("Name"), F::Name});
    t.push_back(common(addr::common::PatchLevel, G::Common, "Patch Level", F::Number));
    t.push_back(common(addr::common::PatchPan, G::Common, "Patch Pan", F::Pan));
    t.push_back(common(addr::common::AnalogFeel, G::Common, "Analog Feel", F::Number));
    t.push_back(
        common(addr::common::OctaveShift, G::Common, "Octave Shift", F::Offset, OctaveCentre));
    t.push_back(common(addr::common::StretchTune, G::Common, "Stretch Tune", F::Number));
    t.push_back(common(addr::common::VoicePriority, G::Common, "Voice Priority", F::List, 0,
                       {QStringLiteral("Last"), QStringLiteral("Loudest")}));
    t.push_back(
        common(addr::common::Structure12, G::Common, "Structure 1-2", F::Offset, ShownFromOne));
    t.push_back(common(addr::common::Booster12, G::Common, "Booster 1-2", F::Booster));
    t.push_back(
        common(addr::common::Structure34, G::Common, "Structure 3-4", F::Offset, ShownFromOne));
    t.push_back(common(addr::common::Booster34, G::Common, "Booster 3-4", F::Booster));
    t.push_back({B::Common, addr::common::TempoHigh, 2, G::Common, QStringLiteral("Default Tempo"),
                 F::Tempo});
    t.push_back(common(0x31, G::Common, "Bend Range Up", F::Number));
    t.push_back(common(0x32, G::Common, "Bend Range Down", F::Negated));
    t.push_back(common(0x33, G::Common, "Key Assign", F::List, 0,
                       {QStringLiteral("Poly"), QStringLiteral("Solo")}));
    t.push_back(common(0x34, G::Common, "Solo Legato", F::Switch, 0, OffOn));
    t.push_back(common(0x35, G::Common, "Portamento", F::Switch, 0, OffOn));
    t.push_back(common(0x36, G::Common, "Portamento Mode", F::List, 0,
                       {QStringLiteral("Normal"), QStringLiteral("Legato")}));
    t.push_back(common(0x37, G::Common, "Portamento Type", F::List, 0,
                       {QStringLiteral("Rate"), QStringLiteral("Time")}));
    t.push_back(common(0x38, G::Common, "Portamento Start", F::List, 0,
                       {QStringLiteral("Pitch"), QStringLiteral("Note")}));
    t.push_back(common(0x39, G::Common, "Portamento Time", F::Number));
    t.push_back(common(0x3A, G::Common, "Control Source 2", F::List, 0,
                       ParameterLists::patchControlSources()));
    t.push_back(common(0x3B, G::Common, "Control Source 3", F::List, 0,
                       ParameterLists::patchControlSources()));
    t.push_back(common(0x3C, G::Common, "EFX Ctrl Hold/Peak", F::List, 0, HoldPeak));
    t.push_back(common(0x3D, G::Common, "Ctrl 1 Hold/Peak", F::List, 0, HoldPeak));
    t.push_back(common(0x3E, G::Common, "Ctrl 2 Hold/Peak", F::List, 0, HoldPeak));
    t.push_back(common(0x3F, G::Common, "Ctrl 3 Hold/Peak", F::List, 0, HoldPeak));
    t.push_back(common(0x40, G::Common, "Velocity Range", F::Switch, 0, OffOn));

    t.push_back(common(addr::common::EffectType, G::Effects, "EFX Type", F::EffectType));
    for (int p = 1; p <= EffectParameterCount; ++p)
        t.push_back({B::Common, addr::common::EffectType + p, 1, G::Effects,
                     QStringLiteral("EFX Parameter %1").arg(p), F::EffectParameter});
    t.push_back(common(0x19, G::Effects, "EFX Output", F::List, 0,
                       {QStringLiteral("MIX"), QStringLiteral("Out 1"), QStringLiteral("Out 2")}));
    t.push_back(common(0x1A, G::Effects, "EFX Level", F::Number));
    t.push_back(common(0x1B, G::Effects, "EFX Chorus Send", F::Number));
    t.push_back(common(0x1C, G::Effects, "EFX Reverb Send", F::Number));
    t.push_back(common(0x1D, G::Effects, "EFX Control Source 1", F::List, 0,
                       ParameterLists::effectControlSources()));
    t.push_back(common(0x1E, G::Effects, "EFX Control Depth 1", F::Offset, DepthCentre));
    t.push_back(common(0x1F, G::Effects, "EFX Control Source 2", F::List, 0,
                       ParameterLists::effectControlSources()));
    t.push_back(common(0x20, G::Effects, "EFX Control Depth 2", F::Offset, DepthCentre));

    t.push_back(common(addr::common::ChorusLevel, G::Mixer, "Chorus Level", F::Number));
    t.push_back(common(0x22, G::Mixer, "Chorus Rate", F::Number));
    t.push_back(common(0x23, G::Mixer, "Chorus Depth", F::Number));
    t.push_back(common(0x24, G::Mixer, "Chorus Pre-Delay", F::Number));
    t.push_back(common(0x25, G::Mixer, "Chorus Feedback", F::Number));
    t.push_back(common(0x26, G::Mixer, "Chorus Output", F::List, 0,
                       {QStringLiteral("MIX"), QStringLiteral("REV"), QStringLiteral("M+R")}));
    t.push_back(common(0x27, G::Mixer, "Reverb Type", F::List, 0, ParameterLists::reverbTypes()));
    t.push_back(common(addr::common::ReverbLevel, G::Mixer, "Reverb Level", F::Number));
    t.push_back(common(0x29, G::Mixer, "Reverb Time", F::Number));
    t.push_back(common(0x2A, G::Mixer, "Reverb HF Damp", F::HfDamp));
    t.push_back(common(0x2B, G::Mixer, "Reverb Feedback", F::Number));
}

void addWave(std::vector<P> &t)
{
    t.push_back(tone(addr::tone::Switch, G::Wave, "Tone Switch", F::Switch, 0, OffOn));
    t.push_back({B::Tone, addr::tone::WaveGroupType, 2, G::Wave, QStringLiteral("Wave Group"),
                 F::WaveGroup});
    t.push_back({B::Tone, addr::tone::WaveNumberHigh, 2, G::Wave, QStringLiteral("Wave"), F::Wave});
    t.push_back(tone(0x05, G::Wave, "Wave Gain", F::List, 0, ParameterLists::waveGains()));
    t.push_back(tone(0x06, G::Wave, "FXM", F::Switch, 0, OffOn));
    t.push_back(tone(0x07, G::Wave, "FXM Color", F::Offset, ShownFromOne));
    t.push_back(tone(0x08, G::Wave, "FXM Depth", F::Offset, ShownFromOne));
    t.push_back(
        tone(0x09, G::Wave, "Tone Delay Mode", F::List, 0, ParameterLists::toneDelayModes()));
    t.push_back(tone(0x0A, G::Wave, "Tone Delay Time", F::Number));
}

// Names of the TVF/TVA and TVP screens' rows, by offset.
const std::map<int, const char *> &screenLabels()
{
    static const std::map<int, const char *> labels{
        {0x3D, "Coarse Tune"},
        {0x3E, "Fine Tune"},
        {0x3F, "Random Pitch Depth"},
        {0x40, "Pitch Keyfollow"},
        {0x41, "P-Env Depth"},
        {0x42, "P-Env Velocity Sens"},
        {0x43, "P-Env Time 1 Velocity Sens"},
        {0x44, "P-Env Time 4 Velocity Sens"},
        {0x45, "P-Env Time Keyfollow"},
        {0x46, "P-Env Time 1"},
        {0x47, "P-Env Time 2"},
        {0x48, "P-Env Time 3"},
        {0x49, "P-Env Time 4"},
        {0x4A, "P-Env Level 1"},
        {0x4B, "P-Env Level 2"},
        {0x4C, "P-Env Level 3"},
        {0x4D, "P-Env Level 4"},
        {0x4E, "Pitch LFO1 Depth"},
        {0x4F, "Pitch LFO2 Depth"},
        {0x50, "Filter Type"},
        {0x51, "Cutoff"},
        {0x52, "Cutoff Keyfollow"},
        {0x53, "Resonance"},
        {0x54, "Resonance Velocity Sens"},
        {0x55, "F-Env Depth"},
        {0x56, "F-Env Velocity Curve"},
        {0x57, "F-Env Velocity Sens"},
        {0x58, "F-Env Time 1 Velocity Sens"},
        {0x59, "F-Env Time 4 Velocity Sens"},
        {0x5A, "F-Env Time Keyfollow"},
        {0x5B, "F-Env Time 1"},
        {0x5C, "F-Env Time 2"},
        {0x5D, "F-Env Time 3"},
        {0x5E, "F-Env Time 4"},
        {0x5F, "F-Env Level 1"},
        {0x60, "F-Env Level 2"},
        {0x61, "F-Env Level 3"},
        {0x62, "F-Env Level 4"},
        {0x63, "Filter LFO1 Depth"},
        {0x64, "Filter LFO2 Depth"},
        {0x65, "Level"},
        {0x66, "Bias Direction"},
        {0x67, "Bias Point"},
        {0x68, "Bias Level"},
        {0x69, "A-Env Velocity Curve"},
        {0x6A, "A-Env Velocity Sens"},
        {0x6B, "A-Env Time 1 Velocity Sens"},
        {0x6C, "A-Env Time 4 Velocity Sens"},
        {0x6D, "A-Env Time Keyfollow"},
        {0x6E, "A-Env Time 1"},
        {0x6F, "A-Env Time 2"},
        {0x70, "A-Env Time 3"},
        {0x71, "A-Env Time 4"},
        {0x72, "A-Env Level 1"},
        {0x73, "A-Env Level 2"},
        {0x74, "A-Env Level 3"},
        {0x75, "Amp LFO1 Depth"},
        {0x76, "Amp LFO2 Depth"},
        {0x77, "Pan"},
        {0x78, "Pan Keyfollow"},
        {0x79, "Random Pan Depth"},
        {0x7A, "Alternate Pan Depth"},
    };
    return labels;
}

void addFilterAndAmp(std::vector<P> &t)
{
    using C = PtvaParameter::Conversion;
    for (const PtvaParameter &p : PtvaParameter::table()) {
        P row = tone(p.offset, p.offset <= FilterLast ? G::Tvf : G::Tva,
                     screenLabels().at(p.offset), F::Number);
        if (p.kind == PtvaParameter::Kind::List) {
            row.format = F::List;
            row.items = p.items;
        } else if (p.offset == TonePan) {
            row.format = F::Pan;
        } else if (p.conversion == C::Signed63 || p.conversion == C::Signed64) {
            row.format = F::Offset;
            row.centre = p.conversion == C::Signed63 ? DepthCentre : PanCentre;
        } else if (p.conversion == C::PlusOne) {
            row.format = F::Offset;
            row.centre = ShownFromOne;
        } else if (p.conversion == C::Sensitivity) {
            row.format = F::Sensitivity;
        }
        t.push_back(row);
    }
}

void addPitch(std::vector<P> &t)
{
    for (const PtvpParameter &p : PtvpParameter::table()) {
        P row = tone(p.offset, G::Tvp, screenLabels().at(p.offset), F::Offset, p.centre);
        if (p.kind == PtvpParameter::Kind::List) {
            row.format = F::List;
            row.items = p.items;
        } else if (p.kind == PtvpParameter::Kind::TextSlider) {
            row.format = F::PitchDepth;
        } else if (p.sensitivity) {
            row.format = F::Sensitivity;
        } else if (p.centre == 0) {
            row.format = F::Number;
        }
        t.push_back(row);
    }
}

void addLfo(std::vector<P> &t)
{
    static const char *const Fields[] = {"Waveform",   "Key Trigger", "Rate",      "Level Offset",
                                         "Delay Time", "Fade Mode",   "Fade Time", "External Sync"};
    constexpr int FirstLfo = 0x2D;
    constexpr int LfoBytes = 8;
    std::vector<P> rows;
    for (const LfoParameter &p : LfoParameter::table()) {
        // The depths live on the pitch and filter/amp screens as well; only
        // the pan depths are the LFO screen's alone.
        const bool depth = p.kind == LfoParameter::Kind::Depth;
        if (depth && p.offset < PanLfoDepth1)
            continue;
        P row = tone(p.offset, G::Lfo, "", F::Number);
        row.label = depth ? QStringLiteral("Pan LFO%1 Depth").arg(p.lfo)
                          : QStringLiteral("LFO%1 ").arg(p.lfo) +
                                QLatin1String(Fields[(p.offset - FirstLfo) % LfoBytes]);
        if (p.kind == LfoParameter::Kind::Wave || p.kind == LfoParameter::Kind::List) {
            row.format = F::List;
            row.items = p.items;
        } else if (p.kind == LfoParameter::Kind::Check) {
            row.format = F::Switch;
            row.items = OffOn;
        } else if (depth) {
            row.format = F::Offset;
            row.centre = DepthCentre;
        }
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end(), [](const P &a, const P &b) { return a.offset < b.offset; });
    t.insert(t.end(), rows.begin(), rows.end());
}

void addControllers(std::vector<P> &t)
{
    t.push_back(tone(0x10, G::Controllers, "Redamper Switch", F::Switch, 0, OffOn));
    t.push_back(tone(0x11, G::Controllers, "Volume Switch", F::Switch, 0, OffOn));
    t.push_back(tone(0x12, G::Controllers, "Hold-1 Switch", F::Switch, 0, OffOn));
    t.push_back(tone(0x13, G::Controllers, "Bender Switch", F::Switch, 0, OffOn));
    t.push_back(tone(0x14, G::Controllers, "Pan Control", F::List, 0,
                     {QStringLiteral("OFF"), QStringLiteral("Cont"), QStringLiteral("Key-On")}));
    for (int c = 0; c < Controllers; ++c)
        for (int s = 0; s < ControllerSlots; ++s) {
            const int at = FirstController + ControllerStride * c + 2 * s;
            const QString name = QStringLiteral("Controller %1 ").arg(c + 1);
            t.push_back({B::Tone, at, 1, G::Controllers,
                         name + QStringLiteral("Destination %1").arg(s + 1), F::List, 0,
                         ParameterLists::controllerDestinations()});
            t.push_back({B::Tone, at + 1, 1, G::Controllers,
                         name + QStringLiteral("Depth %1").arg(s + 1), F::Offset, DepthCentre});
        }
}

void addRange(std::vector<P> &t)
{
    t.push_back(tone(0x0B, G::Range, "Velocity Cross-Fade", F::Number));
    t.push_back(tone(0x0C, G::Range, "Velocity Range Lower", F::Number));
    t.push_back(tone(0x0D, G::Range, "Velocity Range Upper", F::Number));
    t.push_back(tone(0x0E, G::Range, "Key Range Lower", F::Note));
    t.push_back(tone(0x0F, G::Range, "Key Range Upper", F::Note));
}

void addToneMixer(std::vector<P> &t)
{
    t.push_back(tone(addr::tone::OutputAssign, G::Mixer, "Output", F::List, 0,
                     {QStringLiteral("MIX"), QStringLiteral("EFX"), QStringLiteral("Out 1"),
                      QStringLiteral("Out 2")}));
    t.push_back(tone(addr::tone::OutputLevel, G::Mixer, "Output Level", F::Number));
    t.push_back(tone(addr::tone::ChorusSend, G::Mixer, "Chorus Send", F::Number));
    t.push_back(tone(addr::tone::ReverbSend, G::Mixer, "Reverb Send", F::Number));
}

std::vector<P> build()
{
    std::vector<P> t;
    addCommon(t);
    addWave(t);
    addFilterAndAmp(t);
    addPitch(t);
    addLfo(t);
    addControllers(t);
    addRange(t);
    addToneMixer(t);
    return t;
}
} // namespace

const std::vector<PatchParameters::Parameter> &PatchParameters::all()
{
    static const std::vector<Parameter> table = build();
    return table;
}

const PatchParameters::Parameter *PatchParameters::find(Block block, int offset)
{
    for (const Parameter &p : all())
        if (p.block == block && offset >= p.offset && offset < p.offset + p.width)
            return &p;
    return nullptr;
}

QString PatchParameters::groupName(Group group, int toneNumber)
{
    static const std::map<Group, const char *> names{
        {Group::Common, "Common"},
        {Group::Wave, "Wave"},
        {Group::Tvf, "TVF"},
        {Group::Tva, "TVA"},
        {Group::Tvp, "TVP"},
        {Group::Lfo, "LFO"},
        {Group::Controllers, "Controllers"},
        {Group::Range, "Range"},
        {Group::Effects, "Effects"},
        {Group::Mixer, "Mixer"},
    };
    const QString name = QLatin1String(names.at(group));
    if (toneNumber >= 1 && group != Group::Common && group != Group::Effects)
        return QStringLiteral("Tone %1 ").arg(toneNumber) + name;
    return name;
}

namespace {
// The caption of the row that holds byte offset of a performance or rhythm
// block, with what it belongs to; the fallback for none.
QString captionAt(ParameterTable table, int offset, const QString &owner, const QString &fallback)
{
    for (const ParameterDef &p : table)
        if (offset >= p.offset && offset < p.offset + p.size())
            return QLatin1String(p.caption) + QStringLiteral(" (") + owner + QLatin1Char(')');
    return fallback;
}
} // namespace

QString PatchParameters::describe(const addr::Address &adrs)
{
    const QString fallback = QStringLiteral("Edit");
    if (adrs[0] == addr::AreaTempPerformance) {
        // The performance's effect block has the patch effect's layout.
        const int k = adrs[3] - PerformanceEffectBase;
        const Parameter *p = k >= 0 && adrs[2] == addr::BlockCommon
                                 ? find(Block::Common, addr::common::EffectType + k)
                                 : nullptr;
        if (p && p->group == Group::Effects)
            return p->label + QStringLiteral(" (performance)");
        if (adrs[2] == addr::BlockCommon)
            return captionAt(PerformanceParams::common(), adrs[3], QStringLiteral("performance"),
                             fallback);
        const int part = adrs[2] - addr::BlockPart1 + 1;
        if (part >= 1 && part <= addr::PerformancePartCount)
            return captionAt(PerformanceParams::part(), adrs[3],
                             QStringLiteral("part %1").arg(part), fallback);
        return fallback;
    }
    if (adrs[0] == addr::AreaPerformancePart && adrs[1] == addr::RhythmPart) {
        if (adrs[2] == addr::BlockCommon)
            return captionAt(RhythmParams::common(), adrs[3], QStringLiteral("rhythm set"),
                             fallback);
        if (RhythmImage::validKey(adrs[2]))
            return captionAt(RhythmParams::note(), adrs[3], QStringLiteral("key %1").arg(adrs[2]),
                             fallback);
        return fallback;
    }
    if (adrs[0] != addr::AreaTempPatch && adrs[0] != addr::AreaPerformancePart)
        return fallback;
    if (adrs[2] == addr::BlockCommon) {
        const Parameter *p = find(Block::Common, adrs[3]);
        return p ? p->label : fallback;
    }
    if (adrs[2] < addr::BlockTone1 || adrs[2] > addr::BlockTone4Odd)
        return fallback;
    const int toneNumber = (adrs[2] - addr::BlockTone1) / 2 + 1;
    const int offset = adrs[3] + ((adrs[2] - addr::BlockTone1) % 2 ? 0x80 : 0);
    const Parameter *p = find(Block::Tone, offset);
    return p ? p->label + QStringLiteral(" (tone %1)").arg(toneNumber) : fallback;
}
