#pragma once
// The persisted settings: unit ID, MIDI devices, fitted expansions, the last
// patch file and the options. Stored in the user's native settings store
// (registry on Windows, an INI file elsewhere) under Korvale/TessivaW95.

#include "core/editstate.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>

class QSettings;

// A MIDI device as remembered: its list index and its name. Indices move
// when devices come and go, so the name wins when it is found.
struct DeviceChoice
{
    int index = 0;
    QString name;
    bool operator==(const DeviceChoice &) const = default;
};

class AppSettings
{
public:
    static constexpr char Organisation[] = "Korvale";
    static constexpr char Application[] = "TessivaW95";
    static constexpr int ExpansionNameLength = 12;
    static constexpr int NoDevice = -1;

    // The user's own store.
    AppSettings();
    // A store the caller owns and keeps alive (tests use a temporary file).
    explicit AppSettings(QSettings &store);
    // An INI file of its own.
    explicit AppSettings(const QString &iniFile);
    ~AppSettings();
    AppSettings(const AppSettings &) = delete;
    AppSettings &operator=(const AppSettings &) = delete;

    // Values that live here rather than in the editing state. UnitId, the
    // five expansion file names and PlayNoteOn live in EditState.
    DeviceChoice SynthIn;    // "Midi_In1"
    DeviceChoice KeyboardIn; // "Midi_In2"
    DeviceChoice SynthOut;   // "Midi_Out"; NoDevice selects the default output
    bool SepKB = false;
    QString LastPatchFile;    // "Patch"
    bool UpdateFromJv = true; // "Update"
    // "AutoSave": the edited patch is kept in the recovery file.
    bool AutoSave = true;
    bool FirstRun = false;

    // Pacing of bank transfers. Slow interfaces drop System Exclusive that
    // comes too fast, and a real unit needs its time to answer.
    static constexpr int DefaultBankPauseMs = 20;
    static constexpr int MinBankPauseMs = 0;
    static constexpr int MaxBankPauseMs = 1000;
    static constexpr int DefaultBankTimeoutMs = 1000;
    static constexpr int MinBankTimeoutMs = 100;
    static constexpr int MaxBankTimeoutMs = 30000;
    static constexpr int DefaultBankRetries = 3;
    static constexpr int MinBankRetries = 0;
    static constexpr int MaxBankRetries = 10;
    int BankPauseMs = DefaultBankPauseMs;     // "BankPauseMs", between messages sent
    int BankTimeoutMs = DefaultBankTimeoutMs; // "BankTimeoutMs", for one answer
    int BankRetries = DefaultBankRetries;     // "BankRetries", further requests for a place

    // Folder of the expansion folder and of "patches"; ends with a slash.
    QString programDir;

    // Reads every stored value into this object and the editing state, then
    // the five expansion definition files. A missing store is a first run:
    // defaults are set and written. A value that is missing or unreadable
    // takes its default and the reading goes on. Returns FirstRun.
    bool ReadSettings(EditState &state);
    // Only the values the device and expansion settings show; the options
    // and the remembered patch file keep what the session has made of them.
    void ReadDeviceSettings(EditState &state);
    void DefaultSettings(EditState &state);
    // Writes every value; returns the store's reason on failure, else empty.
    QString WriteSettings(const EditState &state);
    // Reads the definition file of each slot from the expansion folder.
    void ReadExpansionFiles(EditState &state) const;

    // Value names that fell back to their default during the last reading.
    const QStringList &fallbacks() const { return fallbacks_; }

    // The device to use now: the remembered name's place in the current
    // list when it is there; the remembered index when no name was stored
    // and the index is in the list; else the first device (NoDevice when
    // there is none). NoDevice stays NoDevice.
    static int ResolveDevice(const DeviceChoice &choice, const QStringList &devices);
    // The remembered device is not in the list (by its name, or by its index
    // when no name was stored), so ResolveDevice stands another one in.
    static bool IsMissing(const DeviceChoice &choice, const QStringList &devices);

private:
    void readDevices(EditState &state);
    int readInt(const char *key, int fallback, int lo, int hi);
    bool readBool(const char *key, bool fallback);
    QString readString(const char *key, const QString &fallback);
    QString readExpansionName(const char *key);
    DeviceChoice readDevice(const char *key, const char *nameKey);

    std::unique_ptr<QSettings> owned_;
    QSettings *store_;
    QStringList fallbacks_;
};
