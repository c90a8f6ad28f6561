#include "editors/performanceform.h"

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/effecttables.h"
#include "core/loadscope.h"
#include "core/performanceparams.h"
#include "editors/editorhost.h"
#include "editors/parametercontrol.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr char Caption[] = "Performance";
constexpr int InternalGroup = 0;
constexpr int CardGroup = 1;
constexpr int BoardGroup = 2;
constexpr int PatchNumberBits = 8;
constexpr int OwnEffect = 0;
// The internal patch groups by ID; PR-E is no JV-1080 group.
constexpr const char *InternalGroups[] = {"USER", "CARD", "PR-A", "PR-B", "PR-C", "PR-D"};

int rowOf(ParameterTable table, const char *name)
{
    const ParameterDef *def = findParameter(table, name);
    return def ? int(def - table.data()) : -1;
}

quint32 patchKey(int group, int number)
{
    return quint32(group) << PatchNumberBits | quint32(number);
}
} // namespace

TPerformanceForm::TPerformanceForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
                                   QWidget *parent)
    : ParameterScreen(parent), state_(state), protocol_(protocol), host_(host)
{
    setObjectName(QStringLiteral("PerformanceForm"));
    setWindowTitle(QLatin1String(Caption));
    buildControls();
    connectControls();
    refresh();
}

QWidget *TPerformanceForm::commonControl(const char *name) const
{
    const int row = rowOf(PerformanceParams::common(), name);
    return row < 0 ? nullptr : common_[std::size_t(row)];
}

QWidget *TPerformanceForm::partControl(int part, const char *name) const
{
    const int row = rowOf(PerformanceParams::part(), name);
    if (row < 0 || part < 1 || part > PartCount)
        return nullptr;
    return parts_[std::size_t(part - 1)][std::size_t(row)];
}

void TPerformanceForm::fillGroupLists()
{
    groups_.clear();
    for (int id = 1; const char *name : InternalGroups)
        groups_.push_back({InternalGroup, id++, QLatin1String(name), true});
    for (std::size_t s = 0; s < state_.Expansion.size(); ++s) {
        const ExpansionSlot &slot = state_.Expansion[s];
        const int type = s == 0 ? CardGroup : BoardGroup;
        const bool fitted = slot.group == type && slot.groupId > 0;
        groups_.push_back({type, slot.groupId, slot.cbName, fitted});
    }
    const int row = rowOf(PerformanceParams::part(), "CbGroup");
    for (auto &strip : parts_) {
        auto *list = static_cast<TFocusComboBox *>(strip[std::size_t(row)]);
        list->clear();
        for (std::size_t g = 0; g < groups_.size(); ++g) {
            list->addItem(groups_[g].name);
            list->setRowSelectable(int(g), groups_[g].fitted);
        }
    }
}

int TPerformanceForm::groupRow(int type, int id) const
{
    for (std::size_t g = 0; g < groups_.size(); ++g)
        if (groups_[g].fitted && groups_[g].type == type && groups_[g].id == id)
            return int(g);
    return -1;
}

void TPerformanceForm::refresh()
{
    const LoadScope scope(state_);
    fillGroupLists();
    rememberEditedPatchName();
    const PerformanceImage &perf = state_.performance;
    const ParameterTable common = PerformanceParams::common();
    for (std::size_t r = 0; r < common.size(); ++r) {
        const ParameterDef &def = common[r];
        if (def.kind == ParameterDef::Kind::Name)
            ParameterControl::showName(static_cast<QLineEdit *>(common_[r]), perf.data());
        else
            ParameterControl::show(common_[r], def, def.value(perf.data()));
    }
    const ParameterTable part = PerformanceParams::part();
    for (int p = 1; p <= PartCount; ++p) {
        const std::uint8_t *block = perf.partData(p);
        for (std::size_t r = 0; r < part.size(); ++r) {
            const ParameterDef &def = part[r];
            QWidget *w = parts_[std::size_t(p - 1)][r];
            if (def.kind == ParameterDef::Kind::Group)
                ParameterControl::show(w, def, groupRow(block[def.offset], block[def.offset + 1]));
            else
                ParameterControl::show(w, def, def.value(block));
        }
        showPatchName(p);
    }
    showEffectLayout();
    showVoiceSum();
    LPerfInfo->clear();
}

void TPerformanceForm::sendCommon(const ParameterDef &def, int value)
{
    std::array<std::uint8_t, 2> bytes{};
    def.encode(value, bytes.data());
    ParameterControl::send(protocol_, state_, addr::performanceCommonAddress(def.offset),
                           bytes.data(), def.size());
}

void TPerformanceForm::sendPart(int part, const ParameterDef &def, int value)
{
    std::array<std::uint8_t, 2> bytes{};
    def.encode(value, bytes.data());
    ParameterControl::send(protocol_, state_, addr::performancePartAddress(part, def.offset),
                           bytes.data(), def.size());
}

void TPerformanceForm::commonEdited(int row)
{
    if (state_.SendLock)
        return;
    const ParameterDef &def = PerformanceParams::common()[std::size_t(row)];
    if (def.kind == ParameterDef::Kind::Name) {
        EPerfNameChange();
        return;
    }
    if (def.offset >= PerformanceParams::FirstVoiceReserve) {
        reserveEdited(def.offset - PerformanceParams::FirstVoiceReserve + 1);
        return;
    }
    const int v = ParameterControl::stored(common_[std::size_t(row)], def);
    if (v < 0)
        return;
    sendCommon(def, v);
    if (def.offset == PerformanceParams::EfxType || def.offset == PerformanceParams::EfxSource)
        showEffectLayout();
    if (def.offset >= PerformanceParams::FirstEfxParameter &&
        def.offset < PerformanceParams::FirstEfxParameter + PerformanceParams::EfxParameterCount)
        showEffectLayout();
}

void TPerformanceForm::EPerfNameChange()
{
    if (state_.SendLock)
        return;
    auto *edit = static_cast<QLineEdit *>(commonControl("EPerfName"));
    const auto name = ParameterControl::nameBytes(edit);
    ParameterControl::send(protocol_, state_, addr::performanceCommonAddress(0), name.data(),
                           int(name.size()));
}

// The unit has 64 voices for all parts together: a reserve that would take
// more than the others leave is cut to what is left, and the window says so.
void TPerformanceForm::reserveEdited(int part)
{
    const int row = rowOf(PerformanceParams::common(), "SpReserve1") + part - 1;
    auto *spin = static_cast<TSpincw0R *>(common_[std::size_t(row)]);
    const int most = state_.performance.maxVoiceReserve(part);
    int v = spin->Value();
    if (v > most) {
        v = most;
        {
            const LoadScope quiet(state_);
            spin->setValue(v);
        }
        LPerfInfo->setText(QStringLiteral("Voice reserve refused: the parts keep at most %1 "
                                          "voices together, so part %2 can keep %3.")
                               .arg(addr::performance::VoiceLimit)
                               .arg(part)
                               .arg(most));
    } else {
        LPerfInfo->clear();
    }
    sendCommon(PerformanceParams::common()[std::size_t(row)], v);
    showVoiceSum();
}

void TPerformanceForm::partEdited(int part, int row)
{
    if (state_.SendLock)
        return;
    const ParameterDef &def = PerformanceParams::part()[std::size_t(row)];
    QWidget *w = parts_[std::size_t(part - 1)][std::size_t(row)];
    if (def.offset == PerformanceParams::KeyLower || def.offset == PerformanceParams::KeyUpper) {
        keyRangeEdited(part, def.offset == PerformanceParams::KeyUpper);
        return;
    }
    const int v = ParameterControl::stored(w, def);
    if (v < 0)
        return;
    if (def.kind == ParameterDef::Kind::Group) {
        const Group &g = groups_[std::size_t(v)];
        if (!g.fitted) {
            // An empty card or board slot is no group to send.
            const LoadScope quiet(state_);
            const std::uint8_t *block = state_.performance.partData(part);
            ParameterControl::show(w, def, groupRow(block[def.offset], block[def.offset + 1]));
            return;
        }
        sendPart(part, def, g.type << ParameterDef::GroupIdBits | g.id);
    } else {
        sendPart(part, def, v);
    }
    if (def.offset == PerformanceParams::PatchGroup || def.offset == PerformanceParams::PatchNumber)
        showPatchName(part);
}

// A key range never turns upside down: the bar the user pushes past the
// other stops at it.
void TPerformanceForm::keyRangeEdited(int part, bool upper)
{
    const ParameterTable table = PerformanceParams::part();
    const int loRow = rowOf(table, "CbKeyLo");
    const int hiRow = rowOf(table, "CbKeyHi");
    auto &strip = parts_[std::size_t(part - 1)];
    auto *lo = static_cast<TFocusComboBox *>(strip[std::size_t(loRow)]);
    auto *hi = static_cast<TFocusComboBox *>(strip[std::size_t(hiRow)]);
    if (lo->currentIndex() < 0 || hi->currentIndex() < 0)
        return;
    if (lo->currentIndex() > hi->currentIndex()) {
        const LoadScope quiet(state_);
        (upper ? hi : lo)->setCurrentIndex((upper ? lo : hi)->currentIndex());
    }
    sendPart(part, table[std::size_t(upper ? hiRow : loRow)], (upper ? hi : lo)->currentIndex());
}

void TPerformanceForm::showVoiceSum()
{
    LVoiceSum->setText(QStringLiteral("Voices reserved: %1 of %2")
                           .arg(state_.performance.voiceReserveSum())
                           .arg(addr::performance::VoiceLimit));
}

// The twelve parameter bytes mean what the effect type makes of them; a
// byte no slot of the type uses is hidden. While a part's patch provides
// the effect, the performance's own effect settings are not used.
void TPerformanceForm::showEffectLayout()
{
    const EffectTables &tables = EffectTables::instance();
    const int type = state_.performance.common(PerformanceParams::EfxType);
    effectPanel_->setEnabled(state_.performance.common(PerformanceParams::EfxSource) == OwnEffect);
    const LoadScope quiet(state_);
    for (int k = 1; k <= PerformanceParams::EfxParameterCount; ++k) {
        auto *spin = static_cast<TSpincw0R *>(
            common_[std::size_t(rowOf(PerformanceParams::common(), "SpEfxParam1") + k - 1)]);
        int slot = -1;
        for (int s = 0; s < EffectTables::SlotCount && slot < 0; ++s)
            if (tables.slot(type, s).visible() && tables.slot(type, s).offset == k)
                slot = s;
        QLabel *label = efxLabels_[std::size_t(k - 1)];
        QLabel *value = efxValues_[std::size_t(k - 1)];
        const bool used = slot >= 0;
        spin->setVisible(used);
        label->setVisible(used);
        value->setVisible(used);
        if (!used)
            continue;
        const EffectTables::Slot &s = tables.slot(type, slot);
        const int stored = state_.performance.common(PerformanceParams::EfxType + k);
        label->setText(s.label.trimmed());
        spin->setMaxValue(std::max(0, tables.listSize(s.list) - 1));
        spin->setValue(stored);
        value->setText(tables.valueText(type, slot, spin->Value()).trimmed());
    }
}

void TPerformanceForm::rememberEditedPatchName()
{
    if (state_.editMode() != EditMode::Perform)
        return;
    const int part = state_.currentPart() + 1;
    const std::uint8_t *block = state_.performance.partData(part);
    const ParameterDef &group = *findParameter(PerformanceParams::part(), "CbGroup");
    const ParameterDef &number = *findParameter(PerformanceParams::part(), "SpPatch");
    patchNameBook_.insert(patchKey(group.value(block), number.value(block)),
                          QString::fromLatin1(state_.patchImage.name()));
}

void TPerformanceForm::showPatchName(int part)
{
    QLabel *label = patchNames_[std::size_t(part - 1)];
    if (part == RhythmPart) {
        bool known = true;
        for (int i = 0; i < ParameterDef::NameSize; ++i)
            known = known && state_.rhythm.known(i);
        label->setText(known ? QString::fromLatin1(state_.rhythm.name()) : QString());
        return;
    }
    const std::uint8_t *block = state_.performance.partData(part);
    const ParameterDef &group = *findParameter(PerformanceParams::part(), "CbGroup");
    const ParameterDef &number = *findParameter(PerformanceParams::part(), "SpPatch");
    label->setText(patchNameBook_.value(patchKey(group.value(block), number.value(block))));
}
