#pragma once
// The one way the program tells the user something or asks a yes/no
// question. The window layer installs a sink that shows message boxes; tests
// install one that records the texts and answers from a script.

#include <QString>
#include <QStringList>

class InfoSink
{
public:
    virtual ~InfoSink() = default;
    // An information box with one OK button.
    virtual void ShowInfo(const QString &text) = 0;
    // A question box; true means the user confirmed.
    virtual bool Confirm(const QString &text, const QString &title) = 0;
};
