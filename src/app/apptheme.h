#pragma once
// The colours of the program's windows. By default the desktop's own; with
// the dark switch, or when the desktop asks for a dark scheme that its
// palette does not bring, the Fusion style with a dark palette. The custom
// controls take their colours from the palette, so they follow either way.

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
    // Light text on a darker window.
    static bool isDark(const QPalette &palette);

    // Sets the style and palette for the mode. Following the system, a dark
    // scheme that Qt reports (6.5 and later) brings the dark palette, also
    // when the desktop switches while the program runs.
    static void apply(QApplication &app, Mode mode);

private:
    static void useDark(QApplication &app, bool dark);
};
