// Renders the program picture as the desktop's icon files, one folder per
// size: makeicons <output folder> <file name> <size>...
// Each size is drawn afresh rather than scaled from a large one, so the
// small icons keep their lines crisp.

#include "app/programpicture.h"

#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: makeicons <output folder> <file name> <size>...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "not a size: %s\n", argv[i]);
            return 2;
        }
        const QString folder = QString::number(size);
        const QString file = out.filePath(folder + QLatin1Char('/') + name);
        if (!out.mkpath(folder) || !ProgramPicture(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
