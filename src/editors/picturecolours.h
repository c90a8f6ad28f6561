#pragma once
// The fixed colours and the small font of the graphs and parameter pictures.

#include <QColor>
#include <QFont>

namespace pictures {

inline const QColor Grey{128, 128, 128};
inline const QColor Silver{192, 192, 192};
inline const QColor Black{0, 0, 0};
inline const QColor Olive{128, 128, 0};
inline const QColor Maroon{128, 0, 0};
inline const QColor Navy{0, 0, 128};
inline const QColor Yellow{255, 255, 0};
inline const QColor Blue{0, 0, 255};
inline const QColor Aqua{0, 255, 255};
inline const QColor White{255, 255, 255};

// Pixel heights of the small texts: graph labels and picture captions.
constexpr int GraphFontPixels = 8;
constexpr int PictureFontPixels = 9;

// Lines and texts on a background: black, as the pictures are drawn, but
// light on a dark background (a dark palette), where black would vanish.
QColor ink(const QColor &background);

// The application font at a small pixel size, so the texts keep their place
// in the pictures whatever the desktop's point sizes are.
QFont smallFont(int pixels);

} // namespace pictures
