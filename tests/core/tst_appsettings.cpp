#include "core/appsettings.h"
#include "core/editstate.h"
#include "core/expansionchoices.h"
#include "core/programdir.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestAppSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void firstRunWritesDefaults();
    void writeThenReadRestoresEveryValue();
    void badValueFallsBackAndReadingGoesOn_data();
    void badValueFallsBackAndReadingGoesOn();
    void expansionNameIsCutToTwelve();
    void deviceSettingsLeaveOptionsAlone();
    void resolveDevice_data();
    void resolveDevice();
    void expansionDefinitions_data();
    void expansionDefinitions();
    void programDirIsFirstFolderWithExpansions();
    void everyChoiceHasShippedDefinition();

private:
    QString iniPath() const { return dir_->filePath(QStringLiteral("settings.ini")); }
    void writeDefinition(const QString &name, const QByteArray &text) const;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestAppSettings::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("exp.txt")));
}

void TestAppSettings::writeDefinition(const QString &name, const QByteArray &text) const
{
    QFile f(dir_->filePath(QStringLiteral("exp.txt/") + name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

void TestAppSettings::firstRunWritesDefaults()
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
    QSettings stored(iniPath(), QSettings::IniFormat);
    QCOMPARE(stored.value("Naam").toString(), QStringLiteral("TessivaW99"));
    QCOMPARE(stored.value("JVID").toInt(), 17);
    for (const char *key : {"Midi_In1", "Midi_In2", "Midi_Out"})
        QCOMPARE(stored.value(key).toInt(), 0);
    for (const char *key : {"ExpP", "ExpA", "ExpB", "ExpC", "ExpD"})
        QCOMPARE(stored.value(key).toString(), QStringLiteral("NoWave.txt"));
    QCOMPARE(stored.value("SepKB").toBool(), false);
    QCOMPARE(stored.value("PlayNote").toBool(), false);
    QCOMPARE(stored.value("AutoSave").toBool(), true);
    QCOMPARE(stored.value("Patch").toString(), QString());
    QCOMPARE(stored.value("PatchDir").toString(),
             QDir::toNativeSeparators(dir_->path() + QStringLiteral("/patches/")));

    // The store now exists, so the next start is no first run.
    AppSettings again(iniPath());
    QVERIFY(!again.ReadSettings(state));
    QVERIFY(again.fallbacks().isEmpty());
}

void TestAppSettings::writeThenReadRestoresEveryValue()
{
    EditState state;
    AppSettings settings(iniPath());
    settings.ReadSettings(state);
    state.UnitId = 32;
    state.PlayNoteOn = true;
    const QStringList files{"P-exp01.txt", "ExpOrch2.txt", "ExpPop.txt", "ExpCus04.txt",
                            "NoWave.txt"};
    for (int i = 0; i < 5; ++i)
        state.Expansion[std::size_t(i)].fileName = files[i];
    settings.SynthIn = {2, QStringLiteral("USB MIDI, port 1")};
    settings.KeyboardIn = {1, QStringLiteral("Keys")};
    settings.SynthOut = {AppSettings::NoDevice, QString()};
    settings.SepKB = true;
    settings.LastPatchFile = QStringLiteral("/home/u/patches/Strings_.pat");
    settings.UpdateFromJv = false;
    QCOMPARE(settings.WriteSettings(state), QString());

    EditState read;
    AppSettings back(iniPath());
    QVERIFY(!back.ReadSettings(read));
    QVERIFY(back.fallbacks().isEmpty());
    QCOMPARE(read.UnitId, 32);
    QCOMPARE(read.PlayNoteOn, true);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(read.Expansion[std::size_t(i)].fileName, files[i]);
    QCOMPARE(back.SynthIn, settings.SynthIn);
    QCOMPARE(back.KeyboardIn, settings.KeyboardIn);
    QCOMPARE(back.SynthOut, settings.SynthOut);
    QCOMPARE(back.SepKB, true);
    QCOMPARE(back.LastPatchFile, settings.LastPatchFile);
    QCOMPARE(back.UpdateFromJv, false);
}

void TestAppSettings::badValueFallsBackAndReadingGoesOn_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("bad");
    QTest::newRow("unit ID too high") << "JVID"
                                      << "99";
    QTest::newRow("unit ID too low") << "JVID"
                                     << "16";
    QTest::newRow("unit ID not a number") << "JVID"
                                          << "abc";
    QTest::newRow("input index not a number") << "Midi_In1"
                                              << "x1";
    QTest::newRow("keyboard index below none") << "Midi_In2"
                                               << "-7";
    QTest::newRow("output index absurd") << "Midi_Out"
                                         << "123456789";
    QTest::newRow("flag not a flag") << "SepKB"
                                     << "maybe";
    QTest::newRow("PCM file with a path") << "ExpP"
                                          << "../../etc/pw";
    QTest::newRow("board file with a drive path") << "ExpA"
                                                  << "C:\\x.txt";
    QTest::newRow("board file empty") << "ExpD"
                                      << "";
    QTest::newRow("play note not a flag") << "PlayNote"
                                          << "2";
}

void TestAppSettings::badValueFallsBackAndReadingGoesOn()
{
    QFETCH(QString, key);
    QFETCH(QString, bad);
    EditState state;
    {
        AppSettings settings(iniPath());
        settings.ReadSettings(state);
        state.UnitId = 20;
        state.PlayNoteOn = true;
        for (ExpansionSlot &slot : state.Expansion)
            slot.fileName = QStringLiteral("ExpPop.txt");
        settings.SynthIn = settings.KeyboardIn = settings.SynthOut = {1, QString()};
        settings.SepKB = true;
        settings.UpdateFromJv = false;
        settings.LastPatchFile = QStringLiteral("a.pat");
        settings.WriteSettings(state);
        QSettings raw(iniPath(), QSettings::IniFormat);
        raw.setValue(key, bad);
    }
    EditState read;
    AppSettings back(iniPath());
    back.ReadSettings(read);
    QCOMPARE(back.fallbacks(), QStringList{key});
    // The bad value took its default, every other value was read.
    QCOMPARE(read.UnitId, key == "JVID" ? 17 : 20);
    QCOMPARE(back.SynthIn.index, key == "Midi_In1" ? 0 : 1);
    QCOMPARE(back.KeyboardIn.index, key == "Midi_In2" ? 0 : 1);
    QCOMPARE(back.SynthOut.index, key == "Midi_Out" ? 0 : 1);
    QCOMPARE(back.SepKB, key != "SepKB");
    const QStringList keys{"ExpP", "ExpA", "ExpB", "ExpC", "ExpD"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(read.Expansion[std::size_t(i)].fileName,
                 keys[i] == key ? QStringLiteral("NoWave.txt") : QStringLiteral("ExpPop.txt"));
    QCOMPARE(read.PlayNoteOn, key != "PlayNote");
    QCOMPARE(back.UpdateFromJv, false);
    QCOMPARE(back.LastPatchFile, QStringLiteral("a.pat"));
}

void TestAppSettings::expansionNameIsCutToTwelve()
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
    // Values missing from an existing store take their defaults.
    QCOMPARE(state.Expansion[0].fileName, QStringLiteral("NoWave.txt"));
    QVERIFY(settings.fallbacks().contains("Midi_In1"));
}

void TestAppSettings::deviceSettingsLeaveOptionsAlone()
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

void TestAppSettings::resolveDevice_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<int>("expected");
    const QStringList three{"Virtual", "USB A", "USB B"};
    QTest::newRow("name where it was") << 1 << "USB A" << three << 1;
    QTest::newRow("name moved down")
        << 1 << "USB A" << QStringList{"Virtual", "USB B", "USB A"} << 2;
    QTest::newRow("name moved up, index now past list")
        << 3 << "USB B" << QStringList{"USB B", "Virtual"} << 0;
    QTest::newRow("duplicate name keeps its own place")
        << 2 << "Port" << QStringList{"Port", "X", "Port"} << 2;
    QTest::newRow("no name, index in list") << 2 << "" << three << 2;
    QTest::newRow("name gone, index in list") << 1 << "Gone" << three << 0;
    QTest::newRow("index past list") << 7 << "" << three << 0;
    QTest::newRow("nothing chosen stays nothing") << -1 << "" << three << -1;
    QTest::newRow("no devices at all") << 0 << "" << QStringList{} << -1;
}

void TestAppSettings::resolveDevice()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QStringList, devices);
    QFETCH(int, expected);
    QCOMPARE(AppSettings::ResolveDevice({index, name}, devices), expected);
}

void TestAppSettings::expansionDefinitions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("cbName");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("groupId");
    QTest::addColumn<int>("maxWaves");
    QTest::newRow("complete") << QByteArray("[ExpType]\r\nCbName=Experience\r\nGroup=2\r\n"
                                            "GroupID=99\r\nMaxwaves=19\r\n[Waves]\r\nA\r\n")
                              << "Experience" << 2 << 99 << 19;
    QTest::newRow("missing keys") << QByteArray("[ExpType]\nGroup=1\n") << "None" << 1 << 0 << 1;
    QTest::newRow("numbers out of range or not numbers")
        << QByteArray("[ExpType]\nCbName=Bad\nGroup=2\nGroupID=abc\nMaxwaves=9999\n") << "None" << 0
        << 0 << 1;
}

void TestAppSettings::expansionDefinitions()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, cbName);
    QFETCH(int, group);
    QFETCH(int, groupId);
    QFETCH(int, maxWaves);
    writeDefinition(QStringLiteral("ExpTest.txt"), text);
    EditState state;
    AppSettings settings(iniPath());
    settings.programDir = dir_->path() + QLatin1Char('/');
    state.Expansion[1].fileName = QStringLiteral("ExpTest.txt");
    state.Expansion[2].fileName = QStringLiteral("Missing.txt");
    state.Expansion[2].maxWaves = 50;
    settings.ReadExpansionFiles(state);
    const ExpansionSlot &slot = state.Expansion[1];
    QCOMPARE(slot.fileName, QStringLiteral("ExpTest.txt"));
    QCOMPARE(slot.cbName, cbName);
    QCOMPARE(slot.group, group);
    QCOMPARE(slot.groupId, groupId);
    QCOMPARE(slot.maxWaves, maxWaves);
    const ExpansionSlot &missing = state.Expansion[2];
    QCOMPARE(missing.cbName, QStringLiteral("None"));
    QCOMPARE(missing.group, 0);
    QCOMPARE(missing.groupId, 0);
    QCOMPARE(missing.maxWaves, 1);
}

void TestAppSettings::programDirIsFirstFolderWithExpansions()
{
    const QString withExp = dir_->path();
    const QString without = dir_->filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(without));
    QCOMPARE(FindProgramDir({without, withExp}), withExp + QLatin1Char('/'));
    QCOMPARE(FindProgramDir({withExp, without}), withExp + QLatin1Char('/'));
    // Nothing installed anywhere: the last candidate, the working folder.
    QCOMPARE(FindProgramDir({without, without + QStringLiteral("/")}), without + QLatin1Char('/'));
}

void TestAppSettings::everyChoiceHasShippedDefinition()
{
    EditState state;
    AppSettings settings(iniPath());
    settings.programDir = QStringLiteral(TESSIVA_SOURCE_DIR "/data/");
    for (const auto &list : {ExpansionChoices::pcmCards(), ExpansionChoices::boards()}) {
        for (const ExpansionChoice &c : list) {
            state.Expansion[0].fileName = QLatin1String(c.fileName);
            settings.ReadExpansionFiles(state);
            // Only the empty slot may read as "None".
            QVERIFY2((state.Expansion[0].cbName == QLatin1String("None")) ==
                         (QLatin1String(c.entry) == QLatin1String("None")),
                     c.fileName);
            QVERIFY(QLatin1String(c.fileName).size() <= AppSettings::ExpansionNameLength);
        }
    }
}

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
