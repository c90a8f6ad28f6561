#pragma once
// Holds SendLock while a screen loads its controls from the image and puts
// back the state it found, so a load nested inside another load (a screen
// refreshed from B_UpdateAllClick) cannot open the lock early and send the
// rest of the outer load as edits.

#include "core/editstate.h"

class LoadScope
{
public:
    explicit LoadScope(EditState &state) : state_(state), previous_(state.SendLock)
    {
        state_.SendLock = true;
    }
    ~LoadScope() { state_.SendLock = previous_; }
    LoadScope(const LoadScope &) = delete;
    LoadScope &operator=(const LoadScope &) = delete;

private:
    EditState &state_;
    bool previous_;
};
