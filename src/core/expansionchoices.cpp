#include "core/expansionchoices.h"

#include <array>

namespace {

constexpr std::array<ExpansionChoice, 15> PcmCards{{
    {"None", ExpansionChoices::NoWaveFile},
    {"Piano Selection", "P-piano.txt"},
    {"Guitar Brass", "P-gitbrs.txt"},
    // One spelling for writing and reading, so a saved choice shows again.
    {"Rock Drums", "P-rockdr.txt"},
    {"Grand Piano", "P-gr-pi.txt"},
    {"Accordion", "P-accord.txt"},
    {"Baroque", "P-baroq.txt"},
    {"Orchestral FX", "P-orchfx.txt"},
    {"Country Folk", "P-countr.txt"},
    {"09", "P-09.txt"},
    {"10", "P-10.txt"},
    {"Custom1", "P-cust01.txt"},
    {"Custom2", "P-cust02.txt"},
    {"Experience", "P-exp01.txt"},
    {"Experience2", "P-exp02.txt"},
}};

constexpr std::array<ExpansionChoice, 24> Boards{{
    {"None", ExpansionChoices::NoWaveFile},
    {"Pop", "ExpPop.txt"},
    {"Orchestra", "ExpOrch.txt"},
    {"Piano", "ExpPiano.txt"},
    {"Vintage", "ExpVinta.txt"},
    {"World", "ExpWorld.txt"},
    {"Dance", "ExpDance.txt"},
    {"SuperSnd", "ExpSpSnd.txt"},
    {"Kbd60-70", "ExpKb670.txt"},
    {"Session", "ExpSessi.txt"},
    {"Bass/Drums", "ExpBsDrm.txt"},
    {"Techno", "ExpTech.txt"},
    {"HipHop", "ExpHipHp.txt"},
    {"Vocal", "ExpVocal.txt"},
    {"Custom1", "ExpCus01.txt"},
    {"Custom2", "ExpCus02.txt"},
    {"Experience", "ExpOrch2.txt"},
    {"Experience2", "ExpCus03.txt"},
    {"Asia", "ExpAsia.txt"},
    {"Special FX", "ExpSpcFX.txt"},
    {"Orchestral II", "ExpOrcII.txt"},
    {"Country", "ExpCntry.txt"},
    {"Latin", "ExpLatin.txt"},
    {"House", "ExpHouse.txt"},
}};

// Reserved names that settings may hold but no list entry offers.
constexpr std::array<const char *, 3> HiddenBoardFiles{"ExpCus04.txt", "ExpExp01.txt",
                                                       "ExpExp02.txt"};

int indexIn(std::span<const ExpansionChoice> choices, const QString &fileName)
{
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (fileName == QLatin1String(choices[i].fileName))
            return int(i);
    }
    return -1;
}

QString fileAt(std::span<const ExpansionChoice> choices, int index)
{
    if (index < 0 || std::size_t(index) >= choices.size())
        return {};
    return QLatin1String(choices[std::size_t(index)].fileName);
}

} // namespace

std::span<const ExpansionChoice> ExpansionChoices::pcmCards()
{
    return PcmCards;
}

std::span<const ExpansionChoice> ExpansionChoices::boards()
{
    return Boards;
}

QStringList ExpansionChoices::entries(std::span<const ExpansionChoice> choices)
{
    QStringList out;
    for (const ExpansionChoice &c : choices)
        out << QLatin1String(c.entry);
    return out;
}

int ExpansionChoices::pcmIndex(const QString &fileName)
{
    return std::max(indexIn(PcmCards, fileName), 0);
}

int ExpansionChoices::boardIndex(const QString &fileName)
{
    const int i = indexIn(Boards, fileName);
    if (i >= 0)
        return i;
    for (const char *hidden : HiddenBoardFiles) {
        if (fileName == QLatin1String(hidden))
            return NoSelection;
    }
    return 0;
}

QString ExpansionChoices::pcmFile(int index)
{
    return fileAt(PcmCards, index);
}

QString ExpansionChoices::boardFile(int index)
{
    return fileAt(Boards, index);
}
