#pragma once

#include "midi/hublink.h"

// Does nothing: for tools and tests that have no hub window.
class SilentHubLink : public HubLink
{
public:
    void AddOutLog(const QString &) override {}
    void AddInLog(const QString &) override {}
    void LedOut() override {}
    void LedIn() override {}
    void PlayEditNote() override {}
};
