#pragma once
// Every parameter of a patch as the screens show it: the screen group it
// belongs to, its name, the bytes it takes and how its stored value reads
// (a note name, a pan position, an effect value text...). The patch sheet
// prints from it; the edit history names its steps from it.

#include "core/addressmap.h"

#include <QString>
#include <QStringList>
#include <vector>

class PatchParameters
{
public:
    enum class Block
    {
        Common,
        Tone,
    };
    // Groups in the order the sheet lists them; tone groups repeat per tone.
    enum class Group
    {
        Common,
        Wave,
        Tvf,
        Tva,
        Tvp,
        Lfo,
        Controllers,
        Range,
        Effects,
        Mixer,
    };
    enum class Format
    {
        Number,          // the stored value
        Offset,          // stored - centre
        Sensitivity,     // 2 x stored - 100
        Negated,         // -stored
        List,            // items[stored]
        Switch,          // Off / On
        Note,            // note name
        Pan,             // L64 .. Cent .. 63R
        PitchDepth,      // cents
        HfDamp,          // frequency
        Booster,         // +0 .. +18
        Name,            // twelve characters
        Tempo,           // two nibbles
        WaveGroup,       // group type and ID
        Wave,            // two nibbles, number and name
        EffectType,      // the type's name
        EffectParameter, // the type's slot label and value text
    };

    struct Parameter
    {
        Block block;
        int offset;
        int width; // bytes the value takes
        Group group;
        QString label;
        Format format;
        int centre = 0; // Offset: subtracted; PlusOne formats use -1
        QStringList items{};
    };

    // Common parameters, then tone parameters, each in sheet order.
    static const std::vector<Parameter> &all();
    // The parameter that holds byte offset of the block, or null.
    static const Parameter *find(Block block, int offset);
    // "Cutoff (tone 2)", "Patch Level", "EFX Type (performance)": what a
    // data set to adrs changes, for the undo and redo menu items.
    static QString describe(const addr::Address &adrs);
    // "Common", "Tone 2 TVF", "Effects".
    static QString groupName(Group group, int tone);
};
