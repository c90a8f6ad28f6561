#pragma once
// The parameter memory of the virtual JV-1080: system common, the temporary
// performance (common and 16 parts), the patches of the performance parts,
// the rhythm set of part 10, the temporary patch, and the USER and CARD
// performances, rhythm sets and patches. Addresses count in 7 bits per byte,
// as on the real unit, so a run of data flows from 10 7F on to 11 00.

#include "core/addressmap.h"
#include "core/performanceimage.h"
#include "core/rhythmimage.h"
#include "sim/patchmemory.h"
#include "sim/simlayout.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class SynthMemory
{
public:
    enum class Bank
    {
        Temporary,
        Part,
        User,
        Card
    };

    // One block's share of a read: where it starts and its bytes.
    struct Chunk
    {
        addr::Address address{};
        QByteArray bytes;
    };

    SynthMemory() { reset(); }

    // Factory contents: init patches, performances and rhythm sets
    // everywhere, the stored ones named apart ("Init U:001" ... "Init C:128",
    // "Perform U:01" ... "Perform C:32", "Rhythm U:1", "Rhythm C:2").
    void reset();

    // Stores count bytes at consecutive addresses from adrs. Bytes whose
    // address holds no parameter are dropped, as the unit drops them.
    // Returns how many were stored.
    int write(const addr::Address &adrs, const std::uint8_t *data, int count);

    // The stored bytes of [adrs, adrs + size), one chunk per block touched,
    // in address order; gaps between blocks are skipped.
    QList<Chunk> read(const addr::Address &adrs, int size) const;

    std::optional<std::uint8_t> byteAt(const addr::Address &adrs) const;

    // Bank::Part index 0..15 without 9: part 10 plays the rhythm set.
    PatchMemory &patch(Bank bank, int index);
    const PatchMemory &patch(Bank bank, int index) const;
    // The temporary performance and part 10's rhythm set; with
    // Bank::User or Bank::Card the stored performance 1..32 or rhythm set
    // 1..2.
    PerformanceImage &performance(Bank bank = Bank::Temporary, int number = 1);
    const PerformanceImage &performance(Bank bank = Bank::Temporary, int number = 1) const;
    RhythmImage &rhythm(Bank bank = Bank::Temporary, int number = 1);
    const RhythmImage &rhythm(Bank bank = Bank::Temporary, int number = 1) const;
    std::array<std::uint8_t, simlayout::SystemCommonSize> &systemCommon() { return system_; }
    const std::array<std::uint8_t, simlayout::SystemCommonSize> &systemCommon() const
    {
        return system_;
    }

    // USER and CARD memory as a file, so written patches outlive the
    // process. Loading checks the whole file first and leaves the memory
    // untouched when it is not one of ours; error gets the reason.
    bool saveBanks(const QString &path, QString *error) const;
    bool loadBanks(const QString &path, QString *error);
    QByteArray banksImage() const;
    bool setBanksImage(const QByteArray &image, QString *error);

    bool operator==(const SynthMemory &) const = default;

    // One block of the address map (defined where the map is built).
    struct BlockInfo;

private:
    std::uint8_t *resolve(const BlockInfo &b);
    const std::uint8_t *resolve(const BlockInfo &b) const;

    std::array<std::uint8_t, simlayout::SystemCommonSize> system_{};
    PerformanceImage performance_;
    RhythmImage rhythm_;
    std::array<PerformanceImage, addr::PerformancePlaceCount> userPerformances_{};
    std::array<PerformanceImage, addr::PerformancePlaceCount> cardPerformances_{};
    std::array<RhythmImage, addr::RhythmPlaceCount> userRhythms_{};
    std::array<RhythmImage, addr::RhythmPlaceCount> cardRhythms_{};
    PatchMemory temporary_{};
    std::array<PatchMemory, simlayout::PerformancePartCount> parts_{};
    std::array<PatchMemory, addr::PatchCount> user_{};
    std::array<PatchMemory, addr::PatchCount> card_{};
};
