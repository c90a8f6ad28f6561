#include "app/apptheme.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleHints>

namespace {
constexpr char DarkStyle[] = "Fusion";

// Contrast of at least 7:1 between text and its background, and visible
// bevels: Light and Dark stay apart from Button, which the controls' frames
// are drawn from.
const QColor Window(0x2d, 0x2d, 0x30);
const QColor WindowText(0xdc, 0xdc, 0xdc);
const QColor Base(0x1e, 0x1e, 0x1e);
const QColor AlternateBase(0x2a, 0x2a, 0x2d);
const QColor Text(0xe6, 0xe6, 0xe6);
const QColor Button(0x3c, 0x3c, 0x40);
const QColor ButtonText(0xdc, 0xdc, 0xdc);
const QColor Light(0x64, 0x64, 0x69);
const QColor Midlight(0x50, 0x50, 0x55);
const QColor Mid(0x32, 0x32, 0x35);
const QColor Dark(0x14, 0x14, 0x16);
const QColor Shadow(0x00, 0x00, 0x00);
const QColor Highlight(0x2a, 0x82, 0xda);
const QColor HighlightedText(0xff, 0xff, 0xff);
const QColor Link(0x6c, 0xb4, 0xff);
const QColor ToolTipBase(0x3c, 0x3c, 0x40);
const QColor Disabled(0x80, 0x80, 0x80);
const QColor Placeholder(0x90, 0x90, 0x90);

QString &systemStyleName()
{
    static QString name;
    return name;
}
} // namespace

QPalette AppTheme::darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, Window);
    p.setColor(QPalette::WindowText, WindowText);
    p.setColor(QPalette::Base, Base);
    p.setColor(QPalette::AlternateBase, AlternateBase);
    p.setColor(QPalette::Text, Text);
    p.setColor(QPalette::Button, Button);
    p.setColor(QPalette::ButtonText, ButtonText);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Light, Light);
    p.setColor(QPalette::Midlight, Midlight);
    p.setColor(QPalette::Mid, Mid);
    p.setColor(QPalette::Dark, Dark);
    p.setColor(QPalette::Shadow, Shadow);
    p.setColor(QPalette::Highlight, Highlight);
    p.setColor(QPalette::HighlightedText, HighlightedText);
    p.setColor(QPalette::Link, Link);
    p.setColor(QPalette::LinkVisited, Link.darker(120));
    p.setColor(QPalette::ToolTipBase, ToolTipBase);
    p.setColor(QPalette::ToolTipText, WindowText);
    p.setColor(QPalette::PlaceholderText, Placeholder);
    for (QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        p.setColor(QPalette::Disabled, role, Disabled);
    p.setColor(QPalette::Disabled, QPalette::Highlight, Mid);
    return p;
}

void AppTheme::useDark(QApplication &app, bool dark)
{
    if (dark) {
        QApplication::setStyle(QStyleFactory::create(QLatin1String(DarkStyle)));
        app.setPalette(darkPalette());
        return;
    }
    if (!systemStyleName().isEmpty())
        QApplication::setStyle(QStyleFactory::create(systemStyleName()));
    // An empty palette hands the colours back to the platform.
    app.setPalette(QPalette());
}

void AppTheme::apply(QApplication &app, Mode mode)
{
    systemStyleName() = QApplication::style()->name();
    if (mode == Mode::Dark) {
        useDark(app, true);
        return;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // The desktop's style may keep light colours under a dark scheme.
    const auto follow = [&app](Qt::ColorScheme scheme) {
        useDark(app, scheme == Qt::ColorScheme::Dark);
    };
    if (QGuiApplication::styleHints()->colorScheme() == Qt::ColorScheme::Dark)
        follow(Qt::ColorScheme::Dark);
    QObject::connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, &app, follow);
#else
    // Qt reports no scheme before 6.5: a dark desktop shows only in the
    // platform's palette, which is already in use.
    Q_UNUSED(app);
#endif
}
