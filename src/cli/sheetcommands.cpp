// sheet and diff: a patch file as readable text, and what two patches set
// differently.

#include "cli/cliargs.h"
#include "cli/clicommand.h"
#include "core/patchfile.h"
#include "core/patchsheet.h"
#include "core/programdir.h"
#include "core/syxfile.h"
#include "core/wavenamelookup.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

const QString PlaceOption = QStringLiteral("--place");

int usage(QTextStream &err, const char *command, const QString &error)
{
    err << "tessiva-cli " << command << ": " << error << '\n';
    return ExitUsage;
}

// The patch of a .syx file: the one stored for USER or CARD place N when
// there is one, else the N-th patch of the file.
bool pickSyxPatch(const QString &path, int place, PatchImage &image, QString &error)
{
    const SyxReadReport report = SyxFile::read(path);
    if (!report.ok || report.patches.isEmpty()) {
        error =
            report.error.isEmpty() ? path + QStringLiteral(": no complete patch") : report.error;
        return false;
    }
    for (const SyxPatch &p : report.patches)
        if ((p.destination == SyxPatch::Destination::User ||
             p.destination == SyxPatch::Destination::Card) &&
            p.index == place) {
            image = p.image;
            return true;
        }
    if (place < 1 || place > report.patches.size()) {
        error = QStringLiteral("%1 holds %2 patches; there is no place %3")
                    .arg(path)
                    .arg(report.patches.size())
                    .arg(place);
        return false;
    }
    image = report.patches.at(place - 1).image;
    return true;
}

bool readPatch(const QString &path, int place, PatchImage &image, QString &error)
{
    if (SyxFile::hasSyxSuffix(path))
        return pickSyxPatch(path, place, image, error);
    const FileResult read = PatchFile::Read(path, image);
    error = read.error;
    return read.ok;
}

// The wave lists where the editor finds them: beside the program, in the
// installed data folder, or in the working folder.
WaveNameLookup waveLists()
{
    return WaveNameLookup(ProgramDir() + QLatin1String(ExpansionFolderName) + QLatin1Char('/'));
}

// Files and --place N; the place counts from 1.
bool takeFiles(QStringList args, int count, QStringList &files, int &place, QString &error)
{
    QString placeText;
    if (!takeOptionValue(args, PlaceOption, placeText, error) || !noOptionsLeft(args, error))
        return false;
    if (!placeText.isEmpty()) {
        bool ok = false;
        place = placeText.toInt(&ok);
        if (!ok || place < 1 || place > addr::PatchCount) {
            error = QStringLiteral("--place needs a number from 1 to %1").arg(addr::PatchCount);
            return false;
        }
    }
    if (args.size() != count) {
        error = count == 1 ? QStringLiteral("needs exactly one patch file")
                           : QStringLiteral("needs exactly two patch files");
        return false;
    }
    files = args;
    return true;
}

// The patches of the count files args name, read for command.
bool readPatches(const QStringList &args, const char *command, int count, QStringList &files,
                 QList<PatchImage> &patches, QTextStream &err)
{
    int place = 1;
    QString error;
    if (!takeFiles(args, count, files, place, error)) {
        usage(err, command, error);
        return false;
    }
    for (const QString &file : files) {
        PatchImage image;
        if (!readPatch(file, place, image, error)) {
            usage(err, command, error);
            return false;
        }
        patches.append(image);
    }
    return true;
}

int runSheet(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList files;
    QList<PatchImage> patch;
    if (!readPatches(args, "sheet", 1, files, patch, err))
        return ExitUsage;
    WaveNameLookup waves = waveLists();
    out << PatchSheet(&waves).text(patch[0], QStringLiteral("Patch sheet: ") +
                                                 QFileInfo(files[0]).fileName());
    return ExitOk;
}

int runDiff(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList files;
    QList<PatchImage> patches;
    if (!readPatches(args, "diff", 2, files, patches, err))
        return ExitUsage;
    WaveNameLookup waves = waveLists();
    const QString text = PatchSheet(&waves).diff(patches[0], patches[1]);
    out << text;
    return text.isEmpty() ? ExitOk : ExitFailure;
}

} // namespace

QList<Command> sheetCommands()
{
    return {
        {"sheet", "[--place N] FILE.pat|FILE.syx",
         "every parameter of a patch as the screens show it, grouped by screen; of a .syx file "
         "the patch of USER/CARD place N, else its N-th patch (default 1)",
         runSheet},
        {"diff", "[--place N] A B",
         "the parameters patches A and B set differently, A's value | B's; exit 0 and no "
         "output when they agree, 1 when they differ",
         runDiff},
    };
}

} // namespace cli
