#pragma once
// A bank of 128 patch places: the USER or CARD memory of a unit as far as it
// was fetched, or the patches of a .syx file. A place may be empty (never
// fetched, or missing from the file). Places count 1..128.

#include "core/patchimage.h"

#include <QByteArray>
#include <array>
#include <optional>

class PatchBank
{
public:
    static constexpr int PlaceCount = addr::PatchCount;

    static bool validPlace(int place) { return place >= 1 && place <= PlaceCount; }

    bool has(int place) const;
    // Null for an empty place or a place outside 1..128.
    const PatchImage *patch(int place) const;
    // The patch name as stored (12 characters), empty for an empty place.
    QByteArray name(int place) const;

    // Puts a patch into a place. markChanged tells whether the place now
    // differs from what was fetched or opened (an edit, a drop, a paste).
    void setPatch(int place, const PatchImage &image, bool markChanged);
    void clear(int place);
    void clearAll();

    // Changed since the bank was fetched or opened.
    bool changed(int place) const;
    void setChanged(int place, bool changed);
    void clearChanged();

    int filledCount() const;
    int firstFreePlace() const; // 0 when the bank is full

    bool operator==(const PatchBank &) const = default;

private:
    struct Place
    {
        std::optional<PatchImage> patch;
        bool changed = false;
        bool operator==(const Place &) const = default;
    };
    std::array<Place, PlaceCount> places_{};
};
