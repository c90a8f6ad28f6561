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
#include "midi/parseobserver.h"
#include "midi/patchtransfer.h"
#include "midi/sysexmessage.h"

#include <QEventLoop>
#include <QTimer>
#include <exception>
#include <functional>

namespace cli {

namespace {

const QString UserOption = QStringLiteral("--user");
const QString CardOption = QStringLiteral("--card");

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

int runGet(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    TransferArgs t;
    QString error;
    if (!takeTransferArgs(argsIn, t, error) || !oneFile(t.args, error))
        return usage(err, "get", error);
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

    // Asks and waits up to timeoutMs; true once the name has arrived.
    bool ask(const EditState &state, int timeoutMs)
    {
        arrived_ = false;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop_, &QEventLoop::quit);
        timer.start(timeoutMs);
        protocol_.RequestData({state.EditPrefix[0], state.EditPrefix[1], 0x00, 0x00},
                              addr::RequestNameSize);
        if (!arrived_)
            loop_.exec();
        return arrived_;
    }

    void parsedIncoming(const ParseResult &r) override
    {
        if (r.stored() && r.target == ParseResult::Target::Slot && r.slot == 0 && r.offset == 0 &&
            r.count >= addr::PatchNameSize) {
            arrived_ = true;
            loop_.quit();
        }
    }

private:
    SysexProtocol &protocol_;
    QEventLoop loop_;
    bool arrived_ = false;
};

// Messages leave through buffers of the MIDI system, which may drop them
// without a word (a JACK server that dies takes them along). Only an
// answer to a request sent behind them shows that they went all the way:
// the link keeps their order. For the edited patch the name must also be
// the one sent.
bool confirmArrival(SynthLink &link, bool editedPatch, QString &error)
{
    const QByteArray sent = link.state.patchImage.name();
    NameAnswer answer(link.protocol);
    bool arrived = false;
    for (int attempt = 0; attempt <= PatchTransfer::ExtraTries && !arrived; ++attempt)
        arrived = answer.ask(link.state, PatchTransfer::DefaultTimeoutMs);
    if (!arrived) {
        error = QStringLiteral("the synthesizer did not answer after the patch was sent, so its "
                               "arrival cannot be confirmed");
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

int runSend(const QStringList &argsIn, QTextStream &out, QTextStream &err)
{
    TransferArgs t;
    QString error;
    if (!takeTransferArgs(argsIn, t, error) || !oneFile(t.args, error))
        return usage(err, "send", error);
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
        {"get", "--port DEV [--unit N] OUT.pat",
         "fetch the synthesizer's temporary patch into a patch file", runGet},
        {"send", "--port DEV [--unit N] FILE.pat",
         "send a patch file to the synthesizer's temporary patch", runSend},
        {"write", "--port DEV [--unit N] (--user|--card) N FILE.pat",
         "write a patch file into a USER or CARD place (1..128) of the synthesizer", runWrite},
    };
}

} // namespace cli
