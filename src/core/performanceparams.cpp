#include "core/performanceparams.h"

namespace {
using K = ParameterDef::Kind;
using T = ParameterTexts::List;

constexpr int Full = 127;
constexpr int Depth = 126; // -63..+63
constexpr int DepthCentre = -63;
constexpr int MaxReserve = 64;

constexpr ParameterDef Common[] = {
    {"EPerfName", "Name", 0x00, K::Name, 0x20, 0x7F},
    {"CbEfxSource", "EFX Source", 0x0C, K::List, 0, 15, 0, T::EfxSource},
    {"CbEfxType", "EFX Type", 0x0D, K::List, 0, 39, 0, T::EfxType},
    {"SpEfxParam1", "Param 1", 0x0E, K::Number, 0, Full},
    {"SpEfxParam2", "Param 2", 0x0F, K::Number, 0, Full},
    {"SpEfxParam3", "Param 3", 0x10, K::Number, 0, Full},
    {"SpEfxParam4", "Param 4", 0x11, K::Number, 0, Full},
    {"SpEfxParam5", "Param 5", 0x12, K::Number, 0, Full},
    {"SpEfxParam6", "Param 6", 0x13, K::Number, 0, Full},
    {"SpEfxParam7", "Param 7", 0x14, K::Number, 0, Full},
    {"SpEfxParam8", "Param 8", 0x15, K::Number, 0, Full},
    {"SpEfxParam9", "Param 9", 0x16, K::Number, 0, Full},
    {"SpEfxParam10", "Param 10", 0x17, K::Number, 0, Full},
    {"SpEfxParam11", "Param 11", 0x18, K::Number, 0, Full},
    {"SpEfxParam12", "Param 12", 0x19, K::Number, 0, Full},
    {"CbEfxOutput", "Output", 0x1A, K::List, 0, 2, 0, T::EfxOutput},
    {"SpEfxLevel", "Out Level", 0x1B, K::Number, 0, Full},
    {"SpEfxChorus", "Chorus Send", 0x1C, K::Number, 0, Full},
    {"SpEfxReverb", "Reverb Send", 0x1D, K::Number, 0, Full},
    {"CbEfxCtrl1", "Ctrl Source 1", 0x1E, K::List, 0, 10, 0, T::ControlSource},
    {"SpEfxDepth1", "Ctrl Depth 1", 0x1F, K::Number, 0, Depth, DepthCentre},
    {"CbEfxCtrl2", "Ctrl Source 2", 0x20, K::List, 0, 10, 0, T::ControlSource},
    {"SpEfxDepth2", "Ctrl Depth 2", 0x21, K::Number, 0, Depth, DepthCentre},
    {"SpChoLevel", "Level", 0x22, K::Number, 0, Full},
    {"SpChoRate", "Rate", 0x23, K::Number, 0, Full},
    {"SpChoDepth", "Depth", 0x24, K::Number, 0, Full},
    {"SpChoDelay", "Pre-Delay", 0x25, K::Number, 0, Full},
    {"SpChoFeedback", "Feedback", 0x26, K::Number, 0, Full},
    {"CbChoOutput", "Output", 0x27, K::List, 0, 2, 0, T::ChorusOutput},
    {"CbRevType", "Type", 0x28, K::List, 0, 7, 0, T::ReverbType},
    {"SpRevLevel", "Level", 0x29, K::Number, 0, Full},
    {"SpRevTime", "Time", 0x2A, K::Number, 0, Full},
    {"CbRevDamp", "HF Damp", 0x2B, K::List, 0, 17, 0, T::HfDamp},
    {"SpRevFeedback", "Feedback", 0x2C, K::Number, 0, Full},
    {"SpPerfTempo", "Tempo", 0x2D, K::NibblePair, 20, 250},
    {"ChKeyRange", "Key Range", 0x2F, K::Switch, 0, 1},
    {"SpReserve1", "Voices", 0x30, K::Number, 0, MaxReserve},
    {"SpReserve2", "Voices", 0x31, K::Number, 0, MaxReserve},
    {"SpReserve3", "Voices", 0x32, K::Number, 0, MaxReserve},
    {"SpReserve4", "Voices", 0x33, K::Number, 0, MaxReserve},
    {"SpReserve5", "Voices", 0x34, K::Number, 0, MaxReserve},
    {"SpReserve6", "Voices", 0x35, K::Number, 0, MaxReserve},
    {"SpReserve7", "Voices", 0x36, K::Number, 0, MaxReserve},
    {"SpReserve8", "Voices", 0x37, K::Number, 0, MaxReserve},
    {"SpReserve9", "Voices", 0x38, K::Number, 0, MaxReserve},
    {"SpReserve10", "Voices", 0x39, K::Number, 0, MaxReserve},
    {"SpReserve11", "Voices", 0x3A, K::Number, 0, MaxReserve},
    {"SpReserve12", "Voices", 0x3B, K::Number, 0, MaxReserve},
    {"SpReserve13", "Voices", 0x3C, K::Number, 0, MaxReserve},
    {"SpReserve14", "Voices", 0x3D, K::Number, 0, MaxReserve},
    {"SpReserve15", "Voices", 0x3E, K::Number, 0, MaxReserve},
    {"SpReserve16", "Voices", 0x3F, K::Number, 0, MaxReserve},
};

// Patch numbers are 0..254 on the JV-1080 (001..255); part 10 reads the
// same bytes as its rhythm set number.
constexpr ParameterDef Part[] = {
    {"ChRcv", "Rx", 0x00, K::Switch, 0, 1},
    {"SpChan", "Ch", 0x01, K::Number, 0, 15, 1},
    {"CbGroup", "Group", 0x02, K::Group, 0, 2},
    {"SpPatch", "Patch", 0x04, K::NibblePair, 0, 254, 1},
    {"SpLevel", "Level", 0x06, K::Number, 0, Full},
    {"SpPan", "Pan", 0x07, K::Number, 0, Full, -64},
    {"SpCoarse", "Coarse", 0x08, K::Number, 0, 96, -48},
    {"SpFine", "Fine", 0x09, K::Number, 0, 100, -50},
    {"CbOutput", "Output", 0x0A, K::List, 0, 4, 0, T::PartOutput},
    {"SpOutLevel", "Out Lev", 0x0B, K::Number, 0, Full},
    {"SpChoSend", "Chorus", 0x0C, K::Number, 0, Full},
    {"SpRevSend", "Reverb", 0x0D, K::Number, 0, Full},
    {"ChRcvPrg", "Prg", 0x0E, K::Switch, 0, 1},
    {"ChRcvVol", "Vol", 0x0F, K::Switch, 0, 1},
    {"ChRcvHold", "Hold", 0x10, K::Switch, 0, 1},
    {"CbKeyLo", "Key Lower", 0x11, K::List, 0, Full, 0, T::Notes},
    {"CbKeyHi", "Key Upper", 0x12, K::List, 0, Full, 0, T::Notes},
};
} // namespace

ParameterTable PerformanceParams::common()
{
    return Common;
}

ParameterTable PerformanceParams::part()
{
    return Part;
}
