#pragma once
// One row of the pitch screen's parameter table: where the byte lives, which
// control shows it and how. The table drives building, loading and sending.

#include <QStringList>
#include <cstdint>
#include <vector>

struct PtvpParameter
{
    enum class Kind
    {
        Spin,
        Slider,
        TextSlider, // the random pitch depth, shown as cents
        List,       // editable drop-down list, item index stored
    };

    std::uint8_t offset;
    const char *name;
    Kind kind;
    int min; // shown range of spins and sliders
    int max;
    // stored = shown + centre, except for velocity sensitivities.
    int centre;
    bool sensitivity;  // shown = 2 * stored - 100
    bool graph;        // a change redraws the envelope graph
    QStringList items; // lists only

    int shown(int stored) const;
    // The byte a shown value stands for. Sensitivities store
    // (shown + 100) div 2; a step up from previousShown rounds up instead, so
    // a one-step change always reaches the next stored value.
    int stored(int shownValue, int previousShown) const;
    // Highest byte the parameter may take.
    int maxStored() const;

    // The whole table in offset order, which is also the loading order.
    static const std::vector<PtvpParameter> &table();
    static const PtvpParameter *find(const char *name);
};
