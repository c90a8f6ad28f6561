#pragma once
// The value texts of list parameters that both a screen and the patch sheet
// show, so the two never read differently. Indexed by the stored byte.

#include <QStringList>

class ParameterLists
{
public:
    // Controller destinations of a tone's three controllers.
    static const QStringList &controllerDestinations();
    // Patch control sources 2 and 3.
    static const QStringList &patchControlSources();
    // Effect control sources 1 and 2.
    static const QStringList &effectControlSources();
    static const QStringList &toneDelayModes();
    static const QStringList &waveGains();
    static const QStringList &reverbTypes();
};
