// syx2pat, pat2syx and syxinfo: .syx dumps taken apart into patch files,
// patch files made into dumps, and what a dump holds, with the same reader
// and writer as the window.

#include "cli/cliargs.h"
#include "cli/clicommand.h"
#include "cli/clioutput.h"
#include "core/editstate.h"
#include "core/patchfile.h"
#include "core/syxfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cstring>

namespace cli {

namespace {

const QString UserOption = QStringLiteral("--user");
constexpr int PlaceDigits = 3;
constexpr int PartDigits = 2;
constexpr char Replacement = '_';
constexpr char FirstPrintable = 0x20;
constexpr char LastPrintable = 0x7E;
// Refused in file names by some file system.
constexpr char Unsafe[] = "/\\:*?\"<>|";

QString placePrefix(const SyxPatch &p)
{
    const auto number = [&](int digits) {
        return QString::number(p.index).rightJustified(digits, QLatin1Char('0'));
    };
    switch (p.destination) {
    case SyxPatch::Destination::User:
        return QLatin1Char('U') + number(PlaceDigits);
    case SyxPatch::Destination::Card:
        return QLatin1Char('C') + number(PlaceDigits);
    case SyxPatch::Destination::Part:
        return QLatin1Char('P') + number(PartDigits);
    case SyxPatch::Destination::Temporary:
        break;
    }
    return QStringLiteral("TMP");
}

// "U012 Super JV Pad": the place, then the name without its closing blanks,
// every character a file system could refuse made '_'.
QString baseName(const SyxPatch &p)
{
    QString name;
    for (const char c : p.image.name()) {
        const bool safe = c >= FirstPrintable && c <= LastPrintable && !std::strchr(Unsafe, c);
        name += QLatin1Char(safe ? c : Replacement);
    }
    name = name.trimmed();
    const QString prefix = placePrefix(p);
    return name.isEmpty() ? prefix : prefix + QLatin1Char(' ') + name;
}

// A name no file in dir has yet, nor one written before in this run, also
// where letter case does not count: "NAME.pat", else "NAME (2).pat", ...
QString freeFileName(const QDir &dir, const QString &base, QSet<QString> &taken)
{
    QString name = base + QLatin1String(PatchFile::Suffix);
    for (int n = 2; taken.contains(name.toLower()) || QFileInfo::exists(dir.filePath(name)); ++n)
        name = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(QLatin1String(PatchFile::Suffix));
    taken.insert(name.toLower());
    return name;
}

// What was skipped, on stderr: the summary, then one line each.
void tellSkipped(QTextStream &err, const char *command, const SyxReadReport &r)
{
    err << "tessiva-cli " << command << ": " << r.summary() << '\n';
    for (const QString &line : r.problems)
        err << "  " << line << '\n';
}

bool positional(const QStringList &args, int count, const char *what, QString &error)
{
    if (!noOptionsLeft(args, error))
        return false;
    if (args.size() != count) {
        error = QStringLiteral("needs %1").arg(QLatin1String(what));
        return false;
    }
    return true;
}

// A file that gave no patch: its reason and what was found instead.
int unreadable(QTextStream &err, const char *command, const SyxReadReport &r)
{
    failure(err, command, r.error);
    if (r.messages > 0)
        tellSkipped(err, command, r);
    return ExitFailure;
}

int runSyxToPat(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const char *const command = "syx2pat";
    QString error;
    if (!positional(args, 2, "a .syx file and a folder", error))
        return usage(err, command, error);
    const SyxReadReport report = SyxFile::read(args[0]);
    if (!report.ok)
        return unreadable(err, command, report);
    const QDir dir(args[1]);
    if (!QFileInfo(args[1]).isDir() && !QDir().mkpath(args[1]))
        return failure(err, command,
                       QStringLiteral("\"%1\" is no folder and could not be made one")
                           .arg(QDir::toNativeSeparators(args[1])));

    QSet<QString> taken;
    int failed = 0;
    for (const SyxPatch &p : report.patches) {
        const QString name = freeFileName(dir, baseName(p), taken);
        const FileResult written = PatchFile::Write(dir.filePath(name), p.image);
        if (!written) {
            err << "tessiva-cli " << command << ": " << written.error << '\n';
            ++failed;
            continue;
        }
        out << name << ": " << p.placeText() << " \"" << shownName(p.image.name()) << "\"\n";
    }
    if (report.skippedCount() > 0)
        tellSkipped(err, command, report);
    if (failed > 0)
        err << "tessiva-cli " << command << ": " << failed << " of " << report.patches.size()
            << " patch files could not be written\n";
    return failed > 0 || report.skippedCount() > 0 ? ExitFailure : ExitOk;
}

int runPatToSyx(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    const char *const command = "pat2syx";
    QStringList args = argsIn;
    QString error, user;
    int unit = EditState::DefaultUnitId;
    if (!takeOptionValue(args, UserOption, user, error) || !takeUnit(args, unit, error) ||
        !positional(args, 2, "a patch file and a .syx file", error))
        return usage(err, command, error);
    int place = 0;
    if (!user.isEmpty()) {
        bool ok = false;
        place = user.toInt(&ok, 10);
        if (!ok || !PatchBank::validPlace(place))
            return usage(err, command,
                         QStringLiteral("patch number must be 1 to %1, not '%2'")
                             .arg(PatchBank::PlaceCount)
                             .arg(user));
    }
    PatchImage image;
    const FileResult read = PatchFile::Read(args[0], image);
    if (!read)
        return failure(err, command, read.error);
    const QByteArray bytes = place > 0 ? SyxFile::placePatch(image, false, place, unit)
                                       : SyxFile::temporaryPatch(image, unit);
    const FileResult written = SyxFile::write(args[1], bytes);
    if (!written)
        return failure(err, command, written.error);
    const QString where = place > 0 ? SyxPatch{SyxPatch::Destination::User, place, {}}.placeText()
                                    : QStringLiteral("the temporary patch");
    out << args[1] << ": " << written.bytes << " bytes, patch \"" << shownName(image.name())
        << "\" for " << where << '\n';
    return ExitOk;
}

int runSyxInfo(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const char *const command = "syxinfo";
    QString error;
    if (!positional(args, 1, "exactly one .syx file", error))
        return usage(err, command, error);
    const SyxReadReport report = SyxFile::read(args[0]);
    if (!report.ok)
        return unreadable(err, command, report);
    for (const SyxPatch &p : report.patches)
        out << p.placeText() << " \"" << shownName(p.image.name()) << "\" ok\n";
    for (const QString &line : report.problems)
        out << "skipped: " << line << '\n';
    out << report.summary() << '\n';
    if (report.skippedCount() == 0)
        return ExitOk;
    return failure(err, command, report.summary());
}

} // namespace

QList<Command> syxCommands()
{
    return {
        {"syx2pat", "IN.syx OUT_DIR",
         "write every whole patch of a .syx dump as a patch file named from its place and name",
         runSyxToPat},
        {"pat2syx", "[--user N] [--unit N] IN.pat OUT.syx",
         "make a patch file a .syx dump for the temporary patch, or for USER place N (1..128)",
         runPatToSyx},
        {"syxinfo", "FILE.syx",
         "list the patches of a .syx dump (place, name, status) and what "
         "was skipped",
         runSyxInfo},
    };
}

} // namespace cli
