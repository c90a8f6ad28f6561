#include "core/parameterlists.h"

const QStringList &ParameterLists::controllerDestinations()
{
    static const QStringList items{
        QStringLiteral("- OFF -"),     QStringLiteral("Pitch"),      QStringLiteral("Cutoff"),
        QStringLiteral("Resonance"),   QStringLiteral("Level"),      QStringLiteral("Pan"),
        QStringLiteral("Vol. Mixout"), QStringLiteral("Chorus"),     QStringLiteral("Reverb"),
        QStringLiteral("Pitch LFO1"),  QStringLiteral("Pitch LFO2"), QStringLiteral("Filter LFO1"),
        QStringLiteral("Filter LFO2"), QStringLiteral("Ampl. LFO1"), QStringLiteral("Ampl. LFO2"),
        QStringLiteral("Pan LFO1"),    QStringLiteral("Pan LFO2"),   QStringLiteral("Rate LFO1"),
        QStringLiteral("Rate LFO2")};
    return items;
}

const QStringList &ParameterLists::patchControlSources()
{
    static const QStringList items =
        effectControlSources() +
        QStringList{QStringLiteral("LFO 1"), QStringLiteral("LFO 2"), QStringLiteral("Velocity"),
                    QStringLiteral("KeyFollow"), QStringLiteral("Play-Mate")};
    return items;
}

const QStringList &ParameterLists::effectControlSources()
{
    static const QStringList items{
        QStringLiteral("OFF"),        QStringLiteral("Sys-Ctrl 1"), QStringLiteral("Sys-Ctrl 2"),
        QStringLiteral("Modulation"), QStringLiteral("Breath"),     QStringLiteral("Foot-Type"),
        QStringLiteral("Volume"),     QStringLiteral("Panpot"),     QStringLiteral("Expression"),
        QStringLiteral("Bender"),     QStringLiteral("Aftertouch")};
    return items;
}

const QStringList &ParameterLists::toneDelayModes()
{
    static const QStringList items{QStringLiteral("Normal"),       QStringLiteral("Hold"),
                                   QStringLiteral("Play-Mate"),    QStringLiteral("Clock-Sync"),
                                   QStringLiteral("Tap-Sync"),     QStringLiteral("Key Off Normal"),
                                   QStringLiteral("Key Off Decay")};
    return items;
}

const QStringList &ParameterLists::waveGains()
{
    static const QStringList items{QStringLiteral("  -6"), QStringLiteral("   0"),
                                   QStringLiteral(" +6"), QStringLiteral("+12")};
    return items;
}

const QStringList &ParameterLists::reverbTypes()
{
    static const QStringList items{QStringLiteral("Room 1"),  QStringLiteral("Room 2"),
                                   QStringLiteral("Stage 1"), QStringLiteral("Stage 2"),
                                   QStringLiteral("Hall 1"),  QStringLiteral("Hall 2"),
                                   QStringLiteral("Delay"),   QStringLiteral("Pan-Dly")};
    return items;
}
