#include "core/syxfile.h"

#include "core/atomicfile.h"
#include "core/sysexmessage.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <bitset>
#include <optional>
#include <vector>

namespace {

using Destination = SyxPatch::Destination;

constexpr std::uint8_t HighBit = 0x80;
constexpr int AddressBits = 28; // four 7-bit bytes
constexpr int ChecksumFromEnd = 2;
constexpr int MinDataSetLength = sysex::Overhead + 1; // a data set with one byte
constexpr int HeaderLength = sysex::DataPos;          // F0 up to the last address byte
constexpr int PartCount = 16;
constexpr std::uint8_t RhythmPart = 0x09; // part 10 of a performance plays a rhythm set
constexpr std::uint8_t AreaUserPerformance = 0x10;
constexpr std::uint8_t AreaCardPerformance = 0x20;
constexpr int OddBlockOffset = 0x80;
constexpr int PlaceDigits = 3;
// A file of random bytes finds a fault every few hundred bytes; past this
// many lines more of them tell the reader nothing.
constexpr int MaxListedProblems = 200;

// Where one data byte of a patch belongs.
struct Target
{
    Destination destination = Destination::Temporary;
    int index = 0;
    int slot = 0;
    int offset = 0;
    int key() const { return int(destination) * (PatchBank::PlaceCount + 1) + index; }
};

// Addresses count in 7 bits; an address past 7F 7F 7F 7F names nothing.
std::optional<Target> locate(int address)
{
    if (address >> AddressBits)
        return std::nullopt;
    const addr::Address a = addr::toSevenBit(address);
    Target t;
    switch (a[0]) {
    case addr::AreaTempPatch:
        if (a[1] != 0)
            return std::nullopt;
        t.destination = Destination::Temporary;
        break;
    case addr::AreaPerformancePart:
        if (a[1] >= PartCount || a[1] == RhythmPart)
            return std::nullopt;
        t.destination = Destination::Part;
        t.index = a[1] + 1;
        break;
    case addr::AreaUser:
    case addr::AreaCard:
        t.destination = a[0] == addr::AreaUser ? Destination::User : Destination::Card;
        t.index = a[1] + 1;
        break;
    default:
        return std::nullopt;
    }
    const std::uint8_t block = a[2];
    if (block == addr::BlockCommon) {
        t.offset = a[3];
    } else if (block >= addr::BlockTone1 && block <= addr::BlockTone4Odd) {
        const int rel = block - addr::BlockTone1;
        t.slot = rel / 2 + 1;
        t.offset = a[3] + ((rel & 1) ? OddBlockOffset : 0);
        if (t.offset >= addr::ToneSize)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return t;
}

// What an address that holds no patch byte holds instead.
QString notAPatch(const addr::Address &a)
{
    switch (a[0]) {
    case addr::AreaSystem:
        return QStringLiteral("system settings, not a patch");
    case addr::AreaTempPerformance:
    case AreaUserPerformance:
    case AreaCardPerformance:
        return QStringLiteral("performance data, not a patch");
    case addr::AreaPerformancePart:
        if (a[1] == RhythmPart)
            return QStringLiteral("the rhythm set of part 10, not a patch");
        break;
    default:
        break;
    }
    return QStringLiteral("an address that names no patch place");
}

QString blockName(int slot)
{
    return slot == 0 ? QStringLiteral("common") : QStringLiteral("tone %1").arg(slot);
}

QString placeText(Destination destination, int index)
{
    const QString number = QString::number(index).rightJustified(PlaceDigits, QLatin1Char('0'));
    switch (destination) {
    case Destination::Temporary:
        return QStringLiteral("temporary patch");
    case Destination::Part:
        return QStringLiteral("part %1").arg(index);
    case Destination::User:
        return QStringLiteral("USER ") + number;
    case Destination::Card:
        return QStringLiteral("CARD ") + number;
    }
    return {};
}

QString addressText(const addr::Address &a)
{
    return sysex::hexLine(a.data(), int(a.size()));
}

QString plural(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// One patch as its messages arrive: the bytes, which of them are there, and
// what went wrong on the way.
struct Assembly
{
    explicit Assembly(const Target &t) : destination(t.destination), index(t.index)
    {
        std::fill(image.data(), image.data() + addr::ImageSize, std::uint8_t(0));
    }
    Destination destination;
    int index;
    PatchImage image;
    std::array<std::bitset<addr::SlotSize>, addr::SlotCount> present;
    std::array<int, addr::SlotCount> firstMessage{}; // message that brought the block
    int conflictSlot = -1;
    int conflictMessage = 0;
    int faults = 0;        // messages of this patch that were skipped
    QList<int> faultLines; // their problems lines, as far as they are listed

    QString place() const { return placeText(destination, index); }
    bool complete() const
    {
        for (int k = 0; k < addr::SlotCount; ++k)
            for (int i = 0; i < addr::blockSize(k); ++i)
                if (!present[std::size_t(k)][std::size_t(i)])
                    return false;
        return true;
    }
    QString gaps() const
    {
        QStringList parts;
        for (int k = 0; k < addr::SlotCount; ++k) {
            int have = 0;
            for (int i = 0; i < addr::blockSize(k); ++i)
                have += present[std::size_t(k)][std::size_t(i)] ? 1 : 0;
            if (have == 0)
                parts << blockName(k) + QStringLiteral(" missing");
            else if (have < addr::blockSize(k))
                parts << QStringLiteral("%1 cut short (%2 of %3 bytes)")
                             .arg(blockName(k))
                             .arg(have)
                             .arg(addr::blockSize(k));
        }
        return parts.join(QStringLiteral(", "));
    }
};

class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : b_(reinterpret_cast<const std::uint8_t *>(bytes.constData())), n_(bytes.size())
    {
    }

    SyxReadReport run()
    {
        qsizetype i = 0;
        while (i < n_) {
            if (b_[i] != sysex::Start)
                i = strayBytes(i);
            else
                i = message(i);
        }
        finish();
        return std::move(report_);
    }

private:
    qsizetype strayBytes(qsizetype from)
    {
        qsizetype to = from;
        while (to < n_ && b_[to] != sysex::Start)
            ++to;
        ++report_.malformed;
        problem(QStringLiteral("%1 outside any message at byte %2")
                    .arg(plural(int(to - from), "byte", "bytes"))
                    .arg(from));
        return to;
    }

    // One message from the F0 at start; returns where the next piece begins.
    qsizetype message(qsizetype start)
    {
        const int number = ++report_.messages;
        qsizetype j = start + 1;
        while (j < n_ && b_[j] < HighBit)
            ++j;
        if (j < n_ && b_[j] == sysex::End) {
            framedMessage(b_ + start, int(j - start + 1), number);
            return j + 1;
        }
        if (j == n_) {
            brokenMessage(start, number, QStringLiteral("%1 cut short by the end of the file"));
            return n_;
        }
        if (b_[j] == sysex::Start) {
            brokenMessage(start, number, QStringLiteral("%1 has no F7 before the next message"));
            return j;
        }
        brokenMessage(start, number,
                      QStringLiteral("%1 holds the 8-bit byte ") + sysex::hexByte(b_[j]) +
                          QStringLiteral(" at byte ") + QString::number(j));
        qsizetype k = j;
        while (k < n_ && b_[k] != sysex::End && b_[k] != sysex::Start)
            ++k;
        return k < n_ && b_[k] == sysex::End ? k + 1 : k;
    }

    // A message cut short or holding an 8-bit byte: its header, where it
    // still reads as one of ours, names the patch that misses the data.
    void brokenMessage(qsizetype start, int number, const QString &what)
    {
        ++report_.malformed;
        std::optional<Target> t;
        if (n_ - start >= HeaderLength &&
            std::all_of(b_ + start + 1, b_ + start + HeaderLength,
                        [](std::uint8_t v) { return v < HighBit; }) &&
            b_[start + sysex::MakerPos] == sysex::RolandId &&
            b_[start + sysex::ModelPos] == sysex::ModelId &&
            b_[start + sysex::CommandPos] == sysex::CommandDataSet)
            t = locate(addr::fromSevenBit(sysex::addressOf(b_ + start)));
        patchProblem(t, what, number);
    }

    // A message from F0 to F7 with nothing but 7-bit bytes between.
    void framedMessage(const std::uint8_t *m, int length, int number)
    {
        const auto tooShort = [&] {
            ++report_.malformed;
            problem(QStringLiteral("message %1: %2 bytes are too few for a data set")
                        .arg(number)
                        .arg(length));
        };
        if (length <= sysex::MakerPos + 1)
            return tooShort();
        if (m[sysex::MakerPos] != sysex::RolandId) {
            ++report_.otherModel;
            problem(QStringLiteral("message %1: not a Roland message (maker %2)")
                        .arg(number)
                        .arg(sysex::hexByte(m[sysex::MakerPos])));
            return;
        }
        if (length <= sysex::CommandPos + 1)
            return tooShort();
        if (m[sysex::ModelPos] != sysex::ModelId) {
            ++report_.otherModel;
            problem(QStringLiteral("message %1: Roland model %2, not a JV/XP (%3)")
                        .arg(number)
                        .arg(sysex::hexByte(m[sysex::ModelPos]), sysex::hexByte(sysex::ModelId)));
            return;
        }
        if (m[sysex::CommandPos] != sysex::CommandDataSet) {
            ++report_.notPatch;
            problem(QStringLiteral("message %1: command %2 is no data set")
                        .arg(number)
                        .arg(sysex::hexByte(m[sysex::CommandPos])));
            return;
        }
        if (length < MinDataSetLength)
            return tooShort();
        // The device byte is not checked: files come from units set to
        // other IDs, and the editor addresses the patches to its own.
        const addr::Address adrs = sysex::addressOf(m);
        const int base = addr::fromSevenBit(adrs);
        const std::optional<Target> first = locate(base);
        const int summed = length - sysex::AddressPos - ChecksumFromEnd;
        if (sysex::checksum(m + sysex::AddressPos, summed) != m[length - ChecksumFromEnd]) {
            ++report_.badChecksum;
            patchProblem(first, QStringLiteral("checksum wrong in %1"), number);
            return;
        }
        if (!first) {
            ++report_.notPatch;
            problem(QStringLiteral("message %1 at %2: %3")
                        .arg(number)
                        .arg(addressText(adrs), notAPatch(adrs)));
            return;
        }
        const int count = length - sysex::Overhead;
        const std::uint8_t *data = m + sysex::DataPos;
        // All or nothing: a message whose data run past the block is not
        // what a unit sends, and none of it is trusted.
        for (int k = 1; k < count; ++k) {
            const std::optional<Target> t = locate(base + k);
            if (!t || t->key() != first->key()) {
                ++report_.notPatch;
                patchProblem(first, QStringLiteral("%1 runs past the end of its block"), number);
                return;
            }
        }
        Assembly &a = assembly(*first);
        for (int k = 0; k < count; ++k)
            store(a, *locate(base + k), data[k], number);
    }

    void store(Assembly &a, const Target &t, std::uint8_t value, int number)
    {
        // The JV-2080 and the XP have a longer common block than the
        // JV-1080. The editor fetches, sends and writes the JV-1080's 72
        // bytes on every model, so the rest is left out here as well, and
        // the patch reads the same as when it is fetched from that unit.
        if (t.offset >= addr::blockSize(t.slot))
            return;
        auto &present = a.present[std::size_t(t.slot)];
        if (!present[std::size_t(t.offset)]) {
            present[std::size_t(t.offset)] = true;
            a.image.set(t.slot, t.offset, value);
            if (a.firstMessage[std::size_t(t.slot)] == 0)
                a.firstMessage[std::size_t(t.slot)] = number;
        } else if (a.image.at(t.slot, t.offset) != value && a.conflictSlot < 0) {
            a.conflictSlot = t.slot;
            a.conflictMessage = number;
        }
    }

    Assembly &assembly(const Target &t)
    {
        const auto found = byKey_.constFind(t.key());
        if (found != byKey_.constEnd())
            return assemblies_[std::size_t(*found)];
        byKey_.insert(t.key(), int(assemblies_.size()));
        assemblies_.emplace_back(t);
        return assemblies_.back();
    }

    // A skipped message, named by its patch and block where the address
    // names one: "USER 012: checksum wrong in tone 3 (message 57)". what
    // holds %1 for the block.
    void patchProblem(const std::optional<Target> &t, const QString &what, int number)
    {
        if (!t) {
            problem(QStringLiteral("message %1: %2")
                        .arg(number)
                        .arg(what.arg(QStringLiteral("the data"))));
            return;
        }
        Assembly &a = assembly(*t);
        ++a.faults;
        const int line = problem(QStringLiteral("%1: %2 (message %3)")
                                     .arg(a.place(), what.arg(blockName(t->slot)))
                                     .arg(number));
        if (line >= 0)
            a.faultLines << line;
    }

    int problem(const QString &line)
    {
        if (report_.problems.size() >= MaxListedProblems) {
            ++unlisted_;
            return -1;
        }
        report_.problems << line;
        return int(report_.problems.size() - 1);
    }

    static bool sevenBit(const PatchImage &image)
    {
        return std::all_of(image.data(), image.data() + addr::ImageSize,
                           [](std::uint8_t v) { return v <= sysex::DataMask; });
    }

    void finish()
    {
        for (Assembly &a : assemblies_) {
            if (a.conflictSlot >= 0) {
                ++report_.conflicting;
                problem(QStringLiteral("%1: two copies of %2 differ (messages %3 and %4); "
                                       "patch not loaded")
                            .arg(a.place(), blockName(a.conflictSlot))
                            .arg(a.firstMessage[std::size_t(a.conflictSlot)])
                            .arg(a.conflictMessage));
            } else if (!a.complete()) {
                // A patch that lacks what a skipped message held is told on
                // that message's line; others get a line of their own.
                for (const int line : a.faultLines)
                    report_.problems[line] += QStringLiteral("; patch not loaded");
                if (a.faults == 0) {
                    ++report_.incomplete;
                    problem(QStringLiteral("%1: incomplete, %2").arg(a.place(), a.gaps()));
                }
            } else if (!sevenBit(a.image)) {
                // The framing already keeps 8-bit bytes out; checked again
                // here because such a byte would go out as a status byte.
                ++report_.malformed;
                problem(QStringLiteral("%1: a byte above 7F; patch not loaded").arg(a.place()));
            } else {
                report_.patches << SyxPatch{a.destination, a.index, a.image};
            }
        }
        if (unlisted_ > 0)
            report_.problems << QStringLiteral("%1 not listed")
                                    .arg(plural(unlisted_, "more problem", "more problems"));
        report_.ok = !report_.patches.isEmpty();
        if (!report_.ok)
            report_.error = report_.messages == 0
                                ? QStringLiteral("No System Exclusive message found.")
                                : QStringLiteral("No complete patch found.");
    }

    const std::uint8_t *b_;
    qsizetype n_;
    SyxReadReport report_;
    std::vector<Assembly> assemblies_;
    QHash<int, int> byKey_;
    int unlisted_ = 0;
};

} // namespace

QString SyxPatch::placeText() const
{
    return ::placeText(destination, index);
}

QString SyxReadReport::summary() const
{
    QString line = plural(int(patches.size()), "patch read", "patches read");
    QStringList skipped;
    const auto add = [&](int n, const char *one, const char *many) {
        if (n > 0)
            skipped << plural(n, one, many);
    };
    add(badChecksum, "bad checksum", "bad checksums");
    add(incomplete, "incomplete patch", "incomplete patches");
    add(conflicting, "conflicting patch", "conflicting patches");
    add(otherModel, "message for another model", "messages for other models");
    add(notPatch, "message holding no patch", "messages holding no patch");
    add(malformed, "malformed message", "malformed messages");
    if (!skipped.isEmpty())
        line += QStringLiteral("; skipped: ") + skipped.join(QStringLiteral(", "));
    return line;
}

SyxReadReport SyxFile::parse(const QByteArray &bytes)
{
    return Reader(bytes).run();
}

SyxReadReport SyxFile::read(const QString &path)
{
    SyxReadReport report;
    const auto refuse = [&](const QString &what) {
        report.error = AtomicFile::failure(path, what).error;
        return report;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return refuse(QStringLiteral("is a folder, not a .syx file."));
    if (info.exists() && !info.isFile())
        return refuse(AtomicFile::NotRegular);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("could not be opened: %1.").arg(f.errorString()));
    const auto tooLarge = [&](qint64 size) {
        return refuse(QStringLiteral("is too large for a patch dump: %1 bytes, at most %2.")
                          .arg(size)
                          .arg(MaxFileSize));
    };
    if (f.size() > MaxFileSize)
        return tooLarge(f.size());
    // One byte more than the limit tells a file that grew since it was
    // measured.
    const QByteArray bytes = f.read(MaxFileSize + 1);
    if (f.error() != QFileDevice::NoError)
        return refuse(QStringLiteral("could not be read: %1.").arg(f.errorString()));
    if (bytes.size() > MaxFileSize)
        return tooLarge(bytes.size());
    report = parse(bytes);
    if (!report.ok)
        report.error = AtomicFile::failure(path, report.messages == 0
                                                     ? QStringLiteral("holds no System Exclusive "
                                                                      "message.")
                                                     : QStringLiteral("holds no complete patch."))
                           .error;
    return report;
}

namespace {
// The five blocks of a patch as DT1 messages to area and number; empty when
// the image or the unit ID cannot make valid messages.
QByteArray patchMessages(const PatchImage &image, std::uint8_t area, std::uint8_t number,
                         int unitId)
{
    if (unitId < 1 || unitId > sysex::DataMask + 1)
        return {};
    const auto device = std::uint8_t(unitId - 1);
    QByteArray out;
    out.reserve(SyxFile::PatchDumpSize);
    for (int k = 0; k < addr::SlotCount; ++k) {
        sysex::Buffer buf;
        const int length = sysex::buildDataSet(buf, device, {area, number, addr::patchBlock(k), 0},
                                               image.slotData(k), addr::blockSize(k));
        if (length == 0)
            return {};
        out.append(reinterpret_cast<const char *>(buf.data()), length);
    }
    return out;
}
} // namespace

QByteArray SyxFile::temporaryPatch(const PatchImage &image, int unitId)
{
    return patchMessages(image, addr::AreaTempPatch, 0, unitId);
}

QByteArray SyxFile::placePatch(const PatchImage &image, bool card, int place, int unitId)
{
    if (!PatchBank::validPlace(place))
        return {};
    return patchMessages(image, card ? addr::AreaCard : addr::AreaUser, std::uint8_t(place - 1),
                         unitId);
}

QByteArray SyxFile::bank(const PatchBank &bank, int unitId)
{
    QByteArray out;
    for (int place = 1; place <= PatchBank::PlaceCount; ++place) {
        const PatchImage *p = bank.patch(place);
        if (!p)
            continue;
        const QByteArray one = placePatch(*p, false, place, unitId);
        if (one.isEmpty())
            return {};
        out += one;
    }
    return out;
}

PatchBank SyxFile::toBank(const SyxReadReport &report, int *dropped)
{
    PatchBank bank;
    QList<const SyxPatch *> homeless;
    for (const SyxPatch &p : report.patches) {
        const bool placed = p.destination == SyxPatch::Destination::User ||
                            p.destination == SyxPatch::Destination::Card;
        if (placed && !bank.has(p.index))
            bank.setPatch(p.index, p.image, false);
        else
            homeless << &p;
    }
    int lost = 0;
    for (const SyxPatch *p : homeless) {
        const int place = bank.firstFreePlace();
        if (place == 0)
            ++lost;
        else
            bank.setPatch(place, p->image, false);
    }
    if (dropped)
        *dropped = lost;
    return bank;
}

FileResult SyxFile::write(const QString &path, const QByteArray &bytes)
{
    // An image that made no messages must not leave an empty file behind.
    if (bytes.isEmpty())
        return AtomicFile::failure(path, QStringLiteral("was not written: there is no patch to "
                                                        "write."));
    return AtomicFile::write(path, bytes);
}

bool SyxFile::hasSyxSuffix(const QString &path)
{
    return path.endsWith(QLatin1String(Suffix), Qt::CaseInsensitive);
}
