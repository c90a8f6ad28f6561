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
