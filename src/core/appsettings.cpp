#include "core/appsettings.h"

#include "core/expansionchoices.h"
#include "core/programdir.h"
#include "core/wavelistfile.h"

#include <QDir>
#include <QSettings>

namespace {

// Stored value names.
constexpr char KeyName[] = "Naam";
constexpr char KeyUnitId[] = "JVID";
constexpr char KeySynthIn[] = "Midi_In1";
constexpr char KeyKeyboardIn[] = "Midi_In2";
constexpr char KeySynthOut[] = "Midi_Out";
constexpr char KeySynthInName[] = "Midi_In1_Name";
constexpr char KeyKeyboardInName[] = "Midi_In2_Name";
constexpr char KeySynthOutName[] = "Midi_Out_Name";
constexpr char KeySepKb[] = "SepKB";
constexpr std::array<const char *, EditState::ExpansionSlotCount> KeyExpansion{
    "ExpP", "ExpA", "ExpB", "ExpC", "ExpD"};
constexpr char KeyPatchDir[] = "PatchDir";
constexpr char KeyPatch[] = "Patch";
constexpr char KeyAutoSave[] = "AutoSave";
constexpr char KeyPlayNote[] = "PlayNote";
constexpr char KeyUpdate[] = "Update";
constexpr char KeyBankPause[] = "BankPauseMs";
constexpr char KeyBankTimeout[] = "BankTimeoutMs";
constexpr char KeyBankRetries[] = "BankRetries";

// Defaults: what a first run starts from and what a bad value falls back to.
constexpr char StoredProgramName[] = "TessivaW99";
constexpr int DefaultDevice = 0;
constexpr bool DefaultSepKb = false;
constexpr bool DefaultPlayNote = false;
constexpr bool DefaultUpdate = true;
constexpr bool DefaultAutoSave = true;
constexpr char PatchFolder[] = "patches/";
// No device list is anywhere near this long; larger numbers are damage.
constexpr int MaxDeviceIndex = 4095;

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

} // namespace

AppSettings::AppSettings()
    : owned_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                         QLatin1String(Organisation), QLatin1String(Application))),
      store_(owned_.get())
{
    programDir = ProgramDir();
}

AppSettings::AppSettings(QSettings &store) : store_(&store)
{
    programDir = ProgramDir();
}

AppSettings::AppSettings(const QString &iniFile)
    : owned_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)), store_(owned_.get())
{
    programDir = ProgramDir();
}

AppSettings::~AppSettings() = default;

int AppSettings::readInt(const char *key, int fallback, int lo, int hi)
{
    const QVariant v = store_->value(QLatin1String(key));
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (ok && n >= lo && n <= hi)
        return n;
    fallbacks_ << QLatin1String(key);
    return fallback;
}

bool AppSettings::readBool(const char *key, bool fallback)
{
    // Only the spellings a store writes count; "yes" or "2" is damage.
    const QString s = store_->value(QLatin1String(key)).toString().trimmed().toLower();
    if (s == QLatin1String("true") || s == QLatin1String("1"))
        return true;
    if (s == QLatin1String("false") || s == QLatin1String("0"))
        return false;
    fallbacks_ << QLatin1String(key);
    return fallback;
}

QString AppSettings::readString(const char *key, const QString &fallback)
{
    // A hand-edited INI line with a bare comma reads back as a list.
    const QVariant v = store_->value(QLatin1String(key));
    if (v.isValid() && v.metaType().id() != QMetaType::QStringList && v.canConvert<QString>())
        return v.toString();
    fallbacks_ << QLatin1String(key);
    return fallback;
}

QString AppSettings::readExpansionName(const char *key)
{
    const QString fallback = QLatin1String(ExpansionChoices::NoWaveFile);
    const QString name = readString(key, fallback).left(ExpansionNameLength);
    // The name is joined to the expansion folder: a path would reach outside.
    if (isPlainFileName(name))
        return name;
    fallbacks_ << QLatin1String(key);
    return fallback;
}

DeviceChoice AppSettings::readDevice(const char *key, const char *nameKey)
{
    DeviceChoice d;
    d.index = readInt(key, DefaultDevice, NoDevice, MaxDeviceIndex);
    // The name is an addition of this program; older stores lack it.
    const QVariant name = store_->value(QLatin1String(nameKey));
    if (name.metaType().id() == QMetaType::QString)
        d.name = name.toString();
    return d;
}

void AppSettings::readDevices(EditState &state)
{
    state.UnitId =
        readInt(KeyUnitId, EditState::DefaultUnitId, EditState::MinUnitId, EditState::MaxUnitId);
    SynthIn = readDevice(KeySynthIn, KeySynthInName);
    KeyboardIn = readDevice(KeyKeyboardIn, KeyKeyboardInName);
    SynthOut = readDevice(KeySynthOut, KeySynthOutName);
    SepKB = readBool(KeySepKb, DefaultSepKb);
    for (int i = 0; i < EditState::ExpansionSlotCount; ++i)
        state.Expansion[std::size_t(i)].fileName = readExpansionName(KeyExpansion[std::size_t(i)]);
}

bool AppSettings::ReadSettings(EditState &state)
{
    fallbacks_.clear();
    if (store_->allKeys().isEmpty()) {
        FirstRun = true;
        DefaultSettings(state);
        WriteSettings(state);
    } else {
        readDevices(state);
        LastPatchFile = readString(KeyPatch, QString());
        state.PlayNoteOn = readBool(KeyPlayNote, DefaultPlayNote);
        UpdateFromJv = readBool(KeyUpdate, DefaultUpdate);
        BankPauseMs = readInt(KeyBankPause, DefaultBankPauseMs, MinBankPauseMs, MaxBankPauseMs);
        BankTimeoutMs =
            readInt(KeyBankTimeout, DefaultBankTimeoutMs, MinBankTimeoutMs, MaxBankTimeoutMs);
        BankRetries = readInt(KeyBankRetries, DefaultBankRetries, MinBankRetries, MaxBankRetries);
        AutoSave = readBool(KeyAutoSave, DefaultAutoSave);
    }
    ReadExpansionFiles(state);
    return FirstRun;
}

void AppSettings::ReadDeviceSettings(EditState &state)
{
    fallbacks_.clear();
    if (store_->allKeys().isEmpty())
        return;
    readDevices(state);
    ReadExpansionFiles(state);
}

void AppSettings::DefaultSettings(EditState &state)
{
    state.UnitId = EditState::DefaultUnitId;
    SynthIn = KeyboardIn = SynthOut = DeviceChoice{DefaultDevice, QString()};
    SepKB = DefaultSepKb;
    for (ExpansionSlot &slot : state.Expansion)
        slot.fileName = QLatin1String(ExpansionChoices::NoWaveFile);
    LastPatchFile.clear();
    state.PlayNoteOn = DefaultPlayNote;
    UpdateFromJv = DefaultUpdate;
    BankPauseMs = DefaultBankPauseMs;
    BankTimeoutMs = DefaultBankTimeoutMs;
    BankRetries = DefaultBankRetries;
    AutoSave = DefaultAutoSave;
}

QString AppSettings::WriteSettings(const EditState &state)
{
    QSettings &s = *store_;
    s.setValue(QLatin1String(KeyName), QLatin1String(StoredProgramName));
    s.setValue(QLatin1String(KeyUnitId), state.UnitId);
    s.setValue(QLatin1String(KeySynthIn), SynthIn.index);
    s.setValue(QLatin1String(KeyKeyboardIn), KeyboardIn.index);
    s.setValue(QLatin1String(KeySynthOut), SynthOut.index);
    s.setValue(QLatin1String(KeySepKb), SepKB);
    for (int i = 0; i < EditState::ExpansionSlotCount; ++i)
        s.setValue(QLatin1String(KeyExpansion[std::size_t(i)]),
                   state.Expansion[std::size_t(i)].fileName);
    s.setValue(QLatin1String(KeyPatchDir),
               QDir::toNativeSeparators(programDir + QLatin1String(PatchFolder)));
    s.setValue(QLatin1String(KeyPatch), LastPatchFile);
    s.setValue(QLatin1String(KeyAutoSave), AutoSave);
    s.setValue(QLatin1String(KeyPlayNote), state.PlayNoteOn);
    s.setValue(QLatin1String(KeyUpdate), UpdateFromJv);
    s.setValue(QLatin1String(KeyBankPause), BankPauseMs);
    s.setValue(QLatin1String(KeyBankTimeout), BankTimeoutMs);
    s.setValue(QLatin1String(KeyBankRetries), BankRetries);
    s.setValue(QLatin1String(KeySynthInName), SynthIn.name);
    s.setValue(QLatin1String(KeyKeyboardInName), KeyboardIn.name);
    s.setValue(QLatin1String(KeySynthOutName), SynthOut.name);
    s.sync();
    switch (s.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QStringLiteral("The settings could not be written to \"%1\".").arg(s.fileName());
    case QSettings::FormatError:
        break;
    }
    return QStringLiteral("The settings in \"%1\" are damaged.").arg(s.fileName());
}

void AppSettings::ReadExpansionFiles(EditState &state) const
{
    const QDir folder(programDir + QLatin1String(ExpansionFolderName));
    for (ExpansionSlot &slot : state.Expansion) {
        WaveListFile file(folder.filePath(slot.fileName));
        // A missing or damaged definition counts as an empty slot, without
        // a message: the board's waves are simply not offered.
        if (!file.readSlot(slot)) {
            ExpansionSlot empty = WaveListFile::defaultSlot();
            empty.fileName = slot.fileName;
            slot = empty;
        }
    }
}

int AppSettings::ResolveDevice(const DeviceChoice &choice, const QStringList &devices)
{
    if (choice.index == NoDevice)
        return NoDevice;
    const bool indexInList = choice.index >= 0 && choice.index < devices.size();
    if (choice.name.isEmpty()) {
        if (indexInList)
            return choice.index;
    } else {
        if (indexInList && devices[choice.index] == choice.name)
            return choice.index;
        const int byName = int(devices.indexOf(choice.name));
        if (byName >= 0)
            return byName;
        // The remembered device is gone; its old index now names some other
        // device, so the first one (the built-in synthesizer) is safer.
    }
    return devices.isEmpty() ? NoDevice : DefaultDevice;
}

bool AppSettings::IsMissing(const DeviceChoice &choice, const QStringList &devices)
{
    if (choice.index == NoDevice)
        return false;
    if (!choice.name.isEmpty())
        return !devices.contains(choice.name);
    return choice.index < 0 || choice.index >= devices.size();
}
