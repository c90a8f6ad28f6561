#include "core/ptvaparameter.h"

#include "core/displaytables.h"

#include <cstring>

namespace {
using K = PtvaParameter::Kind;
using C = PtvaParameter::Conversion;
using E = PtvaParameter::Effect;

constexpr int DepthCentre = 63;
constexpr int PanCentre = 64;
constexpr int SensitivityOffset = 100;
constexpr int MiddleC = 60;

// Sensitivity, keyfollow and bias-level steps shared by most lists.
QStringList listA()
{
    return {QStringLiteral("-100"), QStringLiteral("-70"), QStringLiteral("-50"),
            QStringLiteral("-40"),  QStringLiteral("-30"), QStringLiteral("-20"),
            QStringLiteral("-10"),  QStringLiteral(" 0"),  QStringLiteral("10"),
            QStringLiteral("20"),   QStringLiteral("30"),  QStringLiteral("40"),
            QStringLiteral("50"),   QStringLiteral("70"),  QStringLiteral("100")};
}

QStringList cutoffKeyfollow()
{
    return {QStringLiteral("-100"), QStringLiteral("-70"),  QStringLiteral("-50"),
            QStringLiteral("-30"),  QStringLiteral("-10"),  QStringLiteral("  0"),
            QStringLiteral("+10"),  QStringLiteral("+20"),  QStringLiteral("+30"),
            QStringLiteral("+40"),  QStringLiteral("+50"),  QStringLiteral("+70"),
            QStringLiteral("+100"), QStringLiteral("+120"), QStringLiteral("+150"),
            QStringLiteral("+200")};
}

// Middle C carries a mark of its own in the bias point list.
QStringList biasPoints()
{
    QStringList names;
    for (const QString &n : DisplayTables::instance().NoteNames)
        names << n;
    names[MiddleC] = QStringLiteral("-C4-m");
    return names;
}

std::vector<PtvaParameter> build()
{
    const QStringList a = listA();
    std::vector<PtvaParameter> t = {
        {0x50,
         "CbFtype",
         K::List,
         0,
         0,
         C::Same,
         false,
         E::FilterPicture,
         {QStringLiteral("OFF"), QStringLiteral("LowPass"), QStringLiteral("BndPass"),
          QStringLiteral("HighPass"), QStringLiteral("Peak")}},
        {0x51, "SlCutOffF", K::Slider, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x52, "CbCutKf", K::List, 0, 0, C::Same, false, E::FilterPicture, cutoffKeyfollow()},
        {0x53, "SlResF", K::Slider, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x54, "SpResVS", K::Spin, -100, 150, C::Sensitivity, false, E::None, {}},
        {0x55, "SlEnvDF", K::Slider, -63, 63, C::Signed63, true, E::FilterGraph, {}},
        {0x56, "SpVCF", K::Spin, 1, 7, C::PlusOne, true, E::FilterCurve, {}},
        {0x57, "SpEVelS", K::Spin, -100, 150, C::Sensitivity, true, E::None, {}},
        {0x58, "CbVT1Sens", K::List, 0, 0, C::Same, false, E::None, a},
        {0x59, "CbVT4Sens", K::List, 0, 0, C::Same, false, E::None, a},
        {0x5A, "CbTKF", K::List, 0, 0, C::Same, false, E::FilterPicture, a},
        {0x5B, "SpTimeF1", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x5C, "SpTimeF2", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x5D, "SpTimeF3", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x5E, "SpTimeF4", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x5F, "SpLevF1", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x60, "SpLevF2", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x61, "SpLevF3", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x62, "SpLevF4", K::Spin, 0, 127, C::Same, true, E::FilterGraph, {}},
        {0x63, "SpLFO1D", K::Spin, -63, 63, C::Signed63, false, E::None, {}},
        {0x64, "SpLFO2D", K::Spin, -63, 63, C::Signed63, false, E::None, {}},
        {0x65, "SlTLevel", K::Slider, 0, 127, C::Same, true, E::None, {}},
        {0x66,
         "CbBiasDir",
         K::List,
         0,
         0,
         C::Same,
         false,
         E::BiasPicture,
         {QStringLiteral("Lower"), QStringLiteral("Upper"), QStringLiteral("Low & Upp"),
          QStringLiteral("All")}},
        {0x67, "CbBiasPnt", K::List, 0, 0, C::Same, false, E::BiasPicture, biasPoints()},
        {0x68, "CbBiasLev", K::List, 0, 0, C::Same, false, E::BiasPicture, a},
        {0x69, "SpVCA", K::Spin, 1, 7, C::PlusOne, true, E::AmpCurve, {}},
        {0x6A, "SpEVSA", K::Spin, -100, 150, C::Sensitivity, true, E::None, {}},
        {0x6B, "CbVT1A", K::List, 0, 0, C::Same, false, E::None, a},
        {0x6C, "CbVT4A", K::List, 0, 0, C::Same, false, E::None, a},
        {0x6D, "CbTKFA", K::List, 0, 0, C::Same, false, E::None, a},
        {0x6E, "SpTimeA1", K::Spin, 0, 127, C::Same, true, E::AmpGraph, {}},
        {0x6F, "SpTimeA2", K::Spin, 0, 127, C::Same, true, E::AmpGraph, {}},
        {0x70, "SpTimeA3", K::Spin, 0, 127, C::Same, true, E::AmpGraph, {}},
        {0x71, "SpTimeA4", K::Spin, 0, 127, C::Same, true, E::AmpGraph, {}},
        {0x72, "SpLevA1", K::Spin, 0, 127, C::Same, true, E::AmpGraph, {}},
        {0x73, "SpLevA2", K::Spin, 0, 127, C::Same, true, E::AmpGraph, {}},
        {0x74, "SpLevA3", K::Spin, 0, 127, C::Same, true, E::AmpGraph, {}},
        {0x75, "SpLFO1A", K::Spin, -63, 63, C::Signed63, false, E::None, {}},
        {0x76, "SpLFO2A", K::Spin, -63, 63, C::Signed63, false, E::None, {}},
        {0x77, "SlTPan", K::Slider, -64, 63, C::Signed64, true, E::PanIndicator, {}},
        {0x78, "CbPanKFA", K::List, 0, 0, C::Same, false, E::None, a},
        {0x79, "SpRndPan", K::Spin, 0, 63, C::Same, false, E::None, {}},
        {0x7A, "SpAltPan", K::Spin, -63, 63, C::Signed64, false, E::None, {}},
    };
    return t;
}
} // namespace

int PtvaParameter::shown(int s) const
{
    switch (conversion) {
    case Conversion::Same:
        return s;
    case Conversion::Signed63:
        return s - DepthCentre;
    case Conversion::Signed64:
        return s - PanCentre;
    case Conversion::PlusOne:
        return s + 1;
    case Conversion::Sensitivity:
        return 2 * s - SensitivityOffset;
    }
    return s;
}

int PtvaParameter::stored(int v, int previousShown) const
{
    switch (conversion) {
    case Conversion::Same:
        return v;
    case Conversion::Signed63:
        return v + DepthCentre;
    case Conversion::Signed64:
        return v + PanCentre;
    case Conversion::PlusOne:
        return v - 1;
    case Conversion::Sensitivity:
        return (v + SensitivityOffset + (v > previousShown ? 1 : 0)) / 2;
    }
    return v;
}

const std::vector<PtvaParameter> &PtvaParameter::table()
{
    static const std::vector<PtvaParameter> rows = build();
    return rows;
}

const PtvaParameter *PtvaParameter::find(const char *name)
{
    for (const PtvaParameter &p : table())
        if (std::strcmp(p.name, name) == 0)
            return &p;
    return nullptr;
}
