#include "core/displaytables.h"

#include <utility>

namespace {

constexpr int MiddleC = 60;
constexpr int NotesPerOctave = 12;
constexpr int PanCentre = 64;

// Controller numbers 0..95 are MIDI controllers; 96 and 97 stand for pitch
// bend and channel aftertouch. Only these numbers have a name.
constexpr std::pair<int, const char *> NamedControllers[] = {
    {0, "Bank-Select"}, {1, "Modulation"},  {2, "Breath"},   {4, "Foot-Type"},
    {5, "Port-Time"},   {6, "Data-Entry"},  {7, "Volume"},   {8, "Balance"},
    {10, "Panpot"},     {11, "Expression"}, {64, "Hold-1"},  {65, "Portamento"},
    {66, "Sostenuto"},  {67, "Soft-ped."},  {69, "Hold-2"},  {91, "Reverb"},
    {92, "Tremolo"},    {93, "Chorus"},     {94, "Celeste"}, {95, "Phaser"},
    {96, "Bender"},     {97, "Aftertouch"},
};

// Fixed width of eight characters keeps the mixer column aligned.
constexpr const char *DampTexts[DisplayTables::HfDampCount] = {
    "  200 Hz", "  250 Hz", "  315 Hz", "  400 Hz", "  500 Hz", "  630 Hz",
    "  800 Hz", " 1000 Hz", " 1250 Hz", " 1600 Hz", " 2000 Hz", " 2500 Hz",
    " 3150 Hz", " 4000 Hz", " 5000 Hz", " 6300 Hz", " 8000 Hz", " BYPASS ",
};

constexpr const char *Letters[NotesPerOctave] = {"C",  "C#", "D",  "D#", "E",  "F",
                                                 "F#", "G",  "G#", "A",  "A#", "B"};

} // namespace

const DisplayTables &DisplayTables::instance()
{
    static const DisplayTables tables;
    return tables;
}

DisplayTables::DisplayTables()
{
    for (int n = 0; n < NoteCount; ++n)
        NoteNames[n] =
            QLatin1String(Letters[n % NotesPerOctave]) + QString::number(n / NotesPerOctave - 1);
    // Middle C is marked so it can be found at a glance in a key range.
    NoteNames[MiddleC] = QStringLiteral("-C4-");

    for (int n = 0; n < ControllerCount; ++n)
        ControllerNames[n] = QString::number(n);
    for (const auto &[number, name] : NamedControllers)
        ControllerNames[number] = QLatin1String(name);

    for (int n = 0; n < PanCount; ++n) {
        if (n < PanCentre)
            PanTexts[n] = QLatin1Char('L') + QString::number(PanCentre - n);
        else if (n == PanCentre)
            PanTexts[n] = QStringLiteral("Cent");
        else
            PanTexts[n] = QString::number(n - PanCentre) + QLatin1Char('R');
    }

    for (int n = 0; n < HfDampCount; ++n)
        HfDampTexts[n] = QLatin1String(DampTexts[n]);

    // Steps of 1 up to 9 cents, of 10 up to 100, of 100 up to 1200.
    for (int n = 0; n < PitchDepthCount; ++n) {
        int cents = n;
        if (n >= 20)
            cents = 100 * (n - 18);
        else if (n >= 10)
            cents = 10 * (n - 9);
        PitchDepthTexts[n] = QString::number(cents);
    }
}
