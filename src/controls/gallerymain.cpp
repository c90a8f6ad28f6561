// Shows every custom control in a few states; with --png FILE the window is
// rendered to an image without appearing on screen.

#include "controls/gallery.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption pngOption(QStringLiteral("png"),
                                       QStringLiteral("Write the window to FILE and quit."),
                                       QStringLiteral("FILE"));
    parser.addOption(pngOption);
    parser.process(app);

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
