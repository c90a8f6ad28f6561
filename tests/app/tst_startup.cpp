#include "app/application.h"
#include "app/bankmanform.h"
#include "app/entryform.h"
#include "app/mainform.h"
#include "app/mainformsysex.h"
#include "app/mididevselect.h"
#include "app/momentform.h"
#include "app/noteoutform.h"
#include "core/appsettings.h"
#include "core/infosink.h"
#include "core/recordinginfosink.h"
#include "hubtestbackend.h"
#include "midi/mididevices.h"
#include "sim/simulatorbackend.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {
const QString SynthIn = QStringLiteral("Synth In");
const QString SynthOut = QStringLiteral("Synth Out");
const QString MainTitle = QStringLiteral("JV-XP Tessiva [NoName.Pat]");
const QString ExitQuestion = QStringLiteral("\r\r Exit TessivaW99 ?");
const QString NotChanged = QStringLiteral(" Patch NOT changed since last save.");
const QString Changed = QStringLiteral(" Patch CHANGED, click Cancel to Save first.");
const QString FirstRunText =
    QStringLiteral(" First time TessivaW95 run.\r Please make MIDI and EXPANSION settings first.");
// Patch mode (1) to the system's sound mode, unit 17.
const QByteArray PatchModeDataSet = QByteArray::fromHex("f0 41 10 6a 12 00 00 00 00 01 7f f7");
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void firstRunWritesDefaultsAndAsksForDevices_data();
    void firstRunWritesDefaultsAndAsksForDevices();
    void storedSettingsStart_data();
    void storedSettingsStart();
    void portFailureAtStartLeavesEditorRunning();
    void missingRememberedPortIsReported_data();
    void missingRememberedPortIsReported();
    void splashShowsMainWindowWhenItGoes();
    void exitAsksOnlyFromTheCloseButton_data();
    void exitAsksOnlyFromTheCloseButton();
    void settingsWrittenAtExitReadAtNextStart();
    void deviceDialogOkOrCancelKeepsEditing_data();
    void deviceDialogOkOrCancelKeepsEditing();
    void waitWindowShownWhileScreenOpens();
    void bankPacingComesFromTheSettings();

private:
    // A settings file that is not a first run: the test devices chosen.
    void storeDevices();
    void store(const char *key, const QVariant &value);
    QVariant stored(const char *key) const;
    Application &start(bool showMain = true);
    template <typename T> T *mainChild(const char *name) const
    {
        T *w = app_->mainForm()->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no main window child %s", name);
        return w;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString ini_;
    RecordingInfoSink info_;
    std::shared_ptr<HubTestBackend> backend_;
    std::unique_ptr<MidiDevices> devices_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<Application> app_;
    QStringList dialogs_;
    // How the device dialog is answered when it comes up, and what the user
    // does in it first.
    bool deviceOk_ = false;
    std::function<void(TMidiDevSelect &)> deviceEdits_;
};

void TestStartup::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    ini_ = dir_->filePath(QStringLiteral("tessiva.ini"));
    info_ = RecordingInfoSink();
    backend_ = std::make_shared<HubTestBackend>(QStringList{SynthIn}, QStringList{SynthOut});
    devices_ = std::make_unique<MidiDevices>();
    devices_->addBackend(backend_);
    dialogs_.clear();
    deviceOk_ = false;
    deviceEdits_ = nullptr;
}

void TestStartup::cleanup()
{
    app_.reset();
    settings_.reset();
    devices_.reset();
    backend_.reset();
    dir_.reset();
}

void TestStartup::storeDevices()
{
    store("JVID", 17);
    store("Midi_In1", 0);
    store("Midi_Out", 0);
    store("Midi_In1_Name", SynthIn);
    store("Midi_Out_Name", SynthOut);
}

void TestStartup::store(const char *key, const QVariant &value)
{
    QSettings s(ini_, QSettings::IniFormat);
    s.setValue(QLatin1String(key), value);
}

QVariant TestStartup::stored(const char *key) const
{
    return QSettings(ini_, QSettings::IniFormat).value(QLatin1String(key));
}

Application &TestStartup::start(bool showMain)
{
    app_.reset();
    settings_ = std::make_unique<AppSettings>(ini_);
    app_ = std::make_unique<Application>(info_, *settings_, *devices_);
    app_->setDialogRunner([this](QDialog &dialog) {
        dialogs_ << QString::fromLatin1(dialog.metaObject()->className());
        if (auto *devices = qobject_cast<TMidiDevSelect *>(&dialog)) {
            // Shown, not run: the test answers it with a click.
            devices->show();
            QVERIFY(QTest::qWaitForWindowExposed(devices));
            if (deviceEdits_)
                deviceEdits_(*devices);
            const char *button = deviceOk_ ? "BOk1" : "BCan1";
            QTest::mouseClick(devices->findChild<QPushButton *>(QLatin1String(button)),
                              Qt::LeftButton);
            QVERIFY(devices->isHidden());
        } else {
            dialog.exec(); // the splash ends by itself
        }
    });
    app_->createWindows();
    if (showMain) {
        app_->mainForm()->show();
        QApplication::setActiveWindow(app_->mainForm());
        [&] { QVERIFY(QTest::qWaitForWindowActive(app_->mainForm())); }();
    }
    return *app_;
}

void TestStartup::firstRunWritesDefaultsAndAsksForDevices_data()
{
    QTest::addColumn<bool>("builtIn"); // the program's own devices, else the test's
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("storedInput");

    // The built-in synthesizer comes first, so a fresh store reaches it.
    QTest::newRow("ok takes the built-in synth")
        << true << true << QString(SimulatorBackend::DeviceName);
    QTest::newRow("ok stores the chosen device") << false << true << SynthIn;
    // Cancel stores nothing, and the hub then opens the first devices.
    QTest::newRow("cancel keeps the defaults") << false << false << QString();
}

void TestStartup::firstRunWritesDefaultsAndAsksForDevices()
{
    QFETCH(bool, builtIn);
    QFETCH(bool, ok);
    QFETCH(QString, storedInput);
    SimulatorBackend *synth = nullptr;
    if (builtIn) {
        devices_ = std::make_unique<MidiDevices>();
        Application::addStandardBackends(*devices_);
        synth = dynamic_cast<SimulatorBackend *>(devices_->backends().front().get());
        QVERIFY(synth);
        synth->engine().setRecording(true);
    }

    deviceOk_ = ok;
    Application &app = start(false);

    QCOMPARE(dialogs_, QStringList{QStringLiteral("TMidiDevSelect")});
    QVERIFY(info_.messages.contains(FirstRunText));
    QCOMPARE(stored("JVID").toInt(), 17);
    for (const char *key : {"ExpP", "ExpA", "ExpB", "ExpC", "ExpD"})
        QCOMPARE(stored(key).toString(), QStringLiteral("NoWave.txt"));
    QCOMPARE(stored("PlayNote").toString(), QStringLiteral("false"));
    QCOMPARE(stored("Naam").toString(), QStringLiteral("TessivaW99"));
    QCOMPARE(stored("Midi_In1_Name").toString(), storedInput);
    QVERIFY(!app.state().MidiClosed);
    if (synth)
        QVERIFY(synth->engine().waitIdle());
    QCOMPARE(synth ? synth->engine().received() : backend_->sent(),
             QList<QByteArray>{PatchModeDataSet});
    QVERIFY(!app.mainForm()->playNoteChecked());
    // The caption is the main window's own: once an application display
    // name is set, Qt appends it to every window's title.
    QCOMPARE(app.mainForm()->windowTitle(), MainTitle);
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

void TestStartup::portFailureAtStartLeavesEditorRunning()
{
    storeDevices();
    backend_->failOpens(QStringLiteral("device is in use"));

    Application &app = start();

    QVERIFY(app.state().MidiClosed);
    // The port's reason, then the Patch mode switch that could not go out.
    QCOMPARE(info_.messages.size(), 2);
    QVERIFY2(info_.messages.first().contains(QStringLiteral("device is in use")),
             qPrintable(info_.messages.first()));
    QCOMPARE(info_.messages.last(), QStringLiteral("Midi Closed"));
    QCOMPARE(mainChild<QLabel>("LDevStat")->text(), QStringLiteral("Midi Closed"));
    QCOMPARE(mainChild<QLabel>("StatusPanel0")->text(), QStringLiteral("Midi Closed"));
    QVERIFY(!mainChild<QAction>("MMidiDevOpen")->isChecked());
    QVERIFY(backend_->sent().isEmpty());
    QVERIFY(app.mainForm()->isVisible());
}

// A device remembered from an earlier session that is gone now is named,
// with what stands in for it, in a message and on the status bar.
void TestStartup::missingRememberedPortIsReported_data()
{
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("panels");

    const QVariantMap gone{
        {"Midi_In1", 1}, {"Midi_In1_Name", "USB A"}, {"Midi_Out", 1}, {"Midi_Out_Name", "USB B"}};
    QTest::newRow("input and output gone")
        << gone << QStringList{SynthIn}
        << QStringList{"MIDI input \"USB A\" is not present; \"Synth In\" is used instead.\r"
                       "MIDI output \"USB B\" is not present; \"Synth Out\" is used instead."}
        << QStringList{"Midi Open", "In: Synth In (\"USB A\" missing)",
                       "Out: Synth Out (\"USB B\" missing)"};
    QTest::newRow("numbered input past the list")
        << QVariantMap{{"Midi_In1", 5}, {"Midi_Out", 0}, {"Midi_Out_Name", SynthOut}}
        << QStringList{SynthIn}
        << QStringList{"MIDI input number 5 is not present; \"Synth In\" is used instead."}
        << QStringList{"Midi Open", "In: Synth In (number 5 missing)", "Out: Synth Out"};
    // Another input would play into the synthesizer whatever it sends.
    QTest::newRow("keyboard gone is not replaced")
        << QVariantMap{{"Midi_In1", 0},          {"Midi_In1_Name", SynthIn},
                       {"Midi_Out", 0},          {"Midi_Out_Name", SynthOut},
                       {"SepKB", true},          {"Midi_In2", 1},
                       {"Midi_In2_Name", "Keys"}}
        << QStringList{SynthIn, "Other"}
        << QStringList{"Keyboard input \"Keys\" is not present; none is opened."}
        << QStringList{"Midi Open", "In: Synth In", "Out: Synth Out"};
    QTest::newRow("no input at all")
        << gone << QStringList{}
        << QStringList{"MIDI input \"USB A\" is not present; none is opened.", "Midi Closed"}
        << QStringList{"Midi Closed", "In: \"USB A\" missing", "Midi-Out"};
}

void TestStartup::missingRememberedPortIsReported()
{
    QFETCH(QVariantMap, values);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, panels);
    store("JVID", 17);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        store(it.key().toLatin1().constData(), it.value());
    backend_->setDevices(inputs, {SynthOut});

    Application &app = start();

    QCOMPARE(info_.messages, messages);
    for (int i = 0; i < panels.size(); ++i)
        QCOMPARE(mainChild<QLabel>(qPrintable(QStringLiteral("StatusPanel%1").arg(i)))->text(),
                 panels[i]);
    QCOMPARE(app.state().MidiClosed, inputs.isEmpty());
    QVERIFY(app.hub()->keyboardInput() == nullptr);
    // The stored choice stays for the day the device is back.
    QCOMPARE(stored("Midi_In1_Name"), values.value("Midi_In1_Name"));
}

// Whatever the store holds, "Update from JV" is on, the devices open and the
// unit is switched to Patch mode; damage falls back to the defaults.
void TestStartup::storedSettingsStart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("unitId");
    QTest::addColumn<bool>("playNote");
    QTest::addColumn<QList<QByteArray>>("sent");

    const QByteArray devices("[General]\nJVID=17\nMidi_In1=0\nMidi_Out=0\n");
    QTest::newRow("update stored off") << devices + "Update=false\n"
                                       << 17 << false << QList<QByteArray>{PatchModeDataSet};
    // The mode switch is a data set like any other, so it sounds the note.
    QTest::newRow("update unreadable, play note on")
        << devices + "Update=perhaps\nPlayNote=true\n"
        << 17 << true << QList<QByteArray>{PatchModeDataSet, QByteArray::fromHex("90 41 40")};
    // Junk still yields some keys, so it is no first run.
    QTest::newRow("binary junk") << QByteArray("\x00\xff\x13[\x01\x02=\x7f\x80\n\x00==", 14) << 17
                                 << false << QList<QByteArray>{PatchModeDataSet};
    QTest::newRow("values out of range")
        << QByteArray("[General]\nJVID=999\nMidi_In1=-7\nMidi_Out=99999999999\n"
                      "PlayNote=maybe\nSepKB=2\nExpP=../../../etc/passwd\nExpA=\n")
        << 17 << false << QList<QByteArray>{PatchModeDataSet};
    QTest::newRow("good unit id kept among damage")
        << QByteArray("[General]\nJVID=20\nMidi_In1=x\nMidi_Out=0\nPatch=a, b, c\n") << 20 << false
        << QList<QByteArray>{QByteArray::fromHex("f0 41 13 6a 12 00 00 00 00 01 7f f7")};
}

void TestStartup::storedSettingsStart()
{
    QFETCH(QByteArray, content);
    QFETCH(int, unitId);
    QFETCH(bool, playNote);
    QFETCH(QList<QByteArray>, sent);
    {
        QFile f(ini_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    Application &app = start();

    QCOMPARE(app.state().UnitId, unitId);
    QVERIFY(app.mainForm()->updateFromJv());
    QVERIFY(mainChild<QAction>("ChUpdate")->isChecked());
    QVERIFY(dialogs_.isEmpty());
    QVERIFY(info_.messages.isEmpty());
    QCOMPARE(backend_->sent(), sent);
    QCOMPARE(app.state().EditPrefix[0], 0x03);
    QCOMPARE(app.mainForm()->playNoteChecked(), playNote);
    QCOMPARE(app.state().PlayNoteOn, playNote);
    // The mode switch is no edit of the patch.
    QVERIFY(!app.state().PatchModified);
    for (const ExpansionSlot &slot : app.state().Expansion)
        QCOMPARE(slot.fileName, QStringLiteral("NoWave.txt"));
    QVERIFY(app.mainForm()->LastPatchFile.isEmpty());
    QVERIFY(app.momentForm() && app.momentForm()->isHidden());
    QVERIFY(app.hub()->isHidden());
}

void TestStartup::splashShowsMainWindowWhenItGoes()
{
    storeDevices();
    Application &app = start(false);
    TEntryForm *splash = app.entryForm();
    QVERIFY(splash);
    QPointer<TEntryForm> alive(splash);
    auto *ok = splash->findChild<QPushButton *>(QStringLiteral("OKButton"));
    QVERIFY(ok);

    bool probed = false;
    QTimer::singleShot(TEntryForm::ShowTime / 3, splash, [&] {
        probed = true;
        QVERIFY(splash->isVisible());
        QVERIFY(!ok->isEnabled());
        QVERIFY(app.mainForm()->isHidden());
        // Neither the window manager nor Escape ends it early.
        QVERIFY(!splash->close());
        QTest::keyClick(splash, Qt::Key_Escape);
        QVERIFY(splash->isVisible());
    });
    QElapsedTimer shown;
    shown.start();
    app.showSplash();

    QVERIFY(probed);
    QVERIFY(shown.elapsed() >= TEntryForm::ShowTime - 50);
    QVERIFY(app.mainForm()->isVisible());
    QVERIFY(app.mainForm()->mainShown());
    QVERIFY(alive.isNull());
    QCOMPARE(dialogs_, QStringList{QStringLiteral("TEntryForm")});
}

void TestStartup::exitAsksOnlyFromTheCloseButton_data()
{
    QTest::addColumn<bool>("closeButton"); // else File -> Exit (F12)
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question"); // empty: none asked

    QTest::newRow("unchanged, yes") << true << false << true << NotChanged;
    QTest::newRow("edited, cancel") << true << true << false << Changed;
    QTest::newRow("F12 never asks") << false << true << false << QString();
}

void TestStartup::exitAsksOnlyFromTheCloseButton()
{
    QFETCH(bool, closeButton);
    QFETCH(bool, edit);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    storeDevices();
    store("Patch", QStringLiteral("/patches/old.pat"));
    store("PlayNote", true); // the start already plays the test note
    Application &app = start();
    if (edit) {
        auto *octave = mainChild<QSpinBox>("SpOctaveS");
        octave->setFocus();
        QTest::keyClick(octave, Qt::Key_Up);
        QVERIFY(app.state().PatchModified);
    }
    QFile::remove(ini_);
    info_.answer = answer;
    const bool ends = answer || !closeButton;
    TMidiMainForm *main = app.mainForm();
    QTimer::singleShot(0, main, [main, closeButton] {
        if (closeButton)
            main->close();
        else
            QTest::keyClick(main, Qt::Key_F12);
        if (main->isVisible())
            QCoreApplication::exit(2);
    });
    // Should the program refuse to end, the test ends the loop itself; only
    // then, so a loaded machine gets all the time it needs.
    constexpr int RefusedAfterMs = 60000;
    QTimer guard;
    guard.callOnTimeout([] { QCoreApplication::exit(1); });
    guard.start(RefusedAfterMs);

    QCOMPARE(QApplication::exec(), ends ? 0 : 2);

    const QStringList asked{MainTitle + QLatin1Char('|') + question + ExitQuestion};
    QCOMPARE(info_.questions, question.isEmpty() ? QStringList{} : asked);
    QCOMPARE(main->isVisible(), !ends);
    // Leaving runs the exit command: settings written, MIDI closed.
    QCOMPARE(QFile::exists(ini_), ends);
    QCOMPARE(app.state().MidiClosed, ends);
    // Leaving stops the test note first.
    QCOMPARE(backend_->sent().last() == QByteArray::fromHex("b07b00"), ends);
    if (ends)
        QCOMPARE(stored("Patch").toString(), QStringLiteral("/patches/old.pat"));
}

void TestStartup::settingsWrittenAtExitReadAtNextStart()
{
    storeDevices();
    {
        Application &app = start();
        app.state().UnitId = 21;
        app.mainForm()->LastPatchFile = QStringLiteral("/songs/lead.pat");
        auto *playNote = mainChild<QCheckBox>("ChPlayNote");
        QVERIFY(!playNote->isChecked());
        QTest::mouseClick(playNote, Qt::LeftButton);
        QVERIFY(app.state().PlayNoteOn);
        mainChild<QAction>("ChUpdate")->trigger();
        QVERIFY(!app.mainForm()->updateFromJv());
        QTest::keyClick(app.mainForm(), Qt::Key_F12);
        QVERIFY(app.state().MidiClosed);
    }
    app_.reset();
    QCOMPARE(stored("JVID").toInt(), 21);
    QCOMPARE(stored("Update").toString(), QStringLiteral("false"));
    QCOMPARE(stored("AutoSave").toString(), QStringLiteral("true"));

    Application &again = start();

    QCOMPARE(again.state().UnitId, 21);
    QVERIFY(again.mainForm()->playNoteChecked());
    QVERIFY(again.state().PlayNoteOn);
    QCOMPARE(again.mainForm()->LastPatchFile, QStringLiteral("/songs/lead.pat"));
    QVERIFY(again.mainForm()->updateFromJv());
    QVERIFY(dialogs_.isEmpty());
}

// Ok takes the new expansion choice and refills the wave groups; Cancel
// changes nothing. Either way the ports closed for the dialog are open
// again: an edit reaches the synthesizer and the status bar says so.
void TestStartup::deviceDialogOkOrCancelKeepsEditing_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
}

void TestStartup::deviceDialogOkOrCancelKeepsEditing()
{
    QFETCH(bool, ok);
    storeDevices();
    Application &app = start();
    auto *source = mainChild<QComboBox>("CbSourceT1");
    constexpr int BoardARow = 3; // Int-A, Int-B, card P, board A
    QCOMPARE(source->itemText(BoardARow), QStringLiteral("None"));
    deviceOk_ = ok;
    QStringList panelsWhileOpen;
    deviceEdits_ = [&](TMidiDevSelect &dialog) {
        for (int i = 0; i < 3; ++i)
            panelsWhileOpen
                << mainChild<QLabel>(qPrintable(QStringLiteral("StatusPanel%1").arg(i)))->text();
        auto *board = dialog.findChild<QComboBox *>(QStringLiteral("CbExpA"));
        board->setFocus();
        QTest::keyClick(board, Qt::Key_Down);
        QCOMPARE(board->currentIndex(), 1);
    };

    QTest::keyClick(app.mainForm(), Qt::Key_F9);

    QCOMPARE(dialogs_, QStringList{QStringLiteral("TMidiDevSelect")});
    QCOMPARE(panelsWhileOpen, (QStringList{"Midi Closed", "Midi-In", "Midi-Out"}));
    const QString boardName = app.state().Expansion[1].cbName;
    QCOMPARE(boardName != QStringLiteral("None"), ok);
    QCOMPARE(source->itemText(BoardARow), boardName);
    QVERIFY(!app.state().MidiClosed);
    QVERIFY(!app.state().SendLock);
    QCOMPARE(mainChild<QLabel>("StatusPanel0")->text(), QStringLiteral("Midi Open"));
    QCOMPARE(mainChild<QLabel>("StatusPanel2")->text(), QStringLiteral("Out: ") + SynthOut);
    QVERIFY(mainChild<QAction>("MMidiDevOpen")->isChecked());

    backend_->clearSent();
    auto *octave = mainChild<QSpinBox>("SpOctaveS");
    octave->setFocus();
    QTest::keyClick(octave, Qt::Key_Up);
    QCOMPARE(backend_->sent().size(), 1);
    QVERIFY(info_.messages.isEmpty());
}

void TestStartup::waitWindowShownWhileScreenOpens()
{
    storeDevices();
    Application &app = start();
    Tmomentform *moment = app.momentForm();
    bool shownWhileOpening = false;
    QPoint momentCentre;
    connect(app.mainForm(), &TMidiMainForm::toneScreenRequested, this, [&] {
        shownWhileOpening = moment->isVisible();
        momentCentre = moment->geometry().center();
    });

    QTest::mouseClick(mainChild<QPushButton>("BWave2"), Qt::LeftButton);

    QVERIFY(shownWhileOpening);
    QVERIFY((momentCentre - app.mainForm()->geometry().center()).manhattanLength() <= 2);
    QVERIFY(moment->isHidden());
    QCOMPARE(app.state().CurrentTone, 2);
}

void TestStartup::bankPacingComesFromTheSettings()
{
    {
        QFile f(ini_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[General]\nJVID=17\nMidi_In1=0\nMidi_Out=0\n"
                "BankPauseMs=55\nBankTimeoutMs=2500\nBankRetries=7\n");
    }
    Application &app = start();
    QTest::keyClick(app.mainForm(), Qt::Key_F3);
    TBankManForm &librarian = app.sysex()->bankManForm();
    QVERIFY(QTest::qWaitForWindowExposed(&librarian));
    BankTransfer::Pacing pacing = librarian.transfer().pacing();
    QCOMPARE(pacing.pauseMs, 55);
    QCOMPARE(pacing.timeoutMs, 2500);
    QCOMPARE(pacing.retries, 7);

    // Reading the settings again reaches the open librarian too.
    store("BankPauseMs", 40);
    store("BankRetries", 0);
    app.ReadSettings();
    pacing = librarian.transfer().pacing();
    QCOMPARE(pacing.pauseMs, 40);
    QCOMPARE(pacing.timeoutMs, 2500);
    QCOMPARE(pacing.retries, 0);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
