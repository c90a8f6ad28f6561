#include "editorrig.h"

#include "midi/sysexmessage.h"

#include <QAbstractItemView>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

namespace {
constexpr std::uint8_t SysexStart = 0xF0;
constexpr std::uint8_t SysexEnd = 0xF7;
constexpr int BlockByte = sysex::AddressPos + 2;
} // namespace

void clickPopupRow(QAbstractItemView *view, int row)
{
    const QRect shown =
        view->visualRect(view->model()->index(row, 0)).intersected(view->viewport()->rect());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, shown.center());
}

EditorRig::EditorRig()
{
    devices.addBackend(backend);
    form.setProgramDir(QStringLiteral(TESSIVA_BIN_DIR));
    hub = std::make_unique<TNoteOutForm>(state, info, protocol, devices, &form);
    relay.setTarget(hub.get());
    form.setHub(hub.get());
    screens = std::make_unique<EditorScreens>(form, state, protocol);
    engine().setRecording(true);
    ok_ = hub->openPorts(0, 0, -1);
    state.PatchModified = false;
}

EditorRig::~EditorRig()
{
    screens.reset();
    form.setHub(nullptr);
    relay.setTarget(nullptr);
    hub.reset();
    protocol.setSender(nullptr);
}

QWidget *EditorRig::openWindow(const char *button, int tone)
{
    const QString name = QLatin1String(button) + QString::number(tone);
    auto *b = form.findChild<QPushButton *>(name);
    if (!b)
        return nullptr;
    b->click();
    static const std::map<QString, TMidiMainForm::ToneScreen> screensByButton = {
        {QStringLiteral("BTVF_TVA"), TMidiMainForm::ToneScreen::TvfTva},
        {QStringLiteral("BTVP"), TMidiMainForm::ToneScreen::Tvp},
        {QStringLiteral("BLFO"), TMidiMainForm::ToneScreen::Lfo},
        {QStringLiteral("BCtrl"), TMidiMainForm::ToneScreen::Ctrl},
        {QStringLiteral("BWave"), TMidiMainForm::ToneScreen::Wave},
    };
    const auto it = screensByButton.find(QLatin1String(button));
    QWidget *w = it == screensByButton.end() ? nullptr : screens->toneScreen(it->second);
    if (w && !QTest::qWaitForWindowExposed(w))
        return nullptr;
    return w;
}

void EditorRig::loadPatch(const PatchMemory &patch)
{
    SynthMemory memory = engine().memory();
    memory.patch(SynthMemory::Bank::Temporary, 0) = patch;
    engine().setMemory(memory);
    for (int k = 0; k < addr::SlotCount; ++k)
        for (int i = 0; i < addr::blockSize(k); ++i)
            state.patchImage.set(k, i, patch.block(k)[i]);
    form.B_UpdateAllClick();
    takeReceived();
}

bool EditorRig::loadDump(const QString &path, int patch)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = f.readAll();
    PatchMemory p;
    int blocks = 0;
    int patchesSeen = -1;
    for (qsizetype start = all.indexOf(char(SysexStart)); start >= 0;
         start = all.indexOf(char(SysexStart), start + 1)) {
        const qsizetype end = all.indexOf(char(SysexEnd), start);
        if (end < 0)
            break;
        const QByteArray m = all.mid(start, end - start + 1);
        const auto *b = reinterpret_cast<const std::uint8_t *>(m.constData());
        if (m.size() <= sysex::Overhead || b[sysex::CommandPos] != sysex::CommandDataSet)
            continue;
        const int block = b[BlockByte];
        const int k = block == addr::BlockCommon ? 0 : (block - addr::BlockTone1) / 2 + 1;
        if (k == 0)
            ++patchesSeen;
        if (patchesSeen != patch || k < 0 || k > addr::ToneCount)
            continue;
        const int count = std::min<int>(int(m.size()) - sysex::Overhead, addr::blockSize(k));
        std::copy(b + sysex::DataPos, b + sysex::DataPos + count, p.block(k));
        ++blocks;
    }
    if (blocks != addr::SlotCount)
        return false;
    loadPatch(p);
    return true;
}

void EditorRig::loadRandom(quint32 seed)
{
    QRandomGenerator rng(seed);
    PatchMemory p = PatchMemory::initial("Random");
    for (int t = 1; t <= addr::ToneCount; ++t)
        for (int i = 0; i < addr::ToneSize; ++i)
            p.block(t)[i] = std::uint8_t(rng.bounded(128));
    // Waves of the internal groups, so the main window finds them all.
    constexpr int NibbleRange = 16;
    for (int t = 1; t <= addr::ToneCount; ++t) {
        p.block(t)[addr::tone::Switch] = std::uint8_t(rng.bounded(2));
        p.block(t)[addr::tone::WaveGroupType] = 0;
        p.block(t)[addr::tone::WaveGroupId] = std::uint8_t(1 + rng.bounded(2));
        p.block(t)[addr::tone::WaveNumberHigh] = std::uint8_t(rng.bounded(12));
        p.block(t)[addr::tone::WaveNumberLow] = std::uint8_t(rng.bounded(NibbleRange));
    }
    loadPatch(p);
}

QByteArray EditorRig::unitTone(int tone)
{
    engine().waitIdle();
    // memory() hands out a copy: keep it alive while its bytes are read.
    const SynthMemory memory = engine().memory();
    const PatchMemory &p = memory.patch(SynthMemory::Bank::Temporary, 0);
    return QByteArray(reinterpret_cast<const char *>(p.block(tone)), addr::ToneSize);
}

QByteArray EditorRig::imageTone(int tone) const
{
    return QByteArray(reinterpret_cast<const char *>(state.patchImage.slotData(tone)),
                      addr::ToneSize);
}

QList<QByteArray> EditorRig::takeReceived()
{
    engine().waitIdle();
    const QList<QByteArray> all = engine().received();
    const QList<QByteArray> fresh = all.mid(seen_);
    seen_ = int(all.size());
    return fresh;
}

QStringList EditorRig::takeDataSets()
{
    QStringList out;
    for (const QByteArray &m : takeReceived()) {
        const auto *b = reinterpret_cast<const std::uint8_t *>(m.constData());
        if (m.size() < sysex::Overhead || b[0] != SysexStart ||
            b[sysex::CommandPos] != sysex::CommandDataSet)
            continue;
        const int count = int(m.size()) - sysex::Overhead;
        out << sysex::hexLine(b + sysex::AddressPos, 4) + QStringLiteral(" | ") +
                   sysex::hexLine(b + sysex::DataPos, count);
    }
    return out;
}
