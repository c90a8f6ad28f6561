#include "core/ptvpparameter.h"

#include <cstring>

namespace {
using K = PtvpParameter::Kind;

constexpr int CoarseCentre = 48;
constexpr int FineCentre = 50;
constexpr int DepthCentre = 63;
constexpr int EnvDepthCentre = 12;
constexpr int SensitivityOffset = 100;
constexpr int RandomDepthMax = 30;

QStringList keyfollow()
{
    return {QStringLiteral("-100"), QStringLiteral(" -70"), QStringLiteral(" -50"),
            QStringLiteral(" -30"), QStringLiteral(" -10"), QStringLiteral("  0"),
            QStringLiteral(" +10"), QStringLiteral(" +20"), QStringLiteral(" +30"),
            QStringLiteral(" +40"), QStringLiteral(" +50"), QStringLiteral(" +70"),
            QStringLiteral("+100"), QStringLiteral("+120"), QStringLiteral("+150"),
            QStringLiteral("+200")};
}

// Velocity time sensitivities and time keyfollow.
QStringList listB()
{
    return {QStringLiteral(" -100"), QStringLiteral("  -70"), QStringLiteral("  -50"),
            QStringLiteral("  -40"), QStringLiteral("  -30"), QStringLiteral("  -20"),
            QStringLiteral("  -10"), QStringLiteral("   0"),  QStringLiteral("  +10"),
            QStringLiteral("  +20"), QStringLiteral("  +30"), QStringLiteral("  +40"),
            QStringLiteral("  +50"), QStringLiteral("  +70"), QStringLiteral(" +100")};
}

std::vector<PtvpParameter> build()
{
    const QStringList b = listB();
    return {
        {0x3D, "SpCoarseT", K::Spin, -48, 48, CoarseCentre, false, false, {}},
        {0x3E, "SpFineT", K::Spin, -50, 50, FineCentre, false, false, {}},
        {0x3F, "SltRND", K::TextSlider, 0, RandomDepthMax, 0, false, false, {}},
        {0x40, "CbPiKeyFl", K::List, 0, 0, 0, false, false, keyfollow()},
        {0x41, "SlEnvDF", K::Slider, -12, 12, EnvDepthCentre, false, true, {}},
        {0x42, "SpEVelS", K::Spin, -100, 150, 0, true, false, {}},
        {0x43, "CbVT1Sens", K::List, 0, 0, 0, false, false, b},
        {0x44, "CbVT4Sens", K::List, 0, 0, 0, false, false, b},
        {0x45, "CbTKF", K::List, 0, 0, 0, false, false, b},
        {0x46, "SpTimeP1", K::Spin, 0, 127, 0, false, true, {}},
        {0x47, "SpTimeP2", K::Spin, 0, 127, 0, false, true, {}},
        {0x48, "SpTimeP3", K::Spin, 0, 127, 0, false, true, {}},
        {0x49, "SpTimeP4", K::Spin, 0, 127, 0, false, true, {}},
        {0x4A, "SpLevP1", K::Spin, -63, 63, DepthCentre, false, true, {}},
        {0x4B, "SpLevP2", K::Spin, -63, 63, DepthCentre, false, true, {}},
        {0x4C, "SpLevP3", K::Spin, -63, 63, DepthCentre, false, true, {}},
        {0x4D, "SpLevP4", K::Spin, -63, 63, DepthCentre, false, true, {}},
        {0x4E, "SpLFO1D", K::Spin, -63, 63, DepthCentre, false, false, {}},
        {0x4F, "SpLFO2D", K::Spin, -63, 63, DepthCentre, false, false, {}},
    };
}
} // namespace

int PtvpParameter::shown(int s) const
{
    return sensitivity ? 2 * s - SensitivityOffset : s - centre;
}

int PtvpParameter::stored(int v, int previousShown) const
{
    if (sensitivity)
        return (v + SensitivityOffset + (v > previousShown ? 1 : 0)) / 2;
    return v + centre;
}

int PtvpParameter::maxStored() const
{
    if (kind == Kind::List)
        return int(items.size()) - 1;
    return sensitivity ? (max + SensitivityOffset) / 2 : max + centre;
}

const std::vector<PtvpParameter> &PtvpParameter::table()
{
    static const std::vector<PtvpParameter> rows = build();
    return rows;
}

const PtvpParameter *PtvpParameter::find(const char *name)
{
    for (const PtvpParameter &p : table())
        if (std::strcmp(p.name, name) == 0)
            return &p;
    return nullptr;
}
