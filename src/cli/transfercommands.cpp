// info, get, send and write: patch files listed, fetched from and sent to a
// synthesizer through the same protocol and transfer code as the window.

#include "cli/cliargs.h"
#include "cli/clicommand.h"
#include "cli/clioutput.h"
#include "cli/connection.h"
#include "cli/patchparamnames.h"
#include "cli/transferargs.h"
#include "core/editstate.h"
#include "core/patchfile.h"
#include "core/performancesyx.h"
#include "midi/parseobserver.h"
#include "midi/patchtransfer.h"
#include "midi/performancetransfer.h"
#include "midi/sysexmessage.h"

#include <QEventLoop>
#include <QTimer>
#include <exception>
#include <functional>
#include <optional>

namespace cli {

namespace {

const QString UserOption = QStringLiteral("--user");
const QString CardOption = QStringLiteral("--card");
const QString PerformanceOption = QStringLiteral("--performance");
const QString RhythmOption = QStringLiteral("--rhythm");

using Content = PerformanceTransfer::Content;

bool oneFile(const QStringList &args, QString &error)
{
    if (!noOptionsLeft(args, error))
        return false;
    if (args.size() != 1) {
        error = QStringLiteral("needs exactly one patch file");
        return false;
    }
    return true;
}

int runInfo(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString error;
    if (!oneFile(args, error))
        return usage(err, "info", error);
    PatchImage image;
    const FileResult read = PatchFile::Read(args[0], image);
    if (!read)
        return failure(err, "info", read.error);

    out << "name: " << shownName(image.name()) << '\n';
    const auto list = [&](const QString &block, int slot, const QStringList &names) {
        for (int i = 0; i < names.size(); ++i)
            out << block << " 0x" << sysex::hexByte(i) << ' ' << image.at(slot, i) << ' '
                << names[i] << '\n';
    };
    list(QStringLiteral("common"), 0, commonParameterNames());
    const QStringList toneNames = toneParameterNames();
    for (int t = 1; t <= addr::ToneCount; ++t)
        list(QStringLiteral("tone%1").arg(t), t, toneNames);
    return ExitOk;
}

// --performance or --rhythm: which, when one of them was given.
bool takeContent(QStringList &args, std::optional<Content> &content, QString &error)
{
    const bool performance = takeFlag(args, PerformanceOption);
    const bool rhythm = takeFlag(args, RhythmOption);
    if (performance && rhythm) {
        error = QStringLiteral("give --performance or --rhythm, not both");
        return false;
    }
    if (performance || rhythm)
        content = performance ? Content::Performance : Content::Rhythm;
    return true;
}

QString contentName(Content content)
{
    return content == Content::Performance ? QStringLiteral("performance")
                                           : QStringLiteral("rhythm set");
}

QByteArray contentNameBytes(const EditState &state, Content content)
{
    return content == Content::Performance ? state.performance.name() : state.rhythm.name();
}

// The temporary performance or part 10's rhythm set into a .syx file.
int getContent(const TransferArgs &t, Content content, QTextStream &out, QTextStream &err)
{
    Connection c(t.port, t.unit, err, "get");
    SynthLink &link = c.link;
    QString error;
    if (!c.open(t.port, error))
        return failure(err, "get", error);
    PerformanceTransfer transfer(link.state, link.protocol);
    PerformanceTransfer::Outcome outcome = PerformanceTransfer::Outcome::NoAnswer;
    QEventLoop loop;
    QObject::connect(&transfer, &PerformanceTransfer::fetchFinished, &loop,
                     [&](PerformanceTransfer::Outcome o) {
                         outcome = o;
                         loop.quit();
                     });
    try {
        if (content == Content::Performance)
            transfer.GetPerformance();
        else
            transfer.GetRhythm();
        if (transfer.fetching())
            loop.exec();
    } catch (const std::exception &e) {
        return failure(err, "get", QString::fromUtf8(e.what()));
    }
    if (outcome != PerformanceTransfer::Outcome::Complete) {
        const QString why =
            PerformanceTransfer::failureText(content, outcome, transfer.missingBlocks());
        return failure(err, "get", QString(why).replace(QLatin1Char('\r'), QLatin1Char(' ')));
    }
    const QByteArray bytes =
        content == Content::Performance
            ? PerformanceSyx::temporaryPerformance(link.state.performance, t.unit)
            : PerformanceSyx::temporaryRhythm(link.state.rhythm, t.unit);
    const FileResult written = PerformanceSyx::write(t.args[0], bytes);
    if (!written)
        return failure(err, "get", written.error);
    out << t.args[0] << ": " << written.bytes << " bytes, " << contentName(content) << " \""
        << shownName(contentNameBytes(link.state, content)) << "\"\n";
    return ExitOk;
}

int runGet(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    TransferArgs t;
    QString error;
    std::optional<Content> content;
    if (!takeTransferArgs(argsIn, t, error) || !takeContent(t.args, content, error) ||
        !oneFile(t.args, error))
        return usage(err, "get", error);
    if (content)
        return getContent(t, *content, out, err);
    Connection c(t.port, t.unit, err, "get");
    SynthLink &link = c.link;
    if (!c.open(t.port, error))
        return failure(err, "get", error);

    PatchTransfer transfer(link.state, link.protocol);
    PatchTransfer::Outcome outcome = PatchTransfer::Outcome::NoAnswer;
    QEventLoop loop;
    QObject::connect(&transfer, &PatchTransfer::fetchFinished, &loop,
                     [&](PatchTransfer::Outcome o) {
                         outcome = o;
                         loop.quit();
                     });
    try {
        transfer.GetPatch();
        if (transfer.fetching())
            loop.exec();
    } catch (const std::exception &e) {
        return failure(err, "get", QString::fromUtf8(e.what()));
    }
    if (outcome != PatchTransfer::Outcome::Complete) {
        const QString why = PatchTransfer::failureText(outcome, transfer.missingBlocks());
        return failure(err, "get", QString(why).replace(QLatin1Char('\r'), QLatin1Char(' ')));
    }
    const FileResult written = PatchFile::Write(t.args[0], link.state.patchImage);
    if (!written)
        return failure(err, "get", written.error);
    out << t.args[0] << ": " << written.bytes << " bytes, patch \""
        << shownName(link.state.patchImage.name()) << "\"\n";
    return ExitOk;
}

// Waits for the answer to a request for the edited patch's name.
class NameAnswer : public ParseObserver
{
public:
    explicit NameAnswer(SysexProtocol &protocol) : protocol_(protocol)
    {
        protocol_.addObserver(this);
    }
    ~NameAnswer() override { protocol_.removeObserver(this); }
    NameAnswer(const NameAnswer &) = delete;
    NameAnswer &operator=(const NameAnswer &) = delete;

    // Asks for the name at the start of the common block at prefix and
    // waits up to timeoutMs; true once it has arrived where target says.
    bool ask(const std::array<std::uint8_t, 2> &prefix, ParseResult::Target target, int timeoutMs)
    {
        arrived_ = false;
        target_ = target;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop_, &QEventLoop::quit);
        timer.start(timeoutMs);
        protocol_.RequestData({prefix[0], prefix[1], 0x00, 0x00}, addr::RequestNameSize);
        if (!arrived_)
            loop_.exec();
        return arrived_;
    }

    void parsedIncoming(const ParseResult &r) override
    {
        const bool common = r.target != ParseResult::Target::Slot || r.slot == 0;
        if (r.stored() && r.target == target_ && common && r.offset == 0 &&
            r.count >= addr::PatchNameSize) {
            arrived_ = true;
            loop_.quit();
        }
    }

private:
    SysexProtocol &protocol_;
    QEventLoop loop_;
    ParseResult::Target target_ = ParseResult::Target::Slot;
    bool arrived_ = false;
};

// Asks for the name behind what was sent until it comes, a few times.
bool nameArrives(SynthLink &link, const std::array<std::uint8_t, 2> &prefix,
                 ParseResult::Target target)
{
    NameAnswer answer(link.protocol);
    bool arrived = false;
    for (int attempt = 0; attempt <= PatchTransfer::ExtraTries && !arrived; ++attempt)
        arrived = answer.ask(prefix, target, PatchTransfer::DefaultTimeoutMs);
    return arrived;
}

const QString Unconfirmed = QStringLiteral(
    "the synthesizer did not answer after the %1 was sent, so its arrival cannot be confirmed");

// Messages leave through buffers of the MIDI system, which may drop them
// without a word (a JACK server that dies takes them along). Only an
// answer to a request sent behind them shows that they went all the way:
// the link keeps their order. For the edited patch the name must also be
// the one sent.
bool confirmArrival(SynthLink &link, bool editedPatch, QString &error)
{
    const QByteArray sent = link.state.patchImage.name();
    if (!nameArrives(link, link.state.EditPrefix, ParseResult::Target::Slot)) {
        error = Unconfirmed.arg(QStringLiteral("patch"));
        return false;
    }
    const QByteArray held = link.state.patchImage.name();
    if (editedPatch && held != sent) {
        error = QStringLiteral("after the send the synthesizer's patch is named \"%1\", not \"%2\"")
                    .arg(shownName(held), shownName(sent));
        return false;
    }
    return true;
}

// send and write: the file first, so a refused one sends nothing. Success
// is reported only once the synthesizer has answered behind the patch.
int sendFile(const char *command, const TransferArgs &t, QTextStream &out, QTextStream &err,
             const std::function<void(PatchTransfer &)> &send, const QString &where,
             bool editedPatch)
{
    Connection c(t.port, t.unit, err, command);
    SynthLink &link = c.link;
    const FileResult read = PatchFile::Read(t.args[0], link.state.patchImage);
    if (!read)
        return failure(err, command, read.error);
    const QString name = shownName(link.state.patchImage.name());
    QString error;
    if (!c.open(t.port, error))
        return failure(err, command, error);
    try {
        PatchTransfer transfer(link.state, link.protocol);
        send(transfer);
        if (!confirmArrival(link, editedPatch, error))
            return failure(err, command, error);
    } catch (const std::exception &e) {
        return failure(err, command, QString::fromUtf8(e.what()));
    }
    out << "patch \"" << name << "\" sent to " << where << '\n';
    return ExitOk;
}

// A .syx file's performance or rhythm set to the temporary one; success
// only once the unit has answered behind it with the name sent.
int sendContent(const TransferArgs &t, Content content, QTextStream &out, QTextStream &err)
{
    const PerformanceSyxReport report = PerformanceSyx::read(t.args[0]);
    if (!report.ok)
        return failure(err, "send", report.error);
    const bool performance = content == Content::Performance;
    if (performance ? !report.performance : !report.rhythm)
        return failure(
            err, "send",
            QStringLiteral("\"%1\" holds no complete %2.").arg(t.args[0], contentName(content)));
    Connection c(t.port, t.unit, err, "send");
    SynthLink &link = c.link;
    if (performance)
        link.state.performance = *report.performance;
    else
        link.state.rhythm = *report.rhythm;
    const QByteArray sent = contentNameBytes(link.state, content);
    QString error;
    if (!c.open(t.port, error))
        return failure(err, "send", error);
    try {
        PerformanceTransfer transfer(link.state, link.protocol);
        if (performance)
            transfer.SendPerformance();
        else
            transfer.SendRhythm();
        const std::array<std::uint8_t, 2> prefix =
            performance ? std::array<std::uint8_t, 2>{addr::AreaTempPerformance, 0x00}
                        : std::array<std::uint8_t, 2>{addr::AreaPerformancePart, addr::RhythmPart};
        if (!nameArrives(link, prefix,
                         performance ? ParseResult::Target::Performance
                                     : ParseResult::Target::RhythmCommon))
            return failure(err, "send", Unconfirmed.arg(contentName(content)));
    } catch (const std::exception &e) {
        return failure(err, "send", QString::fromUtf8(e.what()));
    }
    const QByteArray held = contentNameBytes(link.state, content);
    if (held != sent)
        return failure(err, "send",
                       QStringLiteral("after the send the synthesizer's %1 is named \"%2\", "
                                      "not \"%3\"")
                           .arg(contentName(content), shownName(held), shownName(sent)));
    out << contentName(content) << " \"" << shownName(sent) << "\" sent to the temporary "
        << contentName(content) << '\n';
    return ExitOk;
}

int runSend(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    TransferArgs t;
    QString error;
    std::optional<Content> content;
    if (!takeTransferArgs(argsIn, t, error) || !takeContent(t.args, content, error) ||
        !oneFile(t.args, error))
        return usage(err, "send", error);
    if (content)
        return sendContent(t, *content, out, err);
    return sendFile(
        "send", t, out, err, [](PatchTransfer &p) { p.SendPatch(); },
        QStringLiteral("the temporary patch"), true);
}

int runWrite(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    TransferArgs t;
    QString error, user, card;
    if (!takeTransferArgs(argsIn, t, error) || !takeOptionValue(t.args, UserOption, user, error) ||
        !takeOptionValue(t.args, CardOption, card, error) || !oneFile(t.args, error))
        return usage(err, "write", error);
    if (user.isEmpty() == card.isEmpty())
        return usage(err, "write", QStringLiteral("give either --user N or --card N"));
    bool ok = false;
    const int number = (card.isEmpty() ? user : card).toInt(&ok, 10);
    if (!ok || number < 1 || number > addr::PatchCount)
        return usage(err, "write",
                     QStringLiteral("patch number must be 1 to %1, not '%2'")
                         .arg(addr::PatchCount)
                         .arg(card.isEmpty() ? user : card));
    const bool toCard = !card.isEmpty();
    return sendFile(
        "write", t, out, err, [&](PatchTransfer &p) { p.SaveToSynth(toCard, number); },
        QStringLiteral("%1 %2")
            .arg(toCard ? QStringLiteral("CARD") : QStringLiteral("USER"))
            .arg(number),
        false);
}

} // namespace

QList<Command> transferCommands()
{
    return {
        {"info", "FILE.pat", "list the name and every stored parameter of a patch file", runInfo},
        {"get", "--port DEV [--unit N] [--performance|--rhythm] OUT",
         "fetch the synthesizer's temporary patch into a patch file (OUT.pat), or its "
         "temporary performance or rhythm set into a .syx file",
         runGet},
        {"send", "--port DEV [--unit N] [--performance|--rhythm] FILE",
         "send a patch file (FILE.pat), or the performance or rhythm set of a .syx file, to "
         "the synthesizer's temporary one",
         runSend},
        {"write", "--port DEV [--unit N] (--user|--card) N FILE.pat",
         "write a patch file into a USER or CARD place (1..128) of the synthesizer", runWrite},
    };
}

} // namespace cli
