// The performance window against the virtual synthesizer: each kind of
// control sends its own data set to the performance (01 00 ..), the key
// range never turns upside down, the voice reserve refuses more than the
// unit's voices; and a random walk over the performance and rhythm windows
// leaves the unit equal to the buffers and the patch image untouched.

#include "editorrig.h"
#include "randomwalk.h"
#include "setscreenhelpers.h"

#include "controls/spincw0r.h"
#include "editors/performanceform.h"
#include "editors/rhythmform.h"
#include "midi/sysexmessage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace setscreens;

namespace {
QString dataSet(const addr::Address &a, const QByteArray &bytes)
{
    return sysex::hexLine(a.data(), 4) + QStringLiteral(" | ") +
           sysex::hexLine(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                          int(bytes.size()));
}

TPerformanceForm *openPerformance(EditorRig &rig)
{
    return openFromMenu<TPerformanceForm>(rig, "MPerformance",
                                          TMidiMainForm::CommonScreen::Performance);
}

// Puts bytes into unit and buffer alike: {part (0 = common), offset, value}.
void setBytes(EditorRig &rig, std::initializer_list<std::array<int, 3>> bytes)
{
    SynthMemory memory = rig.engine().memory();
    for (const auto &[part, offset, value] : bytes) {
        const auto v = std::uint8_t(value);
        const addr::Address a = part == 0 ? addr::performanceCommonAddress(offset)
                                          : addr::performancePartAddress(part, offset);
        memory.write(a, &v, 1);
        if (part == 0)
            rig.state.performance.setCommon(offset, v);
        else
            rig.state.performance.setPart(part, offset, v);
    }
    rig.engine().setMemory(memory);
    rig.state.SendLock = true;
    rig.form.B_UpdateAllClick();
    rig.takeReceived();
}
} // namespace

class TestPerformanceForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controlSends_data();
    void controlSends();
    void voiceReserveRefused();
    void nameSentWhole();
    void randomWalkBothWindows();
};

void TestPerformanceForm::controlSends_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("stored"); // offset, value pairs set first
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("sent");
    const auto part = [](int p, int offset, const char *bytes, int n) {
        return dataSet(addr::performancePartAddress(p, offset), QByteArray(bytes, n));
    };
    const auto common = [](int offset, const char *bytes, int n) {
        return dataSet(addr::performanceCommonAddress(offset), QByteArray(bytes, n));
    };
    QTest::newRow("channel up") << 3 << "SpChan3" << QList<int>{0x01, 0} << int(Qt::Key_Up)
                                << QStringList{part(3, 0x01, "\x01", 1)};
    QTest::newRow("pan left of centre")
        << 16 << "SpPan16" << QList<int>{0x07, 64} << int(Qt::Key_Down)
        << QStringList{part(16, 0x07, "\x3F", 1)};
    QTest::newRow("patch number as two nibbles")
        << 5 << "SpPatch5" << QList<int>{0x04, 0, 0x05, 15} << int(Qt::Key_Up)
        << QStringList{part(5, 0x04, "\x01\x00", 2)};
    QTest::newRow("group with its ID")
        << 2 << "CbGroup2" << QList<int>{0x02, 0, 0x03, 1} << int(Qt::Key_Down)
        << QStringList{part(2, 0x02, "\x00\x02", 2)};
    QTest::newRow("receive off") << 1 << "ChRcv1" << QList<int>{0x00, 1} << int(Qt::Key_Space)
                                 << QStringList{part(1, 0x00, "\x00", 1)};
    QTest::newRow("coarse up from centre")
        << 7 << "SpCoarse7" << QList<int>{0x08, 48} << int(Qt::Key_Up)
        << QStringList{part(7, 0x08, "\x31", 1)};
    QTest::newRow("output to PATCH") << 9 << "CbOutput9" << QList<int>{0x0A, 3} << int(Qt::Key_Down)
                                     << QStringList{part(9, 0x0A, "\x04", 1)};
    // The lower key stops at the upper one.
    QTest::newRow("lower key against upper")
        << 4 << "CbKeyLo4" << QList<int>{0x11, 60, 0x12, 60} << int(Qt::Key_Down) << QStringList();
    QTest::newRow("upper key down") << 4 << "CbKeyHi4" << QList<int>{0x11, 0, 0x12, 127}
                                    << int(Qt::Key_Up) << QStringList{part(4, 0x12, "\x7E", 1)};
    QTest::newRow("tempo as two nibbles")
        << 0 << "SpPerfTempo" << QList<int>{0x2D, 7, 0x2E, 8} << int(Qt::Key_Up)
        << QStringList{common(0x2D, "\x07\x09", 2)};
    QTest::newRow("reverb damping to bypass")
        << 0 << "CbRevDamp" << QList<int>{0x2B, 16} << int(Qt::Key_Down)
        << QStringList{common(0x2B, "\x11", 1)};
    QTest::newRow("key range switch") << 0 << "ChKeyRange" << QList<int>{0x2F, 0}
                                      << int(Qt::Key_Space) << QStringList{common(0x2F, "\x01", 1)};
    QTest::newRow("chorus output at its end")
        << 0 << "CbChoOutput" << QList<int>{0x27, 2} << int(Qt::Key_Down) << QStringList();
}

void TestPerformanceForm::controlSends()
{
    QFETCH(int, part);
    QFETCH(QString, name);
    QFETCH(QList<int>, stored);
    QFETCH(int, key);
    QFETCH(QStringList, sent);
    EditorRig rig;
    QVERIFY(rig.ok());
    TPerformanceForm *form = openPerformance(rig);
    QVERIFY(form);
    for (qsizetype i = 0; i < stored.size(); i += 2)
        setBytes(rig, {{part, stored[i], stored[i + 1]}});
    const PatchImage patch = rig.state.patchImage;
    auto *w = form->findChild<QWidget *>(name);
    QVERIFY(w);
    w->setFocus();
    QTest::keyClick(w, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(unitPerformance(rig), bufferPerformance(rig));
    QVERIFY(rig.state.patchImage == patch);
}

// The parts share 64 voices: part 2 gets what part 1 leaves, and asking for
// more is refused with a reason, sending nothing.
void TestPerformanceForm::voiceReserveRefused()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TPerformanceForm *form = openPerformance(rig);
    QVERIFY(form);
    setBytes(rig, {{0, 0x30, 60}, {0, 0x31, 0}});
    auto *spin = qobject_cast<TSpincw0R *>(form->commonControl("SpReserve2"));
    auto *info = form->findChild<QLabel *>(QStringLiteral("LPerfInfo"));
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_PageUp);
    QCOMPARE(rig.takeDataSets(),
             QStringList{dataSet(addr::performanceCommonAddress(0x31), QByteArray(1, 4))});
    QCOMPARE(spin->Value(), 4);
    QVERIFY2(info->text().contains(QStringLiteral("part 2 can keep 4")), qPrintable(info->text()));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("LVoiceSum"))->text(),
             QStringLiteral("Voices reserved: 64 of 64"));

    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(rig.takeDataSets(), QStringList());
    QCOMPARE(spin->Value(), 4);
    QCOMPARE(rig.state.performance.voiceReserveSum(), 64);

    // Giving voices back is always allowed and clears the message.
    QTest::keyClick(spin, Qt::Key_Down);
    QCOMPARE(rig.takeDataSets(),
             QStringList{dataSet(addr::performanceCommonAddress(0x31), QByteArray(1, 3))});
    QVERIFY(info->text().isEmpty());
    QCOMPARE(unitPerformance(rig), bufferPerformance(rig));
}

void TestPerformanceForm::nameSentWhole()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TPerformanceForm *form = openPerformance(rig);
    QVERIFY(form);
    auto *edit = qobject_cast<QLineEdit *>(form->commonControl("EPerfName"));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Ab~"));
    // A tilde is no character of the unit's: it becomes a blank, and a name
    // the unit already has is not sent again.
    QCOMPARE(rig.takeDataSets(),
             (QStringList{dataSet(addr::performanceCommonAddress(0), QByteArray("A           ")),
                          dataSet(addr::performanceCommonAddress(0), QByteArray("Ab          "))}));
    QCOMPARE(edit->text(), QStringLiteral("Ab "));
    QCOMPARE(rig.state.performance.name(), QByteArray("Ab          "));
}

void TestPerformanceForm::randomWalkBothWindows()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    QVERIFY(
        rig.loadDump(QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_SuperJVPad_user023.syx")));
    loadRandomSets(rig, 7);
    TPerformanceForm *perf = openPerformance(rig);
    auto *rhythm = openFromMenu<TRhythmForm>(rig, "MRhythm", TMidiMainForm::CommonScreen::Rhythm);
    QVERIFY(perf && rhythm);
    const PatchImage patch = rig.state.patchImage;
    const QByteArray unitPatch = rig.unitTone(1) + rig.unitTone(4);

    const QStringList buttons{QStringLiteral("BGetPerf"),     QStringLiteral("BSendPerf"),
                              QStringLiteral("BWritePerf"),   QStringLiteral("BPerfEffects"),
                              QStringLiteral("BGetRhythm"),   QStringLiteral("BSendRhythm"),
                              QStringLiteral("BWriteRhythm"), QStringLiteral("BPlayNote")};
    RandomWalk perfWalk(*perf, 181);
    perfWalk.skip(buttons);
    RandomWalk rhythmWalk(*rhythm, 182);
    rhythmWalk.skip(buttons);
    for (const char *name : {"SpChan1", "CbGroup16", "SpPatch10", "CbKeyHi8", "SpReserve12",
                             "CbEfxSource", "ChKeyRange", "CbRevDamp"})
        QVERIFY2(perfWalk.targets().contains(QLatin1String(name)), name);
    for (const char *name : {"ChNoteOn", "CbWaveGroup", "SpWaveNo", "CbMuteGroup", "SpAltPan",
                             "CbFEnvTime", "SpRevSend"})
        QVERIFY2(rhythmWalk.targets().contains(QLatin1String(name)), name);

    QRandomGenerator rng(183);
    auto *notes = rhythm->findChild<QListWidget *>(QStringLiteral("LbNotes"));
    QStringList log;
    for (int round = 0; round < 10; ++round) {
        log << perfWalk.run(30) << rhythmWalk.run(30);
        const int row = int(rng.bounded(RhythmImage::NoteCount));
        QTest::mouseClick(notes->viewport(), Qt::LeftButton, {},
                          notes->visualItemRect(notes->item(row)).center());
        log << QStringLiteral("note row %1").arg(row);
        QCOMPARE(rhythm->currentKey(), RhythmImage::FirstKey + row);
    }
    const QString trace = log.join(QLatin1Char('\n'));
    const QStringList sets = rig.takeDataSets();
    QVERIFY(sets.size() > 50);
    for (const QString &set : sets)
        QVERIFY2(set.startsWith(QStringLiteral("01 00 ")) ||
                     set.startsWith(QStringLiteral("02 09 ")),
                 qPrintable(set + QLatin1Char('\n') + trace));
    QVERIFY2(unitPerformance(rig) == bufferPerformance(rig), qPrintable(trace));
    QVERIFY2(unitRhythm(rig) == bufferRhythm(rig), qPrintable(trace));
    QVERIFY(rig.state.patchImage == patch);
    QCOMPARE(rig.unitTone(1) + rig.unitTone(4), unitPatch);
    QVERIFY(rig.state.performance.voiceReserveSum() <= addr::performance::VoiceLimit);
}

QTEST_MAIN(TestPerformanceForm)
#include "tst_performanceform.moc"
