#pragma once
// One row of the filter and amplifier screen's parameter table: where the
// byte lives, which control shows it and how, and what a change redraws.
// The table drives building, loading and sending of every parameter control.

#include <QStringList>
#include <cstdint>
#include <vector>

struct PtvaParameter
{
    enum class Kind
    {
        Spin,
        Slider,
        List,
    };
    enum class Conversion
    {
        Same,        // shown = stored
        Signed63,    // shown = stored - 63 (depths)
        Signed64,    // shown = stored - 64 (pans)
        PlusOne,     // shown = stored + 1 (velocity curves)
        Sensitivity, // shown = 2 * stored - 100 (velocity sensitivities)
    };
    // What else changes with the value.
    enum class Effect
    {
        None,
        FilterGraph,
        AmpGraph,
        FilterPicture,
        BiasPicture,
        FilterCurve,
        AmpCurve,
        PanIndicator,
    };

    std::uint8_t offset;
    const char *name;
    Kind kind;
    int min; // shown range of spins and sliders
    int max;
    Conversion conversion;
    bool live; // also sends while the user rolls or drags
    Effect effect;
    QStringList items; // lists only

    int shown(int stored) const;
    // The byte a shown value stands for. Velocity sensitivities store
    // (shown + 100) div 2; a step up from previousShown rounds up instead,
    // so a one-step change always reaches the next stored value.
    int stored(int shownValue, int previousShown) const;

    // The whole table in offset order.
    static const std::vector<PtvaParameter> &table();
    static const PtvaParameter *find(const char *name);
};
