#pragma once
// The temporary performance and the rhythm set of part 10 in the unit and in
// the editor's buffers, for the performance and rhythm windows' tests on the
// editor rig: reading both sides in the buffers' byte order, and filling
// both with the same random contents inside every parameter's range.

#include "editorrig.h"

#include "core/performanceparams.h"
#include "core/rhythmparams.h"

#include <QAction>
#include <QRandomGenerator>
#include <QTest>

namespace setscreens {

inline QByteArray readUnit(EditorRig &rig, const QList<std::pair<addr::Address, int>> &blocks)
{
    rig.engine().waitIdle();
    // memory() hands out a copy: keep it alive while its bytes are read.
    const SynthMemory memory = rig.engine().memory();
    QByteArray out;
    for (const auto &[adrs, size] : blocks)
        for (const SynthMemory::Chunk &c : memory.read(adrs, size))
            out += c.bytes;
    return out;
}

inline QList<std::pair<addr::Address, int>> performanceBlocks()
{
    QList<std::pair<addr::Address, int>> blocks{
        {addr::performanceCommonAddress(0), PerformanceImage::CommonSize}};
    for (int p = 1; p <= PerformanceImage::PartCount; ++p)
        blocks.append({addr::performancePartAddress(p, 0), PerformanceImage::PartSize});
    return blocks;
}

inline QList<std::pair<addr::Address, int>> rhythmBlocks()
{
    QList<std::pair<addr::Address, int>> blocks{
        {addr::rhythmCommonAddress(0), RhythmImage::CommonSize}};
    for (int key = RhythmImage::FirstKey; key <= RhythmImage::LastKey; ++key)
        blocks.append({addr::rhythmNoteAddress(key, 0), RhythmImage::NoteSize});
    return blocks;
}

inline QByteArray unitPerformance(EditorRig &rig)
{
    return readUnit(rig, performanceBlocks());
}

inline QByteArray unitRhythm(EditorRig &rig)
{
    return readUnit(rig, rhythmBlocks());
}

inline QByteArray bufferPerformance(const EditorRig &rig)
{
    return QByteArray(reinterpret_cast<const char *>(rig.state.performance.data()),
                      PerformanceImage::Size);
}

inline QByteArray bufferRhythm(const EditorRig &rig)
{
    return QByteArray(reinterpret_cast<const char *>(rig.state.rhythm.data()), RhythmImage::Size);
}

// One block with every row at a random value inside its range; groups are
// internal ones (patch groups 1..6, waves Int-A or Int-B).
inline QByteArray randomBlock(ParameterTable table, int size, int maxGroupId, QRandomGenerator &rng)
{
    QByteArray block(size, '\0');
    auto *b = reinterpret_cast<std::uint8_t *>(block.data());
    for (const ParameterDef &p : table) {
        switch (p.kind) {
        case ParameterDef::Kind::Name:
            for (int i = 0; i < ParameterDef::NameSize; ++i)
                b[p.offset + i] = std::uint8_t(0x20 + rng.bounded(0x5E));
            break;
        case ParameterDef::Kind::Group:
            p.encode(1 + int(rng.bounded(maxGroupId)), b + p.offset);
            break;
        default:
            p.encode(p.min + int(rng.bounded(p.max - p.min + 1)), b + p.offset);
        }
    }
    return block;
}

// Unit and buffers get the same performance and rhythm set; voice reserves
// stay small enough for their sum, key ranges the right way up.
inline void loadRandomSets(EditorRig &rig, quint32 seed)
{
    QRandomGenerator rng(seed);
    SynthMemory memory = rig.engine().memory();
    const auto put = [&memory](const addr::Address &adrs, const QByteArray &bytes,
                               std::uint8_t *buffer) {
        memory.write(adrs, reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                     int(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), buffer);
    };
    constexpr int PatchGroups = 6;
    constexpr int WaveGroups = 2;
    constexpr int SmallReserve = 4;
    QByteArray common =
        randomBlock(PerformanceParams::common(), PerformanceImage::CommonSize, PatchGroups, rng);
    for (int p = 0; p < PerformanceImage::PartCount; ++p)
        common[PerformanceParams::FirstVoiceReserve + p] = char(rng.bounded(SmallReserve + 1));
    put(addr::performanceCommonAddress(0), common, rig.state.performance.data());
    for (int p = 1; p <= PerformanceImage::PartCount; ++p) {
        QByteArray part =
            randomBlock(PerformanceParams::part(), PerformanceImage::PartSize, PatchGroups, rng);
        const char lo = part[PerformanceParams::KeyLower];
        const char hi = part[PerformanceParams::KeyUpper];
        part[PerformanceParams::KeyLower] = std::min(lo, hi);
        part[PerformanceParams::KeyUpper] = std::max(lo, hi);
        put(addr::performancePartAddress(p, 0), part,
            rig.state.performance.data() + PerformanceImage::partPosition(p, 0));
    }
    put(addr::rhythmCommonAddress(0),
        randomBlock(RhythmParams::common(), RhythmImage::CommonSize, WaveGroups, rng),
        rig.state.rhythm.data());
    for (int key = RhythmImage::FirstKey; key <= RhythmImage::LastKey; ++key)
        put(addr::rhythmNoteAddress(key, 0),
            randomBlock(RhythmParams::note(), RhythmImage::NoteSize, WaveGroups, rng),
            rig.state.rhythm.data() + RhythmImage::notePosition(key, 0));
    rig.engine().setMemory(memory);
    rig.state.SendLock = true;
    rig.form.B_UpdateAllClick();
    rig.takeReceived();
}

// Opens a window through the main window's menu item.
template <typename Form>
Form *openFromMenu(EditorRig &rig, const char *action, TMidiMainForm::CommonScreen screen)
{
    auto *a = rig.form.findChild<QAction *>(QLatin1String(action));
    if (!a)
        return nullptr;
    a->trigger();
    auto *w = qobject_cast<Form *>(rig.screens->commonScreen(screen));
    if (w && !QTest::qWaitForWindowExposed(w))
        return nullptr;
    rig.takeReceived();
    return w;
}

} // namespace setscreens
