#include "editors/rhythmform.h"

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/displaytables.h"
#include "core/loadscope.h"
#include "core/rhythmparams.h"
#include "editors/editorhost.h"
#include "editors/parametercontrol.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace {
constexpr char Caption[] = "Rhythm Set";
constexpr int NotesPerOctave = 12;
// Black keys within an octave, C = 0.
constexpr bool BlackKey[NotesPerOctave] = {false, true,  false, true,  false, false,
                                           true,  false, true,  false, true,  false};
constexpr int WaveSelectSize = 4;
const QColor BlackKeyColour(48, 48, 48);
const QColor WhiteKeyColour(250, 250, 250);
const QColor SilentColour(150, 150, 150);

int rowOf(const char *name)
{
    const ParameterTable table = RhythmParams::note();
    const ParameterDef *def = findParameter(table, name);
    return def ? int(def - table.data()) : -1;
}
} // namespace

TRhythmForm::TRhythmForm(EditState &state, SysexProtocol &protocol, EditorHost &host,
                         QWidget *parent)
    : ParameterScreen(parent), state_(state), protocol_(protocol), host_(host),
      waves_(state, host.waveListFolder()), key_(RhythmImage::FirstKey)
{
    setObjectName(QStringLiteral("RhythmForm"));
    setWindowTitle(QLatin1String(Caption));
    buildControls();
    connectControls();
    refresh();
}

QWidget *TRhythmForm::noteControl(const char *name) const
{
    const int row = rowOf(name);
    return row < 0 ? nullptr : note_[std::size_t(row)];
}

void TRhythmForm::refresh()
{
    const LoadScope scope(state_);
    waves_.reload();
    ParameterControl::showName(ERhythmName, state_.rhythm.data());
    auto *groups = static_cast<TFocusComboBox *>(noteControl("CbWaveGroup"));
    groups->clear();
    for (int r = 0; r < WaveGroups::RowCount; ++r) {
        groups->addItem(waves_.name(r));
        groups->setRowSelectable(r, waves_.fitted(r));
    }
    for (int key = RhythmImage::FirstKey; key <= RhythmImage::LastKey; ++key)
        showNoteItem(key);
    loadNote();
}

void TRhythmForm::selectKey(int key)
{
    if (!RhythmImage::validKey(key))
        return;
    key_ = key;
    {
        const QSignalBlocker quiet(LbNotes);
        LbNotes->setCurrentRow(key - RhythmImage::FirstKey);
    }
    loadNote();
}

void TRhythmForm::loadNote()
{
    const LoadScope scope(state_);
    const std::uint8_t *block = state_.rhythm.noteData(key_);
    const ParameterTable table = RhythmParams::note();
    for (std::size_t r = 0; r < table.size(); ++r) {
        const ParameterDef &def = table[r];
        if (def.kind == ParameterDef::Kind::Group)
            ParameterControl::show(note_[r], def,
                                   waves_.row(block[def.offset], block[def.offset + 1]));
        else
            ParameterControl::show(note_[r], def, def.value(block));
    }
    // The wave spin reaches as far as the group has waves.
    auto *wave = static_cast<TSpincw0R *>(noteControl("SpWaveNo"));
    const int group = static_cast<QComboBox *>(noteControl("CbWaveGroup"))->currentIndex();
    wave->setMaxValue(waves_.waveCount(group));
    wave->setValue(state_.rhythm.waveNumber(key_) + 1);
    LNoteKey->setText(QStringLiteral("Key %1  %2")
                          .arg(key_)
                          .arg(DisplayTables::instance().NoteNames[std::size_t(key_)]));
    showWave();
}

void TRhythmForm::showWave()
{
    const int group = static_cast<QComboBox *>(noteControl("CbWaveGroup"))->currentIndex();
    LWaveName->setText(waves_.waveName(group, state_.rhythm.waveNumber(key_)));
}

void TRhythmForm::showNoteItem(int key)
{
    QListWidgetItem *item = LbNotes->item(key - RhythmImage::FirstKey);
    if (!item)
        return;
    const std::uint8_t *block = state_.rhythm.noteData(key);
    const int group =
        waves_.row(block[RhythmParams::WaveGroup], block[RhythmParams::WaveGroup + 1]);
    const QString wave = waves_.waveName(group, state_.rhythm.waveNumber(key));
    item->setText(QStringLiteral("%1 %2  %3")
                      .arg(key)
                      .arg(DisplayTables::instance().NoteNames[std::size_t(key)], -4)
                      .arg(wave));
    const bool black = BlackKey[key % NotesPerOctave];
    const bool on = block[RhythmParams::NoteSwitch] != 0;
    item->setBackground(black ? BlackKeyColour : WhiteKeyColour);
    item->setForeground(!on ? SilentColour : black ? WhiteKeyColour : BlackKeyColour);
}

void TRhythmForm::sendNote(const ParameterDef &def, int value)
{
    std::array<std::uint8_t, 2> bytes{};
    def.encode(value, bytes.data());
    ParameterControl::send(protocol_, state_, addr::rhythmNoteAddress(key_, def.offset),
                           bytes.data(), def.size());
}

void TRhythmForm::noteEdited(int row)
{
    if (state_.SendLock)
        return;
    const ParameterDef &def = RhythmParams::note()[std::size_t(row)];
    if (def.kind == ParameterDef::Kind::Group) {
        waveEdited(row);
        return;
    }
    const int v = ParameterControl::stored(note_[std::size_t(row)], def);
    if (v < 0)
        return;
    sendNote(def, v);
    if (def.offset == RhythmParams::WaveNumber)
        showWave();
    if (def.offset == RhythmParams::WaveNumber || def.offset == RhythmParams::NoteSwitch)
        showNoteItem(key_);
}

// A new group keeps the wave number as far as the group has waves, and
// group and wave go in one data set, so the unit never plays a wave number
// of one group from another.
void TRhythmForm::waveEdited(int row)
{
    auto *list = static_cast<QComboBox *>(note_[std::size_t(row)]);
    const int groupRow = list->currentIndex();
    if (groupRow < 0 || !waves_.fitted(groupRow)) {
        loadNote();
        return;
    }
    auto *spin = static_cast<TSpincw0R *>(noteControl("SpWaveNo"));
    {
        const LoadScope quiet(state_);
        spin->setMaxValue(waves_.waveCount(groupRow));
    }
    const auto [type, id] = waves_.group(groupRow);
    const int wave = spin->Value() - 1;
    const std::uint8_t bytes[WaveSelectSize] = {std::uint8_t(type), std::uint8_t(id),
                                                std::uint8_t(wave >> ParameterDef::NibbleBits),
                                                std::uint8_t(wave & ParameterDef::NibbleMask)};
    ParameterControl::send(protocol_, state_,
                           addr::rhythmNoteAddress(key_, RhythmParams::WaveGroup), bytes,
                           WaveSelectSize);
    showWave();
    showNoteItem(key_);
}

void TRhythmForm::ERhythmNameChange()
{
    if (state_.SendLock)
        return;
    const auto name = ParameterControl::nameBytes(ERhythmName);
    ParameterControl::send(protocol_, state_, addr::rhythmCommonAddress(0), name.data(),
                           int(name.size()));
}

void TRhythmForm::auditionPressed()
{
    auditionReleased();
    host_.sendShort(NoteOn + RhythmChannel - 1, key_, AuditionVelocity);
    sounding_ = key_;
}

void TRhythmForm::auditionReleased()
{
    if (sounding_ < 0)
        return;
    host_.sendShort(NoteOff + RhythmChannel - 1, sounding_, 0);
    sounding_ = -1;
}
