#pragma once
// The colours of the program's windows. By default the desktop's own; with
// the dark switch, or when Qt reports that the desktop prefers a dark
// scheme, the Fusion style with a dark palette. The custom controls take
// their colours from the palette, so they follow either way.

#include <QPalette>

class QApplication;

class AppTheme
{
public:
    enum class Mode
    {
        System,
        Dark
    };

    static QPalette darkPalette();
    // Sets the style and palette for the mode. Following the system, a dark
    // scheme that Qt reports (6.5 and later) brings the dark palette, also
    // when the desktop switches while the program runs.
    static void apply(QApplication &app, Mode mode);

private:
    static void useDark(QApplication &app, bool dark);
};
