#include "sim/synthmemory.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace {

enum class Kind : std::uint8_t
{
    System,
    Performance, // a block of a performance; bank says which
    Rhythm,      // a block of a rhythm set; bank says which
    Part,
    Temporary,
    User,
    Card
};

constexpr std::uint32_t linear(std::uint8_t area, int second, int block, int offset)
{
    return (std::uint32_t(area) << simlayout::AreaShift) |
           (std::uint32_t(second) << simlayout::PartShift) |
           (std::uint32_t(block) << simlayout::BlockShift) | std::uint32_t(offset);
}

// Highest 7-bit address plus one: reads never run past it.
constexpr std::uint32_t AddressSpace = 1u << 28;

constexpr int PatchBytes = addr::CommonSize + addr::ToneCount * addr::ToneSize; // 588
const QByteArray FileHeader("TESSIVA SIMULATOR BANKS 1\n");
constexpr int FileBanks = 2; // USER, CARD
constexpr int FileSize = FileBanks * addr::PatchCount * PatchBytes;

} // namespace

struct SynthMemory::BlockInfo
{
    std::uint32_t start;
    int size;
    Kind kind;
    int index; // patch, performance or rhythm set number inside its bank
    int block; // patches: 0 = common, 1..4 = tones; else the block byte
    SynthMemory::Bank bank = SynthMemory::Bank::Temporary; // performances, rhythm sets
};

namespace {

std::vector<SynthMemory::BlockInfo> buildTable();

const std::vector<SynthMemory::BlockInfo> &table()
{
    static const std::vector<SynthMemory::BlockInfo> t = buildTable();
    return t;
}

void addPatch(std::vector<SynthMemory::BlockInfo> &t, std::uint8_t area, int second, Kind kind)
{
    for (int k = 0; k <= addr::ToneCount; ++k)
        t.push_back(
            {linear(area, second, addr::patchBlock(k), 0), addr::blockSize(k), kind, second, k});
}

// A performance (common and parts) or rhythm set (common and notes).
void addPerformance(std::vector<SynthMemory::BlockInfo> &t, std::uint8_t area, int second,
                    SynthMemory::Bank bank, int number)
{
    for (const int block : PerformanceImage::blocks())
        t.push_back({linear(area, second, block, 0), PerformanceImage::blockSize(block),
                     Kind::Performance, number, block, bank});
}

void addRhythm(std::vector<SynthMemory::BlockInfo> &t, std::uint8_t area, int second,
               SynthMemory::Bank bank, int number)
{
    for (const int block : RhythmImage::blocks())
        t.push_back({linear(area, second, block, 0), RhythmImage::blockSize(block), Kind::Rhythm,
                     number, block, bank});
}

void addStored(std::vector<SynthMemory::BlockInfo> &t, std::uint8_t area, SynthMemory::Bank bank)
{
    for (int n = 1; n <= addr::PerformancePlaceCount; ++n)
        addPerformance(t, area, n - 1, bank, n);
    for (int n = 1; n <= addr::RhythmPlaceCount; ++n)
        addRhythm(t, area, addr::FirstRhythmPlace + n - 1, bank, n);
}

std::vector<SynthMemory::BlockInfo> buildTable()
{
    using Bank = SynthMemory::Bank;
    std::vector<SynthMemory::BlockInfo> t;
    t.push_back(
        {linear(addr::AreaSystem, 0, 0, 0), simlayout::SystemCommonSize, Kind::System, 0, 0});
    addPerformance(t, addr::AreaTempPerformance, 0, Bank::Temporary, 1);
    for (int p = 0; p < simlayout::PerformancePartCount; ++p) {
        if (p == addr::RhythmPart)
            addRhythm(t, addr::AreaPerformancePart, p, Bank::Temporary, 1);
        else
            addPatch(t, addr::AreaPerformancePart, p, Kind::Part);
    }
    addPatch(t, addr::AreaTempPatch, 0, Kind::Temporary);
    addStored(t, addr::AreaUserPerformance, Bank::User);
    for (int p = 0; p < addr::PatchCount; ++p)
        addPatch(t, addr::AreaUser, p, Kind::User);
    addStored(t, addr::AreaCardPerformance, Bank::Card);
    for (int p = 0; p < addr::PatchCount; ++p)
        addPatch(t, addr::AreaCard, p, Kind::Card);
    return t;
}

// The first block that ends after position a (the one holding a, or the
// next one above a gap).
std::vector<SynthMemory::BlockInfo>::const_iterator firstEndingAfter(std::uint32_t a)
{
    const auto &t = table();
    return std::upper_bound(t.begin(), t.end(), a,
                            [](std::uint32_t v, const SynthMemory::BlockInfo &b) {
                                return v < b.start + std::uint32_t(b.size);
                            });
}

QByteArray paddedName(const char *prefix, int n, int digits = 3)
{
    return QByteArray(prefix) + QByteArray::number(n).rightJustified(digits, '0');
}

// A neutral performance or rhythm set under another name (cut or padded
// to 12).
template <typename Image> Image named(const QByteArray &name)
{
    Image image;
    const QByteArray padded = name.leftJustified(addr::PatchNameSize, ' ', true);
    std::copy(padded.begin(), padded.end(), image.data());
    return image;
}
PerformanceImage namedPerformance(const QByteArray &name)
{
    return named<PerformanceImage>(name);
}
RhythmImage namedRhythm(const QByteArray &name)
{
    return named<RhythmImage>(name);
}

} // namespace

void SynthMemory::reset()
{
    system_.fill(0);
    system_[addr::system::SoundMode] = simlayout::SoundModePatch;
    system_[simlayout::system::MasterTune] = 64;
    system_[simlayout::system::EffectSwitch] = 1;
    system_[simlayout::system::ChorusSwitch] = 1;
    system_[simlayout::system::ReverbSwitch] = 1;
    // Modulation wheel and breath controller, numbered as controller numbers.
    system_[addr::system::ControlSource1] = 1;
    system_[addr::system::ControlSource2] = 2;
    performance_.Initialise();
    rhythm_.Initialise();
    for (int n = 1; n <= addr::PerformancePlaceCount; ++n) {
        performance(Bank::User, n) = namedPerformance(paddedName("Perform U:", n, 2));
        performance(Bank::Card, n) = namedPerformance(paddedName("Perform C:", n, 2));
    }
    for (int n = 1; n <= addr::RhythmPlaceCount; ++n) {
        rhythm(Bank::User, n) = namedRhythm(paddedName("Rhythm U:", n, 1));
        rhythm(Bank::Card, n) = namedRhythm(paddedName("Rhythm C:", n, 1));
    }
    temporary_ = PatchMemory::initial("InitPatch");
    for (int p = 0; p < simlayout::PerformancePartCount; ++p)
        parts_[std::size_t(p)] = PatchMemory::initial(paddedName("Init Part", p + 1));
    for (int p = 0; p < addr::PatchCount; ++p) {
        user_[std::size_t(p)] = PatchMemory::initial(paddedName("Init U:", p + 1));
        card_[std::size_t(p)] = PatchMemory::initial(paddedName("Init C:", p + 1));
    }
}

PatchMemory &SynthMemory::patch(Bank bank, int index)
{
    switch (bank) {
    case Bank::Temporary:
        return temporary_;
    case Bank::Part:
        return parts_.at(std::size_t(index));
    case Bank::User:
        return user_.at(std::size_t(index));
    case Bank::Card:
        break;
    }
    return card_.at(std::size_t(index));
}

const PatchMemory &SynthMemory::patch(Bank bank, int index) const
{
    return const_cast<SynthMemory *>(this)->patch(bank, index);
}

PerformanceImage &SynthMemory::performance(Bank bank, int number)
{
    switch (bank) {
    case Bank::User:
        return userPerformances_.at(std::size_t(number - 1));
    case Bank::Card:
        return cardPerformances_.at(std::size_t(number - 1));
    case Bank::Temporary:
    case Bank::Part:
        break;
    }
    return performance_;
}

const PerformanceImage &SynthMemory::performance(Bank bank, int number) const
{
    return const_cast<SynthMemory *>(this)->performance(bank, number);
}

RhythmImage &SynthMemory::rhythm(Bank bank, int number)
{
    switch (bank) {
    case Bank::User:
        return userRhythms_.at(std::size_t(number - 1));
    case Bank::Card:
        return cardRhythms_.at(std::size_t(number - 1));
    case Bank::Temporary:
    case Bank::Part:
        break;
    }
    return rhythm_;
}

const RhythmImage &SynthMemory::rhythm(Bank bank, int number) const
{
    return const_cast<SynthMemory *>(this)->rhythm(bank, number);
}

std::uint8_t *SynthMemory::resolve(const BlockInfo &b)
{
    switch (b.kind) {
    case Kind::System:
        return system_.data();
    case Kind::Performance:
        return performance(b.bank, b.index).data() + *PerformanceImage::blockPosition(b.block, 0);
    case Kind::Rhythm:
        return rhythm(b.bank, b.index).data() + *RhythmImage::blockPosition(b.block, 0);
    case Kind::Part:
        return parts_[std::size_t(b.index)].block(b.block);
    case Kind::Temporary:
        return temporary_.block(b.block);
    case Kind::User:
        return user_[std::size_t(b.index)].block(b.block);
    case Kind::Card:
        break;
    }
    return card_[std::size_t(b.index)].block(b.block);
}

const std::uint8_t *SynthMemory::resolve(const BlockInfo &b) const
{
    return const_cast<SynthMemory *>(this)->resolve(b);
}

int SynthMemory::write(const addr::Address &adrs, const std::uint8_t *data, int count)
{
    std::uint32_t a = std::uint32_t(addr::fromSevenBit(adrs));
    const std::uint32_t end =
        std::min<std::uint32_t>(a + std::uint32_t(std::max(count, 0)), AddressSpace);
    const auto &t = table();
    int stored = 0;
    for (auto it = firstEndingAfter(a); it != t.end() && it->start < end; ++it) {
        const std::uint32_t from = std::max(a, it->start);
        const std::uint32_t to = std::min(end, it->start + std::uint32_t(it->size));
        std::copy(data + (from - a), data + (to - a), resolve(*it) + (from - it->start));
        stored += int(to - from);
    }
    return stored;
}

QList<SynthMemory::Chunk> SynthMemory::read(const addr::Address &adrs, int size) const
{
    const std::uint32_t a = std::uint32_t(addr::fromSevenBit(adrs));
    const std::uint32_t end =
        std::min<std::uint32_t>(a + std::uint32_t(std::max(size, 0)), AddressSpace);
    const auto &t = table();
    QList<Chunk> chunks;
    for (auto it = firstEndingAfter(a); it != t.end() && it->start < end; ++it) {
        const std::uint32_t from = std::max(a, it->start);
        const std::uint32_t to = std::min(end, it->start + std::uint32_t(it->size));
        const std::uint8_t *base = resolve(*it) + (from - it->start);
        chunks.append({addr::toSevenBit(int(from)),
                       QByteArray(reinterpret_cast<const char *>(base), int(to - from))});
    }
    return chunks;
}

std::optional<std::uint8_t> SynthMemory::byteAt(const addr::Address &adrs) const
{
    const QList<Chunk> c = read(adrs, 1);
    if (c.isEmpty())
        return std::nullopt;
    return std::uint8_t(c.front().bytes.at(0));
}

QByteArray SynthMemory::banksImage() const
{
    QByteArray out = FileHeader;
    out.reserve(FileHeader.size() + FileSize);
    for (const auto *bank : {&user_, &card_})
        for (const PatchMemory &p : *bank)
            for (int k = 0; k <= addr::ToneCount; ++k)
                out.append(reinterpret_cast<const char *>(p.block(k)), addr::blockSize(k));
    return out;
}

bool SynthMemory::setBanksImage(const QByteArray &image, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!image.startsWith(FileHeader))
        return fail(QStringLiteral("not a simulator memory file"));
    if (image.size() != FileHeader.size() + FileSize)
        return fail(QStringLiteral("wrong size: %1 bytes, expected %2")
                        .arg(image.size())
                        .arg(FileHeader.size() + FileSize));
    const QByteArray body = image.mid(FileHeader.size());
    const auto bad =
        std::find_if(body.begin(), body.end(), [](char c) { return std::uint8_t(c) > 0x7F; });
    if (bad != body.end())
        return fail(QStringLiteral("byte %1 holds %2, above 7Fh")
                        .arg(FileHeader.size() + (bad - body.begin()))
                        .arg(std::uint8_t(*bad), 2, 16, QLatin1Char('0')));
    const char *src = body.constData();
    for (auto *bank : {&user_, &card_})
        for (PatchMemory &p : *bank)
            for (int k = 0; k <= addr::ToneCount; ++k) {
                std::copy(src, src + addr::blockSize(k), p.block(k));
                src += addr::blockSize(k);
            }
    return true;
}

bool SynthMemory::saveBanks(const QString &path, QString *error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(banksImage()) < 0 || !f.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

bool SynthMemory::loadBanks(const QString &path, QString *error)
{
    QFile f(path);
    // The size is checked before reading so that a huge file is never
    // pulled into memory.
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    const qint64 expected = FileHeader.size() + FileSize;
    if (f.peek(FileHeader.size()) != FileHeader) {
        if (error)
            *error = QStringLiteral("%1: not a simulator memory file").arg(path);
        return false;
    }
    if (f.size() != expected) {
        if (error)
            *error = QStringLiteral("%1: wrong size: %2 bytes, expected %3")
                         .arg(path)
                         .arg(f.size())
                         .arg(expected);
        return false;
    }
    const QByteArray image = f.readAll();
    QString why;
    if (!setBanksImage(image, &why)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}
