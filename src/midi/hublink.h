#pragma once
// What the protocol asks of the communication hub: log lines, lamps and the
// test note. The hub window implements it.

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
