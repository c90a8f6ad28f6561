// bank get and bank send: USER or CARD memory to and from a .syx file, place
// by place, through the librarian's transfer engine with its pacing,
// time-outs and retries.

#include "cli/cliargs.h"
#include "cli/clicommand.h"
#include "cli/clioutput.h"
#include "cli/connection.h"
#include "cli/transferargs.h"
#include "core/patchbank.h"
#include "core/syxfile.h"
#include "midi/banktransfer.h"

#include <QEventLoop>
#include <algorithm>
#include <exception>

namespace cli {

namespace {

using Outcome = BankTransfer::Outcome;

constexpr char GetName[] = "bank get";
constexpr char SendName[] = "bank send";
const QString CardFlag = QStringLiteral("--card");

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '));
}

// Runs the transfer that was just started to its end.
Outcome waitFor(BankTransfer &transfer, QString &message)
{
    Outcome outcome = Outcome::Failed;
    QEventLoop loop;
    QObject::connect(&transfer, &BankTransfer::finished, &loop,
                     [&](Outcome o, const QString &text) {
                         outcome = o;
                         message = oneLine(text);
                         loop.quit();
                     });
    if (transfer.busy())
        loop.exec();
    return outcome;
}

bool takePlace(QStringList &args, const QString &option, int &place, QString &error)
{
    QString text;
    if (!takeOptionValue(args, option, text, error))
        return false;
    if (text.isEmpty())
        return true;
    bool ok = false;
    place = text.toInt(&ok, 10);
    if (!ok || !PatchBank::validPlace(place)) {
        error = QStringLiteral("%1 takes a place from 1 to %2, not '%3'")
                    .arg(option)
                    .arg(PatchBank::PlaceCount)
                    .arg(text);
        return false;
    }
    return true;
}

bool oneSyxFile(const QStringList &args, QString &error)
{
    if (!noOptionsLeft(args, error))
        return false;
    if (args.size() != 1) {
        error = QStringLiteral("needs exactly one .syx file");
        return false;
    }
    return true;
}

bool sameBlocks(const PatchImage &a, const PatchImage &b)
{
    for (int k = 0; k < addr::SlotCount; ++k)
        if (!std::equal(a.slotData(k), a.slotData(k) + addr::blockSize(k), b.slotData(k)))
            return false;
    return true;
}

// Runs of consecutive places, each one fetch.
QList<QList<int>> runsOf(const QList<int> &places)
{
    QList<QList<int>> runs;
    for (int p : places) {
        if (runs.isEmpty() || runs.last().last() + 1 != p)
            runs.append(QList<int>());
        runs.last().append(p);
    }
    return runs;
}

// A partial fetch writes nothing: a file under the name asked for would
// look like the whole range, and would replace an earlier complete backup.
int runGet(QStringList argsIn, QTextStream &out, QTextStream &err)
{
    TransferArgs t;
    QString error;
    int first = 1;
    int last = PatchBank::PlaceCount;
    if (!takeTransferArgs(argsIn, t, error))
        return usage(err, GetName, error);
    const bool card = takeFlag(t.args, CardFlag);
    if (!takePlace(t.args, QStringLiteral("--from"), first, error) ||
        !takePlace(t.args, QStringLiteral("--to"), last, error) || !oneSyxFile(t.args, error))
        return usage(err, GetName, error);
    if (first > last)
        return usage(err, GetName,
                     QStringLiteral("--from %1 lies above --to %2").arg(first).arg(last));

    Connection c(t.port, t.unit, err, GetName);
    if (!c.open(t.port, error))
        return failure(err, GetName, error);
    BankTransfer transfer(c.link.state, c.link.protocol);
    PatchBank bank;
    transfer.fetch(card, first, last, &bank);
    const Outcome outcome = waitFor(transfer, error);
    if (outcome != Outcome::Complete)
        return failure(err, GetName,
                       error + QStringLiteral(" Nothing was written to \"%1\".").arg(t.args[0]));

    QByteArray bytes;
    for (int p = first; p <= last; ++p)
        bytes += SyxFile::placePatch(*bank.patch(p), card, p, t.unit);
    const FileResult written = SyxFile::write(t.args[0], bytes);
    if (!written)
        return failure(err, GetName, written.error);
    QList<int> range;
    for (int p = first; p <= last; ++p)
        range.append(p);
    out << t.args[0] << ": " << range.size() << " patches from "
        << BankTransfer::placesText(card, range) << ", " << written.bytes << " bytes\n";
    return ExitOk;
}

// The patches of a file as places to write, or why the file is refused, as
// a sentence.
// Anything the reader skipped, a patch for no place and two patches for one
// place refuse the whole file: a write cannot be taken back.
bool placesOf(const QString &path, PatchBank &bank, QList<int> &places, QString &error)
{
    const SyxReadReport report = SyxFile::read(path);
    if (!report.ok) {
        error = report.error;
        return false;
    }
    error = QStringLiteral("\"%1\": ").arg(path);
    const int skipped = report.badChecksum + report.incomplete + report.otherModel +
                        report.notPatch + report.malformed + report.conflicting;
    if (skipped > 0) {
        error += report.summary();
        if (!report.problems.isEmpty())
            error += QStringLiteral(", first: ") + report.problems.first();
        error += QLatin1Char('.');
        return false;
    }
    for (const SyxPatch &p : report.patches) {
        const bool placed = p.destination == SyxPatch::Destination::User ||
                            p.destination == SyxPatch::Destination::Card;
        if (!placed) {
            error += QStringLiteral("it holds a patch for no USER or CARD place; write that one "
                                    "with tessiva-cli write.");
            return false;
        }
        if (bank.has(p.index)) {
            error += QStringLiteral("it holds two patches for place %1.").arg(p.index);
            return false;
        }
        bank.setPatch(p.index, p.image, false);
    }
    for (int p = 1; p <= PatchBank::PlaceCount; ++p)
        if (bank.has(p))
            places.append(p);
    return true;
}

// Success is reported only once every place written has been read back the
// same: a unit with protected memory takes the messages and keeps its old
// patches, and a slow interface may drop a message unseen.
int runSend(QStringList argsIn, QTextStream &out, QTextStream &err)
{
    TransferArgs t;
    QString error;
    if (!takeTransferArgs(argsIn, t, error))
        return usage(err, SendName, error);
    const bool card = takeFlag(t.args, CardFlag);
    if (!oneSyxFile(t.args, error))
        return usage(err, SendName, error);
    PatchBank bank;
    QList<int> places;
    if (!placesOf(t.args[0], bank, places, error))
        return failure(err, SendName, error + QStringLiteral(" Nothing was sent."));

    Connection c(t.port, t.unit, err, SendName);
    if (!c.open(t.port, error))
        return failure(err, SendName, error);
    BankTransfer transfer(c.link.state, c.link.protocol);
    transfer.send(card, places, bank);
    if (waitFor(transfer, error) != Outcome::Complete)
        return failure(err, SendName, error);

    PatchBank back;
    for (const QList<int> &run : runsOf(places)) {
        transfer.fetch(card, run.first(), run.last(), &back);
        if (waitFor(transfer, error) != Outcome::Complete)
            return failure(err, SendName,
                           QStringLiteral("the places were sent, but reading them back failed: ") +
                               error);
    }
    QList<int> differ;
    for (int p : places)
        if (!sameBlocks(*back.patch(p), *bank.patch(p)))
            differ.append(p);
    if (!differ.isEmpty())
        return failure(err, SendName,
                       QStringLiteral("after the write the unit's %1 differ from the file; is its "
                                      "memory protected?")
                           .arg(BankTransfer::placesText(card, differ)));
    out << places.size() << " patches written to " << BankTransfer::placesText(card, places)
        << " and read back the same\n";
    return ExitOk;
}

int runBank(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    QStringList args = argsIn;
    const QString what = args.isEmpty() ? QString() : args.takeFirst();
    try {
        if (what == QLatin1String("get"))
            return runGet(args, out, err);
        if (what == QLatin1String("send"))
            return runSend(args, out, err);
    } catch (const std::exception &e) {
        return failure(err, what == QLatin1String("get") ? GetName : SendName,
                       QString::fromUtf8(e.what()));
    }
    return usage(err, "bank",
                 what.isEmpty() ? QStringLiteral("needs get or send")
                                : QStringLiteral("get or send, not '%1'").arg(what));
}

} // namespace

QList<Command> bankCommands()
{
    return {
        {"bank",
         "get --port DEV [--unit N] [--card] [--from N] [--to M] OUT.syx | "
         "send --port DEV [--unit N] [--card] IN.syx",
         "fetch USER (or CARD) places 1..128 into a .syx file, or write a file's places and read "
         "them back; a partial fetch writes no file",
         runBank},
    };
}

} // namespace cli
