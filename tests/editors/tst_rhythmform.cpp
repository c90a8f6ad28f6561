// The rhythm window against the virtual synthesizer: each kind of control
// sends one data set to the chosen note (02 09 key ..), a new wave group
// goes with the wave number in one message, the note list follows switch
// and wave, the name goes whole, and a held Play button sounds the note on
// channel 10 until it is released.

#include "editorrig.h"
#include "setscreenhelpers.h"

#include "controls/spincw0r.h"
#include "editors/rhythmform.h"
#include "midi/sysexmessage.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace setscreens;

namespace {
QString noteSet(int key, int offset, const QByteArray &bytes)
{
    const addr::Address a = addr::rhythmNoteAddress(key, offset);
    return sysex::hexLine(a.data(), 4) + QStringLiteral(" | ") +
           sysex::hexLine(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                          int(bytes.size()));
}

TRhythmForm *openRhythm(EditorRig &rig)
{
    return openFromMenu<TRhythmForm>(rig, "MRhythm", TMidiMainForm::CommonScreen::Rhythm);
}

void setNoteBytes(EditorRig &rig, int key, const QList<int> &pairs)
{
    SynthMemory memory = rig.engine().memory();
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        const auto v = std::uint8_t(pairs[i + 1]);
        memory.write(addr::rhythmNoteAddress(key, pairs[i]), &v, 1);
        rig.state.rhythm.setNote(key, pairs[i], v);
    }
    rig.engine().setMemory(memory);
    rig.state.SendLock = true;
    rig.form.B_UpdateAllClick();
    rig.takeReceived();
}
} // namespace

class TestRhythmForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controlSends_data();
    void controlSends();
    void noteListFollowsEdits();
    void nameSentWhole();
    void auditionOnChannelTen();
};

void TestRhythmForm::controlSends_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<int>("press");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("level down") << 36 << "SpLevel" << QList<int>{0x29, 127} << int(Qt::Key_Down)
                                << QStringList{noteSet(36, 0x29, "\x7E")};
    QTest::newRow("mute group 1") << 98 << "CbMuteGroup" << QList<int>{0x07, 0} << int(Qt::Key_Down)
                                  << QStringList{noteSet(98, 0x07, "\x01")};
    QTest::newRow("mute group stops at 31")
        << 97 << "CbMuteGroup" << QList<int>{0x07, 31} << int(Qt::Key_Down) << QStringList();
    QTest::newRow("wave number as two nibbles")
        << 35 << "SpWaveNo" << QList<int>{0x01, 0, 0x02, 1, 0x03, 0, 0x04, 15} << int(Qt::Key_Up)
        << QStringList{noteSet(35, 0x03, QByteArray("\x01\x00", 2))};
    // Group and wave in one message, so no wave of one group sounds from
    // the other.
    QTest::newRow("group with the wave")
        << 40 << "CbWaveGroup" << QList<int>{0x01, 0, 0x02, 1, 0x03, 2, 0x04, 3}
        << int(Qt::Key_Down) << QStringList{noteSet(40, 0x01, QByteArray("\x00\x02\x02\x03", 4))};
    QTest::newRow("note off") << 50 << "ChNoteOn" << QList<int>{0x00, 1} << int(Qt::Key_Space)
                              << QStringList{noteSet(50, 0x00, QByteArray(1, '\0'))};
    QTest::newRow("pan right of centre") << 60 << "SpPan" << QList<int>{0x33, 64} << int(Qt::Key_Up)
                                         << QStringList{noteSet(60, 0x33, "\x41")};
    QTest::newRow("alternate pan at its bottom")
        << 61 << "SpAltPan" << QList<int>{0x35, 1} << int(Qt::Key_Down) << QStringList();
    QTest::newRow("velocity sens to +150")
        << 70 << "CbAEnvVelo" << QList<int>{0x2A, 124} << int(Qt::Key_End)
        << QStringList{noteSet(70, 0x2A, "\x7D")};
}

void TestRhythmForm::controlSends()
{
    QFETCH(int, key);
    QFETCH(QString, name);
    QFETCH(QList<int>, stored);
    QFETCH(int, press);
    QFETCH(QStringList, sent);
    EditorRig rig;
    QVERIFY(rig.ok());
    TRhythmForm *form = openRhythm(rig);
    QVERIFY(form);
    setNoteBytes(rig, key, stored);
    form->selectKey(key);
    const PatchImage patch = rig.state.patchImage;
    auto *w = form->findChild<QWidget *>(name);
    QVERIFY(w);
    w->setFocus();
    QTest::keyClick(w, Qt::Key(press));
    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(unitRhythm(rig), bufferRhythm(rig));
    QVERIFY(rig.state.patchImage == patch);
}

// The list row of a key names it and its wave, and greys out when the
// note is switched off.
void TestRhythmForm::noteListFollowsEdits()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TRhythmForm *form = openRhythm(rig);
    QVERIFY(form);
    // Int-B wave 98 is "Ride 1".
    setNoteBytes(rig, 51, {0x00, 1, 0x01, 0, 0x02, 2, 0x03, 6, 0x04, 1});
    auto *notes = form->findChild<QListWidget *>(QStringLiteral("LbNotes"));
    QListWidgetItem *item = notes->item(51 - RhythmImage::FirstKey);
    QVERIFY2(item->text().startsWith(QStringLiteral("51 D#3")), qPrintable(item->text()));
    QVERIFY2(item->text().endsWith(QStringLiteral("Ride 1")), qPrintable(item->text()));
    const QColor on = item->foreground().color();

    QTest::mouseClick(notes->viewport(), Qt::LeftButton, {}, notes->visualItemRect(item).center());
    QCOMPARE(form->currentKey(), 51);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("LWaveName"))->text(),
             QStringLiteral("Ride 1"));
    auto *wave = qobject_cast<TSpincw0R *>(form->noteControl("SpWaveNo"));
    QCOMPARE(wave->MaxValue(), 193);
    wave->setFocus();
    QTest::keyClick(wave, Qt::Key_Down);
    QCOMPARE(rig.takeDataSets(), QStringList{noteSet(51, 0x03, QByteArray("\x06\x00", 2))});
    QVERIFY2(!item->text().endsWith(QStringLiteral("Ride 1")), qPrintable(item->text()));

    auto *box = form->noteControl("ChNoteOn");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(item->foreground().color() != on);
    QCOMPARE(unitRhythm(rig), bufferRhythm(rig));
}

void TestRhythmForm::nameSentWhole()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TRhythmForm *form = openRhythm(rig);
    QVERIFY(form);
    auto *edit = form->findChild<QLineEdit *>(QStringLiteral("ERhythmName"));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Kit"));
    const QStringList sets = rig.takeDataSets();
    QCOMPARE(sets.size(), 3);
    const addr::Address a = addr::rhythmCommonAddress(0);
    QCOMPARE(sets.last(),
             sysex::hexLine(a.data(), 4) + QStringLiteral(" | ") +
                 sysex::hexLine(reinterpret_cast<const std::uint8_t *>("Kit         "), 12));
    QCOMPARE(unitRhythm(rig), bufferRhythm(rig));
}

void TestRhythmForm::auditionOnChannelTen()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TRhythmForm *form = openRhythm(rig);
    QVERIFY(form);
    form->selectKey(38);
    auto *play = form->findChild<QPushButton *>(QStringLiteral("BPlayNote"));
    QTest::mousePress(play, Qt::LeftButton);
    QCOMPARE(rig.takeReceived(), QList<QByteArray>{QByteArray("\x99\x26\x64", 3)});
    QTest::mouseRelease(play, Qt::LeftButton);
    QCOMPARE(rig.takeReceived(), QList<QByteArray>{QByteArray("\x89\x26\x00", 3)});
}

QTEST_MAIN(TestRhythmForm)
#include "tst_rhythmform.moc"
