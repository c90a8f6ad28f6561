#pragma once
// What the protocol asks of the communication hub: log lines, lamps and the
// test note. The hub window implements it; until then, and in tests that do
// not care, the silent version does nothing.

#include <QString>

class HubLink
{
public:
    virtual ~HubLink() = default;
    virtual void AddOutLog(const QString &line) = 0;
    virtual void AddInLog(const QString &line) = 0;
    virtual void LedOut() = 0;
    virtual void LedIn() = 0;
    virtual void PlayEditNote() = 0;
};

class SilentHubLink : public HubLink
{
public:
    void AddOutLog(const QString &) override {}
    void AddInLog(const QString &) override {}
    void LedOut() override {}
    void LedIn() override {}
    void PlayEditNote() override {}
};

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
