// Writes the program picture as tessiva-<size>.png at the sizes the desktop
// icon theme is installed in, using the very drawing the program shows.
//
// Usage: makeicon <output folder>

#include "app/programpicture.h"

#include <QDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeicon <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {48, 64, 128, 256}) {
        const QString name = out.filePath(QStringLiteral("tessiva-%1.png").arg(size));
        if (!ProgramPicture(size).save(name, "PNG")) {
            std::fprintf(stderr, "makeicon: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
