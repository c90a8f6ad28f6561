#include "core/appsettings.h"
#include "core/editstate.h"
#include "core/programdir.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestAppSettings : public QObject
{
    Q_OBJECT

    QString iniPath() const { return dir_->filePath(QStringLiteral("settings.ini")); }
    std::unique_ptr<QTemporaryDir> dir_;

private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("exp.txt")));
    }

    void firstRunWritesDefaults()
    {
        EditState state;
        state.UnitId = 25;
        {
            AppSettings settings(iniPath());
            settings.programDir = dir_->path() + QLatin1Char('/');
            QVERIFY(settings.ReadSettings(state));
            QVERIFY(settings.FirstRun);
            QCOMPARE(state.UnitId, 17);
        }
        const QString patchDir =
            QDir::toNativeSeparators(dir_->path() + QStringLiteral("/patches/"));
        const std::pair<const char *, QString> defaults[] = {
            {"Naam", "TessivaW99"},    {"JVID", "17"},
            {"Midi_In1", "0"},         {"Midi_In2", "0"},
            {"Midi_Out", "0"},         {"ExpP", "NoWave.txt"},
            {"ExpA", "NoWave.txt"},    {"ExpB", "NoWave.txt"},
            {"ExpC", "NoWave.txt"},    {"ExpD", "NoWave.txt"},
            {"SepKB", "false"},        {"PlayNote", "false"},
            {"AutoSave", "true"},      {"Patch", ""},
            {"PatchDir", patchDir},    {"BankPauseMs", "20"},
            {"BankTimeoutMs", "1000"}, {"BankRetries", "3"}};
        QSettings stored(iniPath(), QSettings::IniFormat);
        for (const auto &[key, value] : defaults)
            QCOMPARE(stored.value(key).toString(), value);

        // The store now exists, so the next start is no first run.
        AppSettings again(iniPath());
        QVERIFY(!again.ReadSettings(state));
        QVERIFY(again.fallbacks().isEmpty());
    }

    void storedValuesReadBackAndBadOnesFallBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("bad");
        QTest::newRow("all good") << QString() << QString();
        const std::pair<const char *, const char *> rows[] = {
            {"JVID", "99"},        {"JVID", "16"},     {"JVID", "abc"},
            {"Midi_In1", "x1"},    {"Midi_In2", "-7"}, {"Midi_Out", "123456789"},
            {"SepKB", "maybe"},    {"PlayNote", "2"},  {"ExpP", "../../etc/pw"},
            {"ExpA", "C:\\x.txt"}, {"ExpD", ""}};
        const std::pair<const char *, const char *> bankRows[] = {
            {"BankPauseMs", "-1"},    {"BankPauseMs", "1001"}, {"BankTimeoutMs", "99"},
            {"BankTimeoutMs", "1e3"}, {"BankRetries", "11"},   {"BankRetries", ""}};
        for (const auto &[key, bad] : rows)
            QTest::addRow("%s=%s", key, bad) << key << bad;
        for (const auto &[key, bad] : bankRows)
            QTest::addRow("%s=%s", key, bad) << key << bad;
    }

    // Every value is written distinct from its default, one is spoiled in the
    // store: that one alone falls back, the others still arrive.
    void storedValuesReadBackAndBadOnesFallBack()
    {
        QFETCH(QString, key);
        QFETCH(QString, bad);
        const QStringList keys{"ExpP", "ExpA", "ExpB", "ExpC", "ExpD"};
        const QStringList files{"P-exp01.txt", "ExpOrch2.txt", "ExpPop.txt", "ExpCus04.txt",
                                "ExpVocal.txt"};
        const DeviceChoice synthIn{2, QStringLiteral("USB MIDI, port 1")};
        const DeviceChoice keyboardIn{1, QStringLiteral("Keys")};
        const DeviceChoice synthOut{AppSettings::NoDevice, QString()};
        {
            EditState state;
            AppSettings settings(iniPath());
            settings.ReadSettings(state);
            state.UnitId = 32;
            state.PlayNoteOn = true;
            for (int i = 0; i < 5; ++i)
                state.Expansion[std::size_t(i)].fileName = files[i];
            settings.SynthIn = synthIn;
            settings.KeyboardIn = keyboardIn;
            settings.SynthOut = synthOut;
            settings.SepKB = true;
            settings.LastPatchFile = QStringLiteral("/home/u/patches/Strings_.pat");
            settings.UpdateFromJv = false;
            settings.BankPauseMs = 35;
            settings.BankTimeoutMs = 2500;
            settings.BankRetries = 0;
            QCOMPARE(settings.WriteSettings(state), QString());
            if (!key.isEmpty())
                QSettings(iniPath(), QSettings::IniFormat).setValue(key, bad);
        }
        EditState read;
        AppSettings back(iniPath());
        QVERIFY(!back.ReadSettings(read));
        QCOMPARE(back.fallbacks(), key.isEmpty() ? QStringList() : QStringList{key});
        QCOMPARE(read.UnitId, key == "JVID" ? 17 : 32);
        // A spoilt index takes the first device; the name still comes back.
        const auto device = [&](const char *k, const DeviceChoice &d) {
            return key == k ? DeviceChoice{0, d.name} : d;
        };
        QCOMPARE(back.SynthIn, device("Midi_In1", synthIn));
        QCOMPARE(back.KeyboardIn, device("Midi_In2", keyboardIn));
        QCOMPARE(back.SynthOut, device("Midi_Out", synthOut));
        QCOMPARE(back.SepKB, key != "SepKB");
        QCOMPARE(read.PlayNoteOn, key != "PlayNote");
        for (int i = 0; i < 5; ++i)
            QCOMPARE(read.Expansion[std::size_t(i)].fileName,
                     keys[i] == key ? QStringLiteral("NoWave.txt") : files[i]);
        QCOMPARE(back.UpdateFromJv, false);
        QCOMPARE(back.BankPauseMs, key == "BankPauseMs" ? 20 : 35);
        QCOMPARE(back.BankTimeoutMs, key == "BankTimeoutMs" ? 1000 : 2500);
        QCOMPARE(back.BankRetries, key == "BankRetries" ? 3 : 0);
        QCOMPARE(back.LastPatchFile, QStringLiteral("/home/u/patches/Strings_.pat"));
    }

    void missingAndOverlongValues()
    {
        {
            QSettings raw(iniPath(), QSettings::IniFormat);
            raw.setValue("JVID", 18);
            raw.setValue("ExpB", "ExpOrch2.txtXYZ");
        }
        EditState state;
        AppSettings settings(iniPath());
        QVERIFY(!settings.ReadSettings(state));
        QCOMPARE(state.UnitId, 18);
        QCOMPARE(state.Expansion[2].fileName, QStringLiteral("ExpOrch2.txt"));
        QCOMPARE(state.Expansion[0].fileName, QStringLiteral("NoWave.txt"));
        QVERIFY(settings.fallbacks().contains("Midi_In1"));
    }

    void deviceSettingsLeaveOptionsAlone()
    {
        EditState state;
        AppSettings settings(iniPath());
        settings.ReadSettings(state);
        state.UnitId = 30;
        settings.SynthOut = {3, QStringLiteral("Out")};
        settings.WriteSettings(state);

        state.PlayNoteOn = true;
        settings.LastPatchFile = QStringLiteral("new.pat");
        state.UnitId = 22;
        settings.SynthOut = {};
        settings.ReadDeviceSettings(state);
        QCOMPARE(state.UnitId, 30);
        QCOMPARE(settings.SynthOut, (DeviceChoice{3, QStringLiteral("Out")}));
        QCOMPARE(state.PlayNoteOn, true);
        QCOMPARE(settings.LastPatchFile, QStringLiteral("new.pat"));
    }

    void resolveDevice_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("missing"); // another device stands in
        const QStringList three{"Virtual", "USB A", "USB B"};
        const std::tuple<const char *, int, const char *, QStringList, int, bool> rows[] = {
            {"name moved down", 1, "USB A", {"Virtual", "USB B", "USB A"}, 2, false},
            {"name moved up, index now past list", 3, "USB B", {"USB B", "Virtual"}, 0, false},
            {"duplicate name keeps its own place", 2, "Port", {"Port", "X", "Port"}, 2, false},
            {"no name, index in list", 2, "", three, 2, false},
            {"name gone, index in list", 1, "Gone", three, 0, true},
            {"index past list", 7, "", three, 0, true},
            {"nothing chosen stays nothing", -1, "", three, -1, false},
            {"no devices at all", 0, "", {}, -1, true}};
        for (const auto &[row, index, name, devices, expected, missing] : rows)
            QTest::newRow(row) << index << QString(name) << devices << expected << missing;
    }

    void resolveDevice()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QStringList, devices);
        QFETCH(int, expected);
        QFETCH(bool, missing);
        QCOMPARE(AppSettings::ResolveDevice({index, name}, devices), expected);
        QCOMPARE(AppSettings::IsMissing({index, name}, devices), missing);
    }

    // A slot whose file is there takes its definition; one whose file is gone
    // is emptied rather than keeping the previous board's limits.
    void expansionDefinitions()
    {
        QFile f(dir_->filePath(QStringLiteral("exp.txt/ExpTest.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[ExpType]\r\nCbName=Experience\r\nGroup=2\r\nGroupID=99\r\nMaxwaves=19\r\n[Waves]"
                "\r\n");
        f.close();
        EditState state;
        AppSettings settings(iniPath());
        settings.programDir = dir_->path() + QLatin1Char('/');
        state.Expansion[1].fileName = QStringLiteral("ExpTest.txt");
        state.Expansion[2] = {QStringLiteral("Missing.txt"), QStringLiteral("Old"), 2, 5, 50};
        settings.ReadExpansionFiles(state);
        QCOMPARE(state.Expansion[1].cbName, QStringLiteral("Experience"));
        QCOMPARE(state.Expansion[1].maxWaves, 19);
        const ExpansionSlot &missing = state.Expansion[2];
        QCOMPARE(missing.cbName, QStringLiteral("None"));
        QCOMPARE(missing.groupId, 0);
        QCOMPARE(missing.maxWaves, 1);
    }

    void programDirIsFirstFolderWithExpansions()
    {
        const QString withExp = dir_->path();
        const QString without = dir_->filePath(QStringLiteral("empty"));
        QVERIFY(QDir().mkpath(without));
        QCOMPARE(FindProgramDir({without, withExp}), withExp + QLatin1Char('/'));
        QCOMPARE(FindProgramDir({withExp, without}), withExp + QLatin1Char('/'));
        // Nothing installed anywhere: the last candidate, the working folder.
        QCOMPARE(FindProgramDir({without, without + QStringLiteral("/")}),
                 without + QLatin1Char('/'));
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
