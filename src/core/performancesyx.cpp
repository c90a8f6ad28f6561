#include "core/performancesyx.h"

#include "core/atomicfile.h"
#include "core/sysexmessage.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <bitset>
#include <map>

namespace {

constexpr int ChecksumFromEnd = 2;
constexpr int CardPlaceBase = 100; // place numbers: 0 temporary, 1.. USER, 101.. CARD

enum class Kind
{
    Performance,
    Rhythm,
};

// Where one data byte of a message belongs.
struct Target
{
    Kind kind = Kind::Performance;
    int place = 0;
    int position = 0;
    bool operator<(const Target &o) const
    {
        return std::pair(kind, place) < std::pair(o.kind, o.place);
    }
};

std::optional<int> blockPosition(Kind kind, int block, int offset)
{
    return kind == Kind::Performance ? PerformanceImage::blockPosition(block, offset)
                                     : RhythmImage::blockPosition(block, offset);
}

std::optional<Target> locate(const addr::Address &a)
{
    Target t;
    if (a[0] == addr::AreaTempPerformance && a[1] == 0) {
        t.kind = Kind::Performance;
    } else if (a[0] == addr::AreaPerformancePart && a[1] == addr::RhythmPart) {
        t.kind = Kind::Rhythm;
    } else if (a[0] == addr::AreaUserPerformance || a[0] == addr::AreaCardPerformance) {
        const int base = a[0] == addr::AreaCardPerformance ? CardPlaceBase : 0;
        if (a[1] < addr::PerformancePlaceCount) {
            t.kind = Kind::Performance;
            t.place = base + a[1] + 1;
        } else if (a[1] >= addr::FirstRhythmPlace &&
                   a[1] < addr::FirstRhythmPlace + addr::RhythmPlaceCount) {
            t.kind = Kind::Rhythm;
            t.place = base + a[1] - addr::FirstRhythmPlace + 1;
        } else {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    const std::optional<int> position = blockPosition(t.kind, a[2], a[3]);
    if (!position)
        return std::nullopt;
    t.position = *position;
    return t;
}

QString placeText(const Target &t)
{
    const QString what =
        t.kind == Kind::Performance ? QStringLiteral("performance") : QStringLiteral("rhythm set");
    if (t.place == 0)
        return QStringLiteral("temporary ") + what;
    const bool card = t.place > CardPlaceBase;
    return QStringLiteral("%1 %2 %3")
        .arg(card ? QStringLiteral("CARD") : QStringLiteral("USER"), what)
        .arg(card ? t.place - CardPlaceBase : t.place);
}

// One performance or rhythm set as its messages arrive.
struct Assembly
{
    QByteArray bytes;
    std::bitset<RhythmImage::Size> present; // the larger of the two
    bool conflict = false;

    int size(Kind kind) const
    {
        return kind == Kind::Performance ? PerformanceImage::Size : RhythmImage::Size;
    }
    bool complete(Kind kind) const { return int(present.count()) == size(kind); }
    // The first block with a byte missing, for the report.
    QString firstGap(Kind kind) const
    {
        const QList<int> blocks =
            kind == Kind::Performance ? PerformanceImage::blocks() : RhythmImage::blocks();
        for (const int block : blocks) {
            const int from = *blockPosition(kind, block, 0);
            const int count = kind == Kind::Performance ? PerformanceImage::blockSize(block)
                                                        : RhythmImage::blockSize(block);
            for (int i = from; i < from + count; ++i)
                if (!present.test(std::size_t(i)))
                    return block == addr::BlockCommon ? QStringLiteral("the common block")
                           : kind == Kind::Performance
                               ? QStringLiteral("part %1").arg(block - addr::BlockPart1 + 1)
                               : QStringLiteral("key %1").arg(block);
        }
        return {};
    }
};

template <typename Image> Image imageOf(const QByteArray &bytes)
{
    Image image;
    std::copy(bytes.begin(), bytes.end(), image.data());
    image.forget();
    return image;
}

// The blocks of an image as data sets from area and second byte on.
template <typename Image>
QByteArray dump(const Image &image, std::uint8_t area, std::uint8_t second, int unitId)
{
    const std::uint8_t device = std::uint8_t((unitId - 1) & sysex::DataMask);
    QByteArray out;
    for (const int block : Image::blocks()) {
        const QByteArray data(reinterpret_cast<const char *>(image.data()) +
                                  *Image::blockPosition(block, 0),
                              Image::blockSize(block));
        out += sysex::dataSetMessage(device, {area, second, std::uint8_t(block), 0x00}, data);
    }
    return out;
}

} // namespace

QByteArray PerformanceSyx::temporaryPerformance(const PerformanceImage &image, int unitId)
{
    return dump(image, addr::AreaTempPerformance, 0x00, unitId);
}

QByteArray PerformanceSyx::temporaryRhythm(const RhythmImage &image, int unitId)
{
    return dump(image, addr::AreaPerformancePart, addr::RhythmPart, unitId);
}

QByteArray PerformanceSyx::storedPerformance(const PerformanceImage &image, bool card, int number,
                                             int unitId)
{
    const int index = std::clamp(number, 1, addr::PerformancePlaceCount) - 1;
    return dump(image, card ? addr::AreaCardPerformance : addr::AreaUserPerformance,
                std::uint8_t(index), unitId);
}

QByteArray PerformanceSyx::storedRhythm(const RhythmImage &image, bool card, int number, int unitId)
{
    const int index = std::clamp(number, 1, addr::RhythmPlaceCount) - 1;
    return dump(image, card ? addr::AreaCardPerformance : addr::AreaUserPerformance,
                std::uint8_t(addr::FirstRhythmPlace + index), unitId);
}

PerformanceSyxReport PerformanceSyx::parse(const QByteArray &bytes)
{
    PerformanceSyxReport report;
    std::map<Target, Assembly> assemblies; // in address order of their places
    QList<Target> order;                   // in file order
    const auto skip = [&](int number, const QString &why) {
        ++report.skipped;
        report.problems << QStringLiteral("message %1: %2").arg(number).arg(why);
    };

    for (const QByteArray &m : sysex::splitMessages(bytes)) {
        const int number = ++report.messages;
        const auto *b = reinterpret_cast<const std::uint8_t *>(m.constData());
        const int length = int(m.size());
        // The device byte is not checked: files come from units set to
        // other IDs.
        const std::uint8_t device = length > sysex::DevicePos ? b[sysex::DevicePos] : 0;
        const QString bad = sysex::verify(b, length, device, sysex::CommandDataSet);
        if (!bad.isEmpty()) {
            skip(number, bad);
            continue;
        }
        const addr::Address adrs = sysex::addressOf(b);
        const std::optional<Target> first = locate(adrs);
        const int count = length - sysex::Overhead;
        // All or nothing: data that run past their block are not what a
        // unit sends.
        const std::optional<Target> last =
            count > 0 ? locate({adrs[0], adrs[1], adrs[2], std::uint8_t(adrs[3] + count - 1)})
                      : first;
        report.found = report.found || first.has_value();
        if (!first) {
            skip(number, QStringLiteral("%1 holds no performance or rhythm set")
                             .arg(sysex::hexLine(adrs.data(), int(adrs.size()))));
            continue;
        }
        if (adrs[3] + count - 1 > sysex::DataMask || !last) {
            skip(number,
                 QStringLiteral("runs past the end of its block in the %1").arg(placeText(*first)));
            continue;
        }
        auto [it, fresh] = assemblies.try_emplace(*first);
        Assembly &a = it->second;
        if (fresh) {
            a.bytes = QByteArray(a.size(first->kind), '\0');
            order << *first;
        }
        for (int i = 0; i < count; ++i) {
            const auto p = std::size_t(first->position + i);
            const char v = char(b[sysex::DataPos + i]);
            if (a.present.test(p) && a.bytes.at(qsizetype(p)) != v)
                a.conflict = true;
            a.present.set(p);
            a.bytes[qsizetype(p)] = v;
        }
    }

    for (const Target &t : order) {
        const Assembly &a = assemblies.at(t);
        if (a.conflict) {
            report.problems << placeText(t) + QStringLiteral(": two copies of a block differ");
        } else if (!a.complete(t.kind)) {
            report.problems << placeText(t) +
                                   QStringLiteral(": %1 missing").arg(a.firstGap(t.kind));
        } else if (t.kind == Kind::Performance) {
            if (report.performances++ == 0)
                report.performance = imageOf<PerformanceImage>(a.bytes);
        } else if (report.rhythms++ == 0) {
            report.rhythm = imageOf<RhythmImage>(a.bytes);
        }
    }
    report.ok = report.performance || report.rhythm;
    return report;
}

PerformanceSyxReport PerformanceSyx::read(const QString &path)
{
    PerformanceSyxReport report;
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
    // One byte more than the limit tells a file that grew since it was
    // measured.
    const QByteArray bytes = f.read(MaxFileSize + 1);
    if (f.error() != QFileDevice::NoError)
        return refuse(QStringLiteral("could not be read: %1.").arg(f.errorString()));
    if (bytes.size() > MaxFileSize)
        return refuse(QStringLiteral("is too large for a performance dump: more than %1 bytes.")
                          .arg(MaxFileSize));
    report = parse(bytes);
    if (!report.ok)
        report.error =
            AtomicFile::failure(path, report.messages == 0
                                          ? QStringLiteral("holds no System Exclusive message.")
                                          : QStringLiteral("holds no complete performance or "
                                                           "rhythm set."))
                .error;
    return report;
}

FileResult PerformanceSyx::write(const QString &path, const QByteArray &bytes)
{
    return AtomicFile::write(path, bytes);
}
