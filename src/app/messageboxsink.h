#pragma once
// The window program's InfoSink: every message and question is a modal
// message box over the active window, titled with the program's title
// (Application::Title) unless the question brings its own.

#include "core/infosink.h"

class MessageBoxSink : public InfoSink
{
public:
    void ShowInfo(const QString &text) override;
    // Yes and Cancel; Yes is the default button.
    bool Confirm(const QString &text, const QString &title) override;

    // The texts break lines with carriage returns, which a box would not
    // show as breaks.
    static QString displayText(const QString &text);

private:
    static QString boxTitle(const QString &title);
};
