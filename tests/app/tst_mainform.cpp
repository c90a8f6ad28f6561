// The main window's handlers: what each control sends, the own-byte rule,
// the name rule, structures and boosters, wave groups and names, empty slots
// and the wheel, the reload from the image, keys and options.

#include "maintestrig.h"

#include "controls/focuscombobox.h"
#include "controls/lpanh.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <memory>

namespace {
// Types text as key presses; characters outside ASCII carry their text only.
void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void setCommon(EditState &s, int offset, int value)
{
    s.patchImage.set(0, offset, std::uint8_t(value));
}
// Line k after "[Waves]" of a shipped list, read without the program's code.
QString waveLine(const QString &file, int k)
{
    QFile f(QStringLiteral(TESSIVA_BIN_DIR "/exp.txt/") + file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("<missing %1>").arg(file);
    const QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
    const int start = int(lines.indexOf(QStringLiteral("[Waves]")));
    return start < 0 || start + k >= lines.size() ? QString() : lines.at(start + k).trimmed();
}

const QString Install = QStringLiteral("\rPlease install and add in settings.");

void setTone(EditState &s, int tone, int type, int id, int wave)
{
    s.patchImage.set(tone, 0x01, std::uint8_t(type));
    s.patchImage.set(tone, 0x02, std::uint8_t(id));
    s.patchImage.set(tone, 0x03, std::uint8_t(wave >> 4));
    s.patchImage.set(tone, 0x04, std::uint8_t(wave & 0x0F));
}
} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { rig.reset(); }

    void sentUnlessItsOwnByte_data();
    void sentUnlessItsOwnByte();
    void patchNameRule_data();
    void patchNameRule();
    void leavingNameSendsItOnce();
    void controlKeysSend_data();
    void controlKeysSend();
    void structureShowsBooster_data();
    void structureShowsBooster();
    void boosterSteppers_data();
    void boosterSteppers();
    void updateAllLoadsEveryControl_data();
    void updateAllLoadsEveryControl();
    void buttonsAnnounceTheirScreens_data();
    void buttonsAnnounceTheirScreens();
    void patchModeSelection();
    void playNoteOffSilencesFirst();
    void optionsAndTitle();
    void enlargingKeepsColumns();
    void intBWaveShowsItsLine_data();
    void intBWaveShowsItsLine();
    void storedGroupSelectsRow_data();
    void storedGroupSelectsRow();
    void missingBoardSaidOncePerLoad();
    void waveChangeSends_data();
    void waveChangeSends();
    void emptyGroupRowsSendNothing();
    void wheelPassingOverListsSendsNothing();
    void keysOfUnlistedItems_data();
    void keysOfUnlistedItems();

private:
    QComboBox *groupList(int tone) const;
    std::unique_ptr<MainTestRig> rig;
};

void TestMainForm::init()
{
    rig = std::make_unique<MainTestRig>();
    // Slot P empty, the Pop board in slot A, a board with an absurd count in B.
    auto &fitted = rig->state.Expansion;
    fitted[0] = {QStringLiteral("NoWave.txt"), QStringLiteral("None"), 0, 0, 1};
    fitted[1] = {QStringLiteral("ExpPop.txt"), QStringLiteral("Pop"), 2, 1, 224};
    fitted[2] = {QStringLiteral("Odd.txt"), QStringLiteral("Odd"), 2, 40, 400};
    fitted[3] = {QStringLiteral("ExpOrch.txt"), QStringLiteral("Orchestral"), 2, 8, 174};
    fitted[4] = {QStringLiteral("NoWave.txt"), QStringLiteral("None"), 0, 0, 1};
    rig->form.FillWaveGroupLists();
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
    rig->reload();
}

void TestMainForm::sentUnlessItsOwnByte_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("offset");     // image byte the second control edits
    QTest::addColumn<int>("start");      // its stored value before the key
    QTest::addColumn<QString>("expect"); // what the second key sends

    // The level goes from 99 to 100 first; the second control's own byte is
    // all that counts.
    QTest::newRow("chorus to the level's 100") << "SlChorus" << 0x21 << 99 << "03 00 00 21 | 64";
    QTest::newRow("reverb to 101") << "SlReverb" << 0x28 << 100 << "03 00 00 28 | 65";
    QTest::newRow("tone 3 level to 100") << "SpLevOut3" << -3 << 99 << "03 00 14 7E | 64";
}

void TestMainForm::sentUnlessItsOwnByte()
{
    QFETCH(QString, second);
    QFETCH(int, offset);
    QFETCH(int, start);
    QFETCH(QString, expect);

    setCommon(rig->state, 0x2E, 99);
    if (offset >= 0)
        setCommon(rig->state, offset, start);
    else
        rig->state.patchImage.set(-offset, 0x7E, std::uint8_t(start));
    rig->reload();

    QTest::keyClick(rig->child<TSlidNaVf>("SlLevel"), Qt::Key_Up);
    QCOMPARE(rig->dataSets(), QStringList{"03 00 00 2E | 64"});
    QCOMPARE(rig->state.LastSentValue, 100);

    QWidget *w = rig->form.findChild<QWidget *>(second);
    QVERIFY(w);
    QTest::keyClick(w, Qt::Key_Up);
    QCOMPARE(rig->dataSets(), (QStringList{"03 00 00 2E | 64", expect}));
}

void TestMainForm::patchNameRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expect");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("shown"); // the field afterwards

    QTest::newRow("tilde") << "A~B"
                           << "41 20 42 20 20 20 20 20 20 20 20 20" << 3 << "A B";
    QTest::newRow("accented") << QString::fromUtf8("x\xC3\xA9y")
                              << "78 20 79 20 20 20 20 20 20 20 20 20" << 3 << "x y";
    QTest::newRow("cut at twelve") << "ABCDEFGHIJKLMN"
                                   << "41 42 43 44 45 46 47 48 49 4A 4B 4C" << 12 << "ABCDEFGHIJKL";
    QTest::newRow("silent while locked") << "Q"
                                         << "" << 0 << "Q";
}

void TestMainForm::patchNameRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, expect);
    QFETCH(int, messages);
    QFETCH(QString, shown);

    auto *edit = rig->child<QLineEdit>("EPtchName");
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    rig->clearSent();
    rig->form.LastPatchFile = QStringLiteral("/tmp/x.pat");
    rig->state.SendLock = messages == 0;
    typeText(edit, typed);
    QCOMPARE(edit->text(), shown);

    const QStringList sent = rig->dataSets();
    QCOMPARE(sent.size(), messages);
    QCOMPARE(rig->form.LastPatchFile.isEmpty(), messages > 0);
    if (messages == 0)
        return;
    QCOMPARE(sent.last(), "03 00 00 00 | " + expect);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(rig->state.patchImage.slotData(0)), 12)
                 .toHex(' ')
                 .toUpper(),
             expect.toLatin1());
}

void TestMainForm::leavingNameSendsItOnce()
{
    auto *edit = rig->child<QLineEdit>("EPtchName");
    rig->form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig->form));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    rig->clearSent();
    rig->child<QWidget>("CbVoiceP")->setFocus();
    QCOMPARE(rig->dataSets(), QStringList{"03 00 00 00 | 49 6E 69 74 50 61 74 63 68 20 20 20"});
}

void TestMainForm::controlKeysSend_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("tempo"); // stored before the key
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expect");
    QTest::addColumn<int>("shown"); // tempo shown after a reload

    QTest::newRow("tempo 119 up to 120")
        << "SpDefTempo" << 119 << int(Qt::Key_Up) << "03 00 00 2C | 07 08" << 120;
    QTest::newRow("tempo 30 down to 20")
        << "SpDefTempo" << 30 << int(Qt::Key_PageDown) << "03 00 00 2C | 01 04" << 20;
    QTest::newRow("tone 4 on") << "ChkTone4" << 99 << int(Qt::Key_Space) << "03 00 16 00 | 01"
                               << 99;
    QTest::newRow("tone 2 output EFX")
        << "CbOutput2" << 99 << int(Qt::Key_Down) << "03 00 12 7D | 01" << 99;
    QTest::newRow("tone 3 level") << "SpLevOut3" << 99 << int(Qt::Key_PageDown)
                                  << "03 00 14 7E | 75" << 99;
    QTest::newRow("octave +1") << "SpOctaveS" << 99 << int(Qt::Key_Up) << "03 00 00 41 | 04" << 99;
    QTest::newRow("pan one right") << "SlPPan" << 99 << int(Qt::Key_Up) << "03 00 00 2F | 41" << 99;
}

void TestMainForm::controlKeysSend()
{
    QFETCH(QString, control);
    QFETCH(int, tempo);
    QFETCH(int, key);
    QFETCH(QString, expect);
    QFETCH(int, shown);

    setCommon(rig->state, 0x2C, tempo >> 4);
    setCommon(rig->state, 0x2D, tempo & 0x0F);
    setCommon(rig->state, 0x2F, 64);
    setCommon(rig->state, 0x41, 3);
    rig->reload();
    rig->state.LastSentValue = 127;
    QWidget *w = rig->form.findChild<QWidget *>(control);
    QVERIFY(w);
    w->setFocus();
    QTest::keyClick(w, Qt::Key(key));
    QCOMPARE(rig->dataSets(), QStringList{expect});
    if (control == QLatin1String("SlPPan"))
        QCOMPARE(rig->child<TLPanH>("LPPan")->Value(), 65);
    if (control.startsWith(QLatin1String("CbOutput")))
        QCOMPARE(rig->state.LastSentValue, 1);
    // Shown back from the image the data set wrote.
    rig->reload();
    QCOMPARE(rig->child<TSpincw0R>("SpDefTempo")->Value(), shown);
}

void TestMainForm::structureShowsBooster_data()
{
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("stored");   // before the key
    QTest::addColumn<int>("step");     // +1 for Up, -1 for Down
    QTest::addColumn<bool>("picture"); // the picture file exists
    QTest::addColumn<QString>("expect");
    QTest::addColumn<bool>("booster");

    QTest::addColumn<int>("other"); // stored structure of the other pair

    QTest::newRow("1-2 to 3") << "SpStruct12" << 1 << 1 << true << "03 00 00 44 | 02" << true << 0;
    QTest::newRow("1-2 to 5") << "SpStruct12" << 3 << 1 << true << "03 00 00 44 | 04" << false << 0;
    QTest::newRow("3-4 to 2") << "SpStruct34" << 2 << -1 << true << "03 00 00 46 | 01" << false
                              << 0;
    // The caption stays while the other pair still uses its booster.
    QTest::newRow("3-4 to 2, 1-2 boosted")
        << "SpStruct34" << 2 << -1 << true << "03 00 00 46 | 01" << false << 3;
    // No picture: the frame stays empty and the value still goes out.
    QTest::newRow("1-2 to 4 unpictured")
        << "SpStruct12" << 2 << 1 << false << "03 00 00 44 | 03" << true << 0;
}

void TestMainForm::structureShowsBooster()
{
    QFETCH(QString, spin);
    QFETCH(int, stored);
    QFETCH(int, step);
    QFETCH(bool, picture);
    QFETCH(QString, expect);
    QFETCH(bool, booster);
    QFETCH(int, other);

    const int target = stored + 1 + step;
    QTemporaryDir dir;
    if (picture) {
        QImage img(12, 8, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QVERIFY(img.save(dir.filePath(QStringLiteral("STRU1-%1.BMP").arg(target)), "BMP"));
    }
    rig->form.setProgramDir(dir.path());
    const bool pair12 = spin == QLatin1String("SpStruct12");
    setCommon(rig->state, pair12 ? 0x44 : 0x46, stored);
    setCommon(rig->state, pair12 ? 0x46 : 0x44, other);
    rig->reload();

    const QLabel *image = rig->child<QLabel>(pair12 ? "Image1" : "Image2");
    const QRect place = image->geometry();
    auto *box = rig->form.findChild<QSpinBox *>(spin);
    QTest::keyClick(box, step > 0 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(box->value(), target);
    QCOMPARE(rig->dataSets(), QStringList{expect});
    QCOMPARE(rig->child<QWidget>(pair12 ? "SPboost1" : "Spboost2")->isVisible(), booster);
    QCOMPARE(rig->child<QLabel>(pair12 ? "Lboost1" : "Lboost2")->isVisible(), booster);
    const bool otherBoosted = other == 2 || other == 3;
    QCOMPARE(rig->child<QLabel>("STBooster")->isVisible(), booster || otherBoosted);
    QCOMPARE(!image->pixmap().isNull(), picture);
    // The picture keeps its place and its drawn size, booster or not.
    QCOMPARE(image->geometry(), place);
    QCOMPARE(image->size(), QSize(364, 110));
}

void TestMainForm::boosterSteppers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expect");

    QTest::newRow("1-2 up from +12") << "SPboost1Up" << 2 << "+18"
                                     << "03 00 00 45 | 03";
    QTest::newRow("1-2 up at +18") << "SPboost1Up" << 3 << "+18"
                                   << "";
    QTest::newRow("1-2 down at +0") << "SPboost1Down" << 0 << "+0"
                                    << "";
    QTest::newRow("3-4 up from +0") << "Spboost2Up" << 0 << "+6"
                                    << "03 00 00 47 | 01";
}

void TestMainForm::boosterSteppers()
{
    QFETCH(QString, button);
    QFETCH(int, start);
    QFETCH(QString, label);
    QFETCH(QString, expect);

    const bool pair12 = button.startsWith(QLatin1String("SPboost1"));
    setCommon(rig->state, 0x44, 2); // structure 3: boosters shown
    setCommon(rig->state, 0x46, 3);
    setCommon(rig->state, pair12 ? 0x45 : 0x47, start);
    rig->reload();

    auto *b = rig->form.findChild<QToolButton *>(button);
    QVERIFY(b && b->isVisible());
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(rig->dataSets(), expect.isEmpty() ? QStringList{} : QStringList{expect});
    QCOMPARE(rig->child<QLabel>(pair12 ? "Lboost1" : "Lboost2")->text(), label);
}

void TestMainForm::updateAllLoadsEveryControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expect");

    QTest::newRow("name") << "EPtchName" << QByteArray("text") << QVariant("Strings 1   ");
    QTest::newRow("tempo") << "SpDefTempo" << QByteArray("Value") << QVariant(200);
    QTest::newRow("level") << "SlLevel" << QByteArray("Position") << QVariant(111);
    QTest::newRow("pan") << "SlPPan" << QByteArray("Position") << QVariant(-24);
    QTest::newRow("octave") << "SpOctaveS" << QByteArray("value") << QVariant(-2);
    QTest::newRow("priority") << "CbVoiceP" << QByteArray("currentIndex") << QVariant(1);
    QTest::newRow("structure 1-2") << "SpStruct12" << QByteArray("value") << QVariant(10);
    QTest::newRow("booster 1-2") << "Lboost1" << QByteArray("text") << QVariant("+12");
    QTest::newRow("tone 1 off") << "ChkTone1" << QByteArray("checked") << QVariant(false);
    QTest::newRow("tone 2 on") << "ChkTone2" << QByteArray("checked") << QVariant(true);
    QTest::newRow("tone 3 wave") << "SpcWaveT3" << QByteArray("Value") << QVariant(0x5A + 1);
    QTest::newRow("tone 4 level") << "SpLevOut4" << QByteArray("Value") << QVariant(77);
}

void TestMainForm::updateAllLoadsEveryControl()
{
    QFETCH(QString, control);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expect);

    EditState &s = rig->state;
    const QByteArray name("Strings 1   ");
    for (int i = 0; i < 12; ++i)
        setCommon(s, i, name.at(i));
    const int values[][2] = {{0x2C, 0x0C}, {0x2D, 0x08}, {0x2E, 111}, {0x2F, 40},
                             {0x41, 1},    {0x43, 1},    {0x44, 9},   {0x45, 2}};
    for (const auto &v : values)
        setCommon(s, v[0], v[1]);
    s.patchImage.set(1, 0x00, 0);
    s.patchImage.set(2, 0x00, 1);
    s.patchImage.set(3, 0x03, 0x05);
    s.patchImage.set(3, 0x04, 0x0A);
    s.patchImage.set(4, 0x7E, 77);
    s.SendLock = true;
    const PatchImage before = s.patchImage;

    rig->form.B_UpdateAllClick();

    QObject *w = rig->form.findChild<QObject *>(control);
    QVERIFY(w);
    QCOMPARE(w->property(property.constData()), expect);
    QVERIFY(!s.SendLock);
    QVERIFY(rig->dataSets().isEmpty());
    QVERIFY(s.patchImage == before);
    QCOMPARE(s.ToneWaveNumber[2], 0x5A);
}

void TestMainForm::buttonsAnnounceTheirScreens_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("signal"); // 0 tone screen, 1 common screen, 2 command
    QTest::addColumn<int>("what");   // the screen or command announced
    QTest::addColumn<int>("tone");   // CurrentTone afterwards

    using M = TMidiMainForm;
    QTest::newRow("wave 2") << "BWave2" << 0 << int(M::ToneScreen::Wave) << 2;
    QTest::newRow("controllers 3") << "BCtrl3" << 0 << int(M::ToneScreen::Ctrl) << 3;
    QTest::newRow("effects") << "BEffect" << 1 << int(M::CommonScreen::Effect) << 1;
    QTest::newRow("system control") << "BSysCtrl" << 2 << int(M::Command::SystemControl) << 1;
    QTest::newRow("get patch picture") << "SpBGetPatch" << 2 << int(M::Command::GetPatch) << 1;
    QTest::newRow("copy tone") << "SpCopy" << 2 << int(M::Command::CopyTone) << 1;
}

void TestMainForm::buttonsAnnounceTheirScreens()
{
    QFETCH(QString, button);
    QFETCH(int, signal);
    QFETCH(int, what);
    QFETCH(int, tone);

    TMidiMainForm &f = rig->form;
    QSignalSpy toneSpy(&f, &TMidiMainForm::toneScreenRequested);
    QSignalSpy commonSpy(&f, &TMidiMainForm::commonScreenRequested);
    QSignalSpy commandSpy(&f, &TMidiMainForm::commandRequested);
    QSignalSpy *spies[] = {&toneSpy, &commonSpy, &commandSpy};
    rig->state.CurrentTone = 1;
    QTest::mouseClick(f.findChild<QAbstractButton *>(button), Qt::LeftButton);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(spies[k]->count(), k == signal ? 1 : 0);
    const QList<QVariant> args = spies[signal]->first();
    QCOMPARE(args.at(0).toInt(), what);
    if (signal == 0)
        QCOMPARE(args.at(1).toInt(), tone);
    QCOMPARE(rig->state.CurrentTone, tone);
    QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!f.findChild<QWidget *>(QStringLiteral("Tmomentform"))->isVisible());
    if (button == QLatin1String("BCtrl3"))
        QCOMPARE(rig->child<QLabel>("Ltonekeus")->text(), QStringLiteral("3 tmp=3"));
}

void TestMainForm::patchModeSelection()
{
    rig->state.EditPrefix = {0x02, 0x05};
    rig->state.SendLock = true;
    rig->form.selectPatchMode();
    QCOMPARE(rig->state.EditPrefix[0], 0x03);
    QCOMPARE(rig->state.EditPrefix[1], 0x00);
    QVERIFY(!rig->state.SendLock);
    QCOMPARE(rig->form.partChannel(), 1);
    // Sent before the lock is released: nothing goes out while it is held.
    QVERIFY(rig->dataSets().isEmpty());
    rig->form.selectPatchMode();
    QCOMPARE(rig->dataSets(), QStringList{"00 00 00 00 | 01"});
}

void TestMainForm::playNoteOffSilencesFirst()
{
    auto *box = rig->child<QCheckBox>("ChPlayNote");
    QVERIFY(box->isChecked());
    QVERIFY(rig->state.PlayNoteOn);
    QVERIFY(rig->child<QLabel>("ledplay")->isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(rig->hub.calls, QStringList{"AllSoundOff"});
    QVERIFY(!rig->state.PlayNoteOn);
    QVERIFY(!rig->child<QLabel>("ledplay")->isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(rig->hub.calls.size(), 1);
    QVERIFY(rig->state.PlayNoteOn);
}

void TestMainForm::optionsAndTitle()
{
    TMidiMainForm &f = rig->form;
    QCOMPARE(f.windowTitle(), QStringLiteral("JV-XP Tessiva [NoName.Pat]"));
    f.PatchFileName = QStringLiteral("Bass.pat");
    f.UpdateCaption();
    QCOMPARE(f.windowTitle(), QStringLiteral("JV-XP Tessiva [Bass.pat]"));

    auto *led = rig->child<QLabel>("ledupdate");
    QVERIFY(f.updateFromJv());
    QCOMPARE(led->palette().color(QPalette::Window), QColor(0, 255, 0));
    QTest::keyClick(&f, Qt::Key_U, Qt::ControlModifier);
    QVERIFY(!f.updateFromJv());
    QCOMPARE(led->palette().color(QPalette::Window), f.palette().color(QPalette::Button));
    QTest::keyClick(&f, Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(led->palette().color(QPalette::Window), QColor(0, 128, 0));

    // Half size cuts no control: each one shown lies wholly inside the
    // window, the tone rows among them; Full brings the panels back.
    for (const char *size : {"Half1", "Full1"}) {
        f.findChild<QAction *>(QLatin1String(size))->trigger();
        QTRY_COMPARE(f.findChild<QWidget *>(QStringLiteral("SlLevel"))->isVisible(),
                     size == QLatin1String("Full1"));
        QVERIFY(f.findChild<QWidget *>(QStringLiteral("BLFO4"))->isVisible());
        const QRect inside = f.centralWidget()->rect();
        for (const char *panel : {"PTones", "PLevel", "PExtras"}) {
            const auto controls =
                rig->child<QWidget>(panel)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            for (QWidget *w : controls) {
                if (!w->isVisible())
                    continue;
                const QRect r(w->mapTo(f.centralWidget(), QPoint()), w->size());
                QVERIFY2(inside.contains(r), qPrintable(w->objectName() + " in " + size));
            }
        }
    }
    QTest::keyClick(&f, Qt::Key_F10);
    QCOMPARE(rig->hub.calls, QStringList{"showHub"});
}

// A larger window gives its room to no box: every control and every column
// header keeps its place and size, so headers stay over their columns.
void TestMainForm::enlargingKeepsColumns()
{
    TMidiMainForm &f = rig->form;
    QList<QWidget *> watched;
    for (QLabel *l : f.findChildren<QLabel *>())
        if (l->text() == QLatin1String("Mix Efx send") || l->text() == QLatin1String("Wave Name"))
            watched << l;
    QCOMPARE(watched.size(), 2);
    for (const char *name : {"LDevStat", "CbSourceT1", "SpcWaveT1", "EWavetxt1", "CbOutput1",
                             "SpLevOut1", "BWave1", "SlLevel", "SpStruct12", "Image1"})
        watched << rig->child<QWidget>(name);
    auto places = [&] {
        QList<QRect> out;
        for (QWidget *w : watched)
            out << QRect(w->mapTo(&f, QPoint()), w->size());
        return out;
    };
    const QList<QRect> before = places();
    f.resize(f.size() + QSize(500, 300));
    QTRY_COMPARE(f.centralWidget()->width(), f.width());
    QCOMPARE(places(), before);
    // The efx send header ends before the device status begins.
    QVERIFY(before[1].right() < before[2].left());
}

QComboBox *TestMainForm::groupList(int tone) const
{
    return rig->form.findChild<QComboBox *>(tone == 1 ? QStringLiteral("CbSourceT1")
                                                      : QStringLiteral("CBSourceT%1").arg(tone));
}

void TestMainForm::intBWaveShowsItsLine_data()
{
    QTest::addColumn<int>("k");
    QTest::newRow("middle") << 136;
    QTest::newRow("last") << 193;
}

void TestMainForm::intBWaveShowsItsLine()
{
    QFETCH(int, k);
    setTone(rig->state, 2, 0, 2, k - 1);
    rig->form.B_UpdateAllClick();

    QCOMPARE(groupList(2)->currentText(), QStringLiteral("Int-B"));
    auto *spin = rig->form.findChild<TSpincw0R *>(QStringLiteral("SpcWaveT2"));
    QCOMPARE(spin->MaxValue(), 193);
    QCOMPARE(spin->Value(), k);
    const QString expected = waveLine(QStringLiteral("IntB.txt"), k);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(rig->form.findChild<QLineEdit *>(QStringLiteral("EWavetxt2"))->text(), expected);
    QCOMPARE(rig->state.ToneWaveNumber[1], k - 1);
    QVERIFY(rig->info.messages.isEmpty());
    QVERIFY(rig->dataSets().isEmpty());
}

void TestMainForm::storedGroupSelectsRow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("board in slot A") << 2 << 1 << 3 << 224 << QStringList{};
    QTest::newRow("count above 255 held") << 2 << 40 << 4 << 255 << QStringList{};
    // The empty card slot is no row to show.
    QTest::newRow("card not fitted")
        << 1 << 5 << -1 << 255 << QStringList{"This patch uses the PCM-Card no: 5" + Install};
    QTest::newRow("board not fitted")
        << 2 << 9 << -1 << 255 << QStringList{"This patch uses the ExpansionBoard no: 9" + Install};
    QTest::newRow("unknown group type")
        << 3 << 7 << -1 << 255
        << QStringList{"Error on wavegroup: = 3", "Problem with WgroupID = 7"};
}

void TestMainForm::storedGroupSelectsRow()
{
    QFETCH(int, type);
    QFETCH(int, id);
    QFETCH(int, row);
    QFETCH(int, maximum);
    QFETCH(QStringList, messages);

    setTone(rig->state, 1, type, id, 0);
    rig->form.B_UpdateAllClick();
    QCOMPARE(groupList(1)->currentIndex(), row);
    QCOMPARE(rig->form.findChild<TSpincw0R *>(QStringLiteral("SpcWaveT1"))->MaxValue(), maximum);
    QCOMPARE(rig->info.messages, messages);
    QVERIFY(!rig->state.SendLock);
}

void TestMainForm::missingBoardSaidOncePerLoad()
{
    for (int t : {1, 2, 4})
        setTone(rig->state, t, 2, 12, 3);
    const QString text = "This patch uses the ExpansionBoard no: 12" + Install;
    rig->form.B_UpdateAllClick();
    QCOMPARE(rig->info.messages, QStringList{text});
    rig->form.B_UpdateAllClick();
    QCOMPARE(rig->info.messages, (QStringList{text, text}));
}

void TestMainForm::waveChangeSends_data()
{
    QTest::addColumn<int>("tone");
    QTest::addColumn<QList<int>>("stored"); // type, ID, wave
    QTest::addColumn<bool>("onList");       // key goes to the group list, else the spin
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("expect");
    QTest::addColumn<QString>("name"); // list file and line, or empty

    QTest::newRow("Int-B chosen") << 2 << QList<int>{0, 1, 9} << true << int(Qt::Key_Down) << 1
                                  << "03 00 12 01 | 00 02 00 09"
                                  << "IntB.txt:10";
    QTest::newRow("smaller group pulls down")
        << 1 << QList<int>{0, 1, 254} << true << int(Qt::Key_Down) << 1
        << "03 00 10 01 | 00 02 0C 00"
        << "IntB.txt:193";
    // Down from Int-B passes over the empty card slot.
    QTest::newRow("board chosen") << 4 << QList<int>{0, 1, 0} << true << int(Qt::Key_Down) << 2
                                  << "03 00 16 01 | 02 01 00 00"
                                  << "ExpPop.txt:1";
    QTest::newRow("missing board keeps its group")
        << 1 << QList<int>{2, 9, 4} << false << int(Qt::Key_Up) << 1 << "03 00 10 01 | 02 09 00 05"
        << "";
}

void TestMainForm::waveChangeSends()
{
    QFETCH(int, tone);
    QFETCH(QList<int>, stored);
    QFETCH(bool, onList);
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(QString, expect);
    QFETCH(QString, name);

    setTone(rig->state, tone, stored[0], stored[1], stored[2]);
    rig->reload();
    rig->state.CurrentTone = 0;
    QWidget *target = onList
                          ? static_cast<QWidget *>(groupList(tone))
                          : rig->form.findChild<QWidget *>(QStringLiteral("SpcWaveT%1").arg(tone));
    target->setFocus();
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(target, Qt::Key(key));

    QCOMPARE(rig->dataSets().size(), presses);
    QCOMPARE(rig->lastDataSet(), expect);
    QCOMPARE(rig->state.CurrentTone, tone);
    const QString shown =
        rig->form.findChild<QLineEdit *>(QStringLiteral("EWavetxt%1").arg(tone))->text();
    if (name.isEmpty()) {
        QCOMPARE(shown, QString());
    } else {
        const QStringList ref = name.split(QLatin1Char(':'));
        QCOMPARE(shown, waveLine(ref[0], ref[1].toInt()));
    }
    const int wave = rig->state.patchImage.waveNumber(tone);
    QCOMPARE(rig->state.ToneWaveNumber[std::size_t(tone - 1)], wave);
}

void TestMainForm::emptyGroupRowsSendNothing()
{
    // Slots P and D are empty: greyed in every list, whatever else happens.
    for (int t = 1; t <= 4; ++t) {
        auto *list = qobject_cast<TFocusComboBox *>(groupList(t));
        QVERIFY(list);
        for (int row = 0; row < 7; ++row)
            QCOMPARE(list->isRowSelectable(row), row != 2 && row != 6);
    }

    // From the last board Down finds no row to go to.
    setTone(rig->state, 2, 2, 8, 5); // Orchestral, slot C
    rig->reload();
    QComboBox *list = groupList(2);
    QCOMPARE(list->currentIndex(), 5);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), 5);

    // Program code that puts a list on an empty row is refused.
    list->setCurrentIndex(6);
    rig->form.CbSourceT1Change(2);
    QCOMPARE(list->currentIndex(), 5);
    QVERIFY(!rig->form.SendWaveSelect(6, 3, 2));

    // A tone whose own group names none keeps it unsent.
    setTone(rig->state, 3, 0, 0, 7);
    rig->reload();
    QCOMPARE(groupList(3)->currentIndex(), -1);
    QTest::keyClick(rig->form.findChild<QWidget *>(QStringLiteral("SpcWaveT3")), Qt::Key_Up);
    QCOMPARE(rig->dataSets(), QStringList{});
    QCOMPARE(rig->state.patchImage.waveNumber(2), 5);
}

void TestMainForm::wheelPassingOverListsSendsNothing()
{
    QWidget *elsewhere = rig->child<QWidget>("SlLevel");
    const QList<QComboBox *> lists = rig->form.findChildren<QComboBox *>();
    QCOMPARE(lists.size(), 9); // group and output lists of four tones, priority
    for (QComboBox *list : lists) {
        QVERIFY2(qobject_cast<TFocusComboBox *>(list), qPrintable(list->objectName()));
        elsewhere->setFocus();
        const int row = list->currentIndex();
        const QPointF at = QRectF(list->rect()).center();
        for (int delta : {-120, 120}) {
            QWheelEvent e(at, list->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &e);
        }
        QCOMPARE(list->currentIndex(), row);
        QVERIFY(!list->hasFocus());
    }
    QCOMPARE(rig->dataSets(), QStringList{});
}

void TestMainForm::keysOfUnlistedItems_data()
{
    QTest::addColumn<QString>("focus"); // control holding the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mods");
    QTest::addColumn<QString>("call");    // what the hub was asked
    QTest::addColumn<QString>("message"); // what the user was told

    QTest::newRow("F11 reopens") << "SlLevel" << int(Qt::Key_F11) << 0 << "reopenMidi"
                                 << "";
    QTest::newRow("Ctrl+A in the name field")
        << "EPtchName" << int(Qt::Key_A) << int(Qt::ControlModifier) << ""
        << "";
}

// Menu items the menus do not show, and the Update Now key wherever the
// focus is.
void TestMainForm::keysOfUnlistedItems()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, mods);
    QFETCH(QString, call);
    QFETCH(QString, message);

    rig->form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig->form));
    QWidget *w = rig->form.findChild<QWidget *>(focus);
    w->setFocus();
    QTRY_VERIFY(w->hasFocus());
    // Bytes that arrive without an update; Update Now shows them.
    const QByteArray name("Fetched     ");
    for (int i = 0; i < 12; ++i)
        setCommon(rig->state, i, name.at(i));
    QTest::keyClick(w, Qt::Key(key), Qt::KeyboardModifiers(mods));
    QCOMPARE(rig->hub.calls, call.isEmpty() ? QStringList{} : QStringList{call});
    QCOMPARE(rig->info.messages, message.isEmpty() ? QStringList{} : QStringList{message});
    const bool updated = key == Qt::Key_A;
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text() == QString::fromLatin1(name), updated);
    QCOMPARE(rig->dataSets(), QStringList{});
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
