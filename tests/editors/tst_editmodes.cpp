// The main window's Patch / Perform / Rhythm buttons and part number: the
// address prefix each mode edits (part 10 is the rhythm set at 02 09, never
// a patch), what the unit is told, title and status bar, the patch controls
// and screens resting in Rhythm mode, patch commands refused there, and the
// fetch of the part's patch that a choice of the user starts.

#include "commonscreenhelpers.h"
#include "editorrig.h"

#include "app/mainformtransfer.h"
#include "app/performancecommands.h"
#include "editors/mixerform.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {
const QString SoundPerform = QStringLiteral("00 00 00 00 | 00");
const QString SoundPatch = QStringLiteral("00 00 00 00 | 01");

QString statusText(EditorRig &rig)
{
    return rig.form.findChild<QLabel *>(QStringLiteral("StatusEdit"))->text();
}

QSpinBox *partSpin(EditorRig &rig)
{
    return rig.form.findChild<QSpinBox *>(QStringLiteral("SpPart"));
}

void click(EditorRig &rig, const char *button)
{
    QTest::mouseClick(rig.form.findChild<QToolButton *>(QLatin1String(button)), Qt::LeftButton);
}
} // namespace

class TestEditModes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void modes_data();
    void modes();
    void partNumberMovesBetweenModes();
    void patchScreensRestInRhythmMode();
    void choiceFetchesThePartsPatch();
};

void TestEditModes::modes_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("prefix1");
    QTest::addColumn<int>("shownPart");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<bool>("patchControls");
    QTest::newRow("Perform, part 4")
        << 4 << "SpBPerf" << 3 << 4 << " - Perform, part 4"
        << "Editing the patch of part 4" << QStringList{QStringLiteral("02 03 00 00 | 00 00 00 0C")}
        << true;
    QTest::newRow("Rhythm") << 1 << "SpBRhythm" << 9 << 10 << " - Rhythm set, part 10"
                            << "Editing the rhythm set of part 10"
                            << QStringList{QStringLiteral("02 09 00 00 | 00 00 00 0C")} << false;
    // There is no patch at 02 09: Perform leaves part 10 for part 1.
    QTest::newRow("Perform from part 10")
        << 10 << "SpBPerf" << 0 << 1 << " - Perform, part 1"
        << "Editing the patch of part 1" << QStringList{QStringLiteral("02 00 00 00 | 00 00 00 0C")}
        << true;
}

void TestEditModes::modes()
{
    QFETCH(int, part);
    QFETCH(QString, button);
    QFETCH(int, prefix1);
    QFETCH(int, shownPart);
    QFETCH(QString, title);
    QFETCH(QString, status);
    QFETCH(QStringList, requests);
    QFETCH(bool, patchControls);
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    QCOMPARE(statusText(rig), QStringLiteral("Editing the temporary patch"));
    partSpin(rig)->setValue(part);
    rig.takeReceived();
    rig.form.SpBPerfClick(rig.form.findChild<QAbstractButton *>(button));

    QCOMPARE(rig.state.EditPrefix,
             (std::array<std::uint8_t, 2>{addr::AreaPerformancePart, std::uint8_t(prefix1)}));
    QCOMPARE(partSpin(rig)->value(), shownPart);
    QVERIFY(partSpin(rig)->isVisible());
    QCOMPARE(rig.form.partChannel(), shownPart);
    QVERIFY(rig.form.windowTitle().endsWith(title));
    QCOMPARE(statusText(rig), status);
    const QList<QByteArray> got = rig.takeReceived();
    QCOMPARE(requestsIn(got), requests);
    // The sound mode goes out once the name's answer has opened the lock;
    // nothing else may.
    for (const QString &set : dataSetsIn(got))
        QCOMPARE(set, SoundPerform);
    QCOMPARE(rig.form.findChild<QWidget *>(QStringLiteral("PTones"))->isEnabled(), patchControls);
    QCOMPARE(rig.form.findChild<QWidget *>(QStringLiteral("BSendPatch"))->isEnabled(),
             patchControls);

    click(rig, "SpBPatch");
    QCOMPARE(rig.state.EditPrefix, (std::array<std::uint8_t, 2>{addr::AreaTempPatch, 0}));
    QVERIFY(!partSpin(rig)->isVisible());
    QCOMPARE(rig.form.windowTitle(), QStringLiteral("JV-XP Tessiva [NoName.Pat]"));
    QVERIFY(rig.form.findChild<QWidget *>(QStringLiteral("PTones"))->isEnabled());
    QCOMPARE(dataSetsIn(rig.takeReceived()), QStringList{SoundPatch});
}

// In a performance the part number chooses what is edited: part 10 the
// rhythm set, any other part its patch.
void TestEditModes::partNumberMovesBetweenModes()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    click(rig, "SpBPerf");
    QCOMPARE(rig.state.editMode(), EditMode::Perform);
    QSpinBox *part = partSpin(rig);
    const std::pair<int, std::array<std::uint8_t, 2>> steps[] = {
        {10, {addr::AreaPerformancePart, addr::RhythmPart}},
        {11, {addr::AreaPerformancePart, 0x0A}},
        {9, {addr::AreaPerformancePart, 0x08}},
        {10, {addr::AreaPerformancePart, addr::RhythmPart}}};
    for (const auto &[number, prefix] : steps) {
        rig.takeReceived();
        part->setValue(number);
        QCOMPARE(rig.state.EditPrefix, prefix);
        QCOMPARE(rig.state.editMode(), number == 10 ? EditMode::Rhythm : EditMode::Perform);
        QCOMPARE(rig.form.findChild<QToolButton *>(QStringLiteral("SpBRhythm"))->isChecked(),
                 number == 10);
        const QString request =
            sysex::hexLine(prefix.data(), 2) + QStringLiteral(" 00 00 | 00 00 00 0C");
        QCOMPARE(requestsIn(rig.takeReceived()), QStringList{request});
    }
    // A patch edit in Rhythm mode has no patch to go to: the main window's
    // patch controls rest, so the rhythm set cannot receive patch bytes.
    QVERIFY(!rig.form.findChild<QWidget *>(QStringLiteral("SpLevOut1"))->isEnabled());
}

void TestEditModes::patchScreensRestInRhythmMode()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    auto *mixer = openCommon<TMixerForm>(rig, "BMixer", TMidiMainForm::CommonScreen::Mixer);
    QVERIFY(mixer);
    rig.form.SpBPerfClick(rig.form.findChild<QAbstractButton *>(QStringLiteral("SpBRhythm")));
    QVERIFY(!mixer->isEnabled());
    // The end of a compare turns the screens back on, but not this one.
    rig.screens->setScreensEnabled(false);
    rig.screens->setScreensEnabled(true);
    QVERIFY(!mixer->isEnabled());
    rig.form.SpBPerfClick(rig.form.findChild<QAbstractButton *>(QStringLiteral("SpBPerf")));
    QCOMPARE(rig.state.EditPrefix, (std::array<std::uint8_t, 2>{addr::AreaPerformancePart, 0}));
    QVERIFY(mixer->isEnabled());
}

// The user's choice fetches what is then edited; patch commands that would
// write a patch into the rhythm set are refused with a reason.
void TestEditModes::choiceFetchesThePartsPatch()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    auto *transfer = new MainFormTransfer(rig.form, rig.state, rig.info, rig.protocol);
    new PerformanceCommands(rig.form, rig.state, rig.info, rig.protocol, *transfer);
    transfer->engine().setQuietMs(1000);
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    SynthMemory memory = rig.engine().memory();
    memory.patch(SynthMemory::Bank::Part, 2) = PatchMemory::initial("Part Three");
    rig.engine().setMemory(memory);

    // Coming from Patch mode: the performance first, then the part's patch,
    // one fetch after the other.
    QStringList requests;
    const auto requested = [&](const char *request) {
        requests += requestsIn(rig.takeReceived());
        return requests.contains(QLatin1String(request));
    };
    partSpin(rig)->setValue(3);
    click(rig, "SpBPerf");
    QTRY_VERIFY_WITH_TIMEOUT(requested("02 02 16 00 | 00 00 01 01"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.state.SendLock, 10000);
    QCOMPARE(rig.state.patchImage.name(), QByteArray("Part Three  "));
    const qsizetype lastPart = requests.indexOf(QStringLiteral("01 00 1F 00 | 00 00 00 13"));
    QVERIFY2(lastPart > 0 &&
                 lastPart < requests.indexOf(QStringLiteral("02 02 00 00 | 00 00 00 48")),
             qPrintable(requests.join('\n')));
    QCOMPARE(rig.form.findChild<QLineEdit *>(QStringLiteral("EPtchName"))->isVisible(), false);

    click(rig, "SpBRhythm");
    QTRY_VERIFY_WITH_TIMEOUT(!rig.state.SendLock, 10000);
    rig.takeReceived();
    rig.info.messages.clear();
    transfer->BSendPatchClick();
    // Nor does any other sender of whole patches reach the rhythm set.
    transfer->engine().SendPatch();
    QVERIFY(rig.takeDataSets().isEmpty());
    QCOMPARE(rig.info.messages.size(), 1);
    QVERIFY(rig.info.messages.first().startsWith(QStringLiteral("Part 10 plays a rhythm set")));
}

QTEST_MAIN(TestEditModes)
#include "tst_editmodes.moc"
