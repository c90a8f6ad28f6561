#include "core/patchbank.h"

bool PatchBank::has(int place) const
{
    return validPlace(place) && places_[std::size_t(place - 1)].patch.has_value();
}

const PatchImage *PatchBank::patch(int place) const
{
    if (!has(place))
        return nullptr;
    return &*places_[std::size_t(place - 1)].patch;
}

QByteArray PatchBank::name(int place) const
{
    const PatchImage *p = patch(place);
    return p ? p->name() : QByteArray();
}

void PatchBank::setPatch(int place, const PatchImage &image, bool markChanged)
{
    if (!validPlace(place))
        return;
    Place &p = places_[std::size_t(place - 1)];
    p.patch = image;
    p.changed = markChanged;
}

void PatchBank::clear(int place)
{
    if (validPlace(place))
        places_[std::size_t(place - 1)] = Place{};
}

void PatchBank::clearAll()
{
    places_.fill(Place{});
}

bool PatchBank::changed(int place) const
{
    return validPlace(place) && places_[std::size_t(place - 1)].changed;
}

void PatchBank::setChanged(int place, bool changed)
{
    if (validPlace(place))
        places_[std::size_t(place - 1)].changed = changed;
}

void PatchBank::clearChanged()
{
    for (Place &p : places_)
        p.changed = false;
}

int PatchBank::filledCount() const
{
    int n = 0;
    for (const Place &p : places_)
        n += p.patch.has_value() ? 1 : 0;
    return n;
}

int PatchBank::firstFreePlace() const
{
    for (int i = 0; i < PlaceCount; ++i)
        if (!places_[std::size_t(i)].patch)
            return i + 1;
    return 0;
}
