#pragma once

#include "midi/hublink.h"

// Stands in for the hub while it does not exist yet: the protocol is built
// before the hub window (which needs the protocol), and is pointed at the
// hub once that is there. Does nothing while no target is set.
class HubLinkRelay : public HubLink
{
public:
    void setTarget(HubLink *target) { target_ = target; }
    HubLink *target() const { return target_; }
    void AddOutLog(const QString &line) override
    {
        if (target_)
            target_->AddOutLog(line);
    }
    void AddInLog(const QString &line) override
    {
        if (target_)
            target_->AddInLog(line);
    }
    void LedOut() override
    {
        if (target_)
            target_->LedOut();
    }
    void LedIn() override
    {
        if (target_)
            target_->LedIn();
    }
    void PlayEditNote() override
    {
        if (target_)
            target_->PlayEditNote();
    }

private:
    HubLink *target_ = nullptr;
};
