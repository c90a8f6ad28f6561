#include "core/rhythmparams.h"

namespace {
using K = ParameterDef::Kind;
using T = ParameterTexts::List;

constexpr int Full = 127;
constexpr int Depth = 126; // -63..+63
constexpr int DepthCentre = -63;
constexpr int VeloSens = 125;
constexpr int TimeSens = 14;

constexpr ParameterDef Common[] = {
    {"ERhythmName", "Name", 0x00, K::Name, 0x20, 0x7F},
};

// The mute group stops at 31 (OFF, 1..31), as three of the four sources
// give it; the fourth rebuilt the value by counting.
constexpr ParameterDef Note[] = {
    {"ChNoteOn", "Note On", 0x00, K::Switch, 0, 1},
    {"CbWaveGroup", "Wave Group", 0x01, K::Group, 0, 2},
    {"SpWaveNo", "Wave", 0x03, K::NibblePair, 0, 254, 1},
    {"CbWaveGain", "Gain", 0x05, K::List, 0, 3, 0, T::WaveGain},
    {"SpBendRange", "Bend Range", 0x06, K::Number, 0, 12},
    {"CbMuteGroup", "Mute Group", 0x07, K::List, 0, 31, 0, T::MuteGroup},
    {"CbEnvMode", "Env Mode", 0x08, K::List, 0, 1, 0, T::EnvelopeMode},
    {"ChVolCtrl", "Volume Ctrl", 0x09, K::Switch, 0, 1},
    {"ChHoldCtrl", "Hold-1 Ctrl", 0x0A, K::Switch, 0, 1},
    {"CbPanCtrl", "Pan Ctrl", 0x0B, K::List, 0, 2, 0, T::PanControl},
    {"CbSourceKey", "Source Key", 0x0C, K::List, 0, Full, 0, T::Notes},
    {"SpFineTune", "Fine Tune", 0x0D, K::Number, 0, 100, -50},
    {"CbRandomPitch", "Random Pitch", 0x0E, K::List, 0, 30, 0, T::PitchDepth},
    {"SpPEnvDepth", "Depth", 0x0F, K::Number, 0, 24, -12},
    {"CbPEnvVelo", "Velo Sens", 0x10, K::List, 0, VeloSens, 0, T::VelocitySens},
    {"CbPEnvTime", "Time Sens", 0x11, K::List, 0, TimeSens, 0, T::VelocityTimeSens},
    {"SpPEnvT1", "T1", 0x12, K::Number, 0, Full},
    {"SpPEnvT2", "T2", 0x13, K::Number, 0, Full},
    {"SpPEnvT3", "T3", 0x14, K::Number, 0, Full},
    {"SpPEnvT4", "T4", 0x15, K::Number, 0, Full},
    {"SpPEnvL1", "L1", 0x16, K::Number, 0, Depth, DepthCentre},
    {"SpPEnvL2", "L2", 0x17, K::Number, 0, Depth, DepthCentre},
    {"SpPEnvL3", "L3", 0x18, K::Number, 0, Depth, DepthCentre},
    {"SpPEnvL4", "L4", 0x19, K::Number, 0, Depth, DepthCentre},
    {"CbFilterType", "Filter", 0x1A, K::List, 0, 4, 0, T::FilterType},
    {"SpCutoff", "Cutoff", 0x1B, K::Number, 0, Full},
    {"SpResonance", "Resonance", 0x1C, K::Number, 0, Full},
    {"CbResoVelo", "Reso Velo", 0x1D, K::List, 0, VeloSens, 0, T::VelocitySens},
    {"SpFEnvDepth", "Depth", 0x1E, K::Number, 0, Depth, DepthCentre},
    {"CbFEnvVelo", "Velo Sens", 0x1F, K::List, 0, VeloSens, 0, T::VelocitySens},
    {"CbFEnvTime", "Time Sens", 0x20, K::List, 0, TimeSens, 0, T::VelocityTimeSens},
    {"SpFEnvT1", "T1", 0x21, K::Number, 0, Full},
    {"SpFEnvT2", "T2", 0x22, K::Number, 0, Full},
    {"SpFEnvT3", "T3", 0x23, K::Number, 0, Full},
    {"SpFEnvT4", "T4", 0x24, K::Number, 0, Full},
    {"SpFEnvL1", "L1", 0x25, K::Number, 0, Full},
    {"SpFEnvL2", "L2", 0x26, K::Number, 0, Full},
    {"SpFEnvL3", "L3", 0x27, K::Number, 0, Full},
    {"SpFEnvL4", "L4", 0x28, K::Number, 0, Full},
    {"SpLevel", "Level", 0x29, K::Number, 0, Full},
    {"CbAEnvVelo", "Velo Sens", 0x2A, K::List, 0, VeloSens, 0, T::VelocitySens},
    {"CbAEnvTime", "Time Sens", 0x2B, K::List, 0, TimeSens, 0, T::VelocityTimeSens},
    {"SpAEnvT1", "T1", 0x2C, K::Number, 0, Full},
    {"SpAEnvT2", "T2", 0x2D, K::Number, 0, Full},
    {"SpAEnvT3", "T3", 0x2E, K::Number, 0, Full},
    {"SpAEnvT4", "T4", 0x2F, K::Number, 0, Full},
    {"SpAEnvL1", "L1", 0x30, K::Number, 0, Full},
    {"SpAEnvL2", "L2", 0x31, K::Number, 0, Full},
    {"SpAEnvL3", "L3", 0x32, K::Number, 0, Full},
    {"SpPan", "Pan", 0x33, K::Number, 0, Full, -64},
    {"SpRandomPan", "Random Pan", 0x34, K::Number, 0, 63},
    {"SpAltPan", "Alternate Pan", 0x35, K::Number, 1, Full, -64},
    {"CbOutput", "Output", 0x36, K::List, 0, 3, 0, T::ToneOutput},
    {"SpOutLevel", "Out Level", 0x37, K::Number, 0, Full},
    {"SpChoSend", "Chorus", 0x38, K::Number, 0, Full},
    {"SpRevSend", "Reverb", 0x39, K::Number, 0, Full},
};
} // namespace

ParameterTable RhythmParams::common()
{
    return Common;
}

ParameterTable RhythmParams::note()
{
    return Note;
}
