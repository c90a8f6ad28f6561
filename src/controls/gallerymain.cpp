// Shows every custom control in a few states; with --png FILE the window is
// rendered to an image without appearing on screen.

#include "controls/gallery.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPalette>
#include <QPixmap>
#include <cstdio>

namespace {
void useDarkPalette(QApplication &app)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::WindowText, QColor(220, 220, 220));
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    p.setColor(QPalette::Text, QColor(230, 230, 230));
    p.setColor(QPalette::Button, QColor(60, 60, 64));
    p.setColor(QPalette::ButtonText, QColor(220, 220, 220));
    p.setColor(QPalette::Light, QColor(100, 100, 105));
    p.setColor(QPalette::Dark, QColor(20, 20, 22));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    app.setPalette(p);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption pngOption(QStringLiteral("png"),
                                       QStringLiteral("Write the window to FILE and quit."),
                                       QStringLiteral("FILE"));
    parser.addOption(pngOption);
    const QCommandLineOption darkOption(
        QStringLiteral("dark"), QStringLiteral("Use a dark palette, as a dark desktop would."));
    parser.addOption(darkOption);
    parser.process(app);
    if (parser.isSet(darkOption))
        useDarkPalette(app);

    TGallery gallery;
    if (!parser.isSet(pngOption)) {
        gallery.show();
        gallery.pose();
        return app.exec();
    }
    gallery.setAttribute(Qt::WA_DontShowOnScreen);
    gallery.show();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // The focused samples need an active window even though it is not shown.
    QApplication::setActiveWindow(&gallery);
#else
    gallery.activateWindow();
#endif
    gallery.pose();
    QApplication::processEvents();
    const QString file = parser.value(pngOption);
    if (!gallery.grab().save(file, "PNG")) {
        std::fprintf(stderr, "Could not write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}
