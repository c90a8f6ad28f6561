// The editor in a New Session Manager session: joining or not, and a whole
// round trip of open, edit, save, quit and open again, in this process and
// with the real program.

#include "app/application.h"
#include "app/editorscreens.h"
#include "app/mainform.h"
#include "app/noteoutform.h"
#include "app/nsmclient.h"
#include "app/nsmsession.h"
#include "controls/slidnavf.h"
#include "core/addressmap.h"
#include "core/appsettings.h"
#include "core/patchfile.h"
#include "core/recordinginfosink.h"
#include "midi/mididevices.h"
#include "minisessionmanager.h"
#include "sim/simulatorbackend.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
constexpr int AnswerTimeoutMs = 30000;
const QPoint HubPlace(123, 77);
} // namespace

class TestNsmSession : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void noSessionWithoutAnOpen_data();
    void noSessionWithoutAnOpen();
    void roundTripRestoresEditsSettingsAndWindows();
    void programSavesIntoTheSessionAndEndsOnTerminate();

private:
    // One run of the editor inside the session, as main() makes it.
    struct Run
    {
        std::unique_ptr<NsmClient> client;
        std::unique_ptr<NsmSession> session;
        std::unique_ptr<AppSettings> settings;
        std::unique_ptr<MidiDevices> devices;
        std::unique_ptr<Application> app;
    };
    void open(Run &run);
    QString sessionPath() const { return dir_->filePath(QStringLiteral("session/Tessiva.nTESTA")); }
    QString userStore() const
    {
        return dir_->filePath(QStringLiteral("config/Korvale/TessivaW95.conf"));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MiniSessionManager> manager_;
    RecordingInfoSink info_;
};

void TestNsmSession::initTestCase()
{
    // The user's store must be a test folder before any settings are read.
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    qputenv("XDG_CONFIG_HOME", dir_->filePath(QStringLiteral("config")).toUtf8());
}

void TestNsmSession::init()
{
    QDir(sessionPath()).removeRecursively();
    QFile::remove(userStore());
    info_ = RecordingInfoSink();
}

void TestNsmSession::cleanup()
{
    manager_.reset();
}

void TestNsmSession::open(Run &run)
{
    run.client = std::make_unique<NsmClient>(manager_->url());
    run.session = std::make_unique<NsmSession>(*run.client);
    QVERIFY(run.session->join(QStringLiteral("tessiva"), AnswerTimeoutMs));
    run.settings = std::make_unique<AppSettings>(run.session->settingsFile());
    run.devices = std::make_unique<MidiDevices>();
    run.devices->addBackend(std::make_shared<SimulatorBackend>());
    run.app = std::make_unique<Application>(info_, *run.settings, *run.devices);
    run.app->createWindows();
    run.app->mainForm()->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.app->mainForm()));
    run.session->attach(*run.app, *run.settings);
    QTRY_VERIFY_WITH_TIMEOUT(manager_->replied("/nsm/client/open"), AnswerTimeoutMs);
}

void TestNsmSession::noSessionWithoutAnOpen_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("refused") << int(MiniSessionManager::Answer::Refuse)
                             << QStringLiteral("Incompatible API version");
    QTest::newRow("silent") << int(MiniSessionManager::Answer::Silent) << QString();
}

void TestNsmSession::noSessionWithoutAnOpen()
{
    QFETCH(int, answer);
    QFETCH(QString, refusal);
    manager_ = std::make_unique<MiniSessionManager>(
        sessionPath(), static_cast<MiniSessionManager::Answer>(answer));
    NsmClient client(manager_->url());
    QVERIFY(client.isValid());
    NsmSession session(client);
    QVERIFY(!session.join(QStringLiteral("tessiva"), 1500));
    QCOMPARE(manager_->announcedName(), QLatin1String(NsmSession::ClientName));
    QCOMPARE(client.refusal(), refusal);
    QVERIFY(session.folder().isEmpty());
    QVERIFY(!QFileInfo::exists(sessionPath()));
}

void TestNsmSession::roundTripRestoresEditsSettingsAndWindows()
{
    // The user's own devices and options seed a new session.
    {
        QSettings user(userStore(), QSettings::IniFormat);
        user.setValue(QStringLiteral("JVID"), 18);
    }
    manager_ = std::make_unique<MiniSessionManager>(sessionPath());
    std::uint8_t level = 0;
    {
        Run run;
        open(run);
        QCOMPARE(run.app->state().UnitId, 18);
        TMidiMainForm *main = run.app->mainForm();
        auto *slider = main->findChild<TSlidNaVf *>(QStringLiteral("SlLevel"));
        QVERIFY(slider);
        const std::uint8_t before = run.app->state().patchImage.common(addr::common::PatchLevel);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_PageDown);
        level = run.app->state().patchImage.common(addr::common::PatchLevel);
        QVERIFY(level != before);
        auto *playNote = main->findChild<QCheckBox *>(QStringLiteral("ChPlayNote"));
        QVERIFY(playNote && !playNote->isChecked());
        QTest::mouseClick(playNote, Qt::LeftButton);
        QVERIFY(playNote->isChecked());
        QTest::mouseClick(main->findChild<QPushButton *>(QStringLiteral("BTVF_TVA2")),
                          Qt::LeftButton);
        QTRY_VERIFY(run.app->screens()->toneScreen(TMidiMainForm::ToneScreen::TvfTva));
        run.app->hub()->showHub();
        run.app->hub()->move(HubPlace);
        run.app->hub()->showMessageLog();

        manager_->save();
        QTRY_VERIFY_WITH_TIMEOUT(manager_->replied("/nsm/client/save"), AnswerTimeoutMs);
        QVERIFY(!manager_->replied("/nsm/client/save", true));
    }
    const QDir folder(sessionPath());
    QCOMPARE(QFileInfo(folder.filePath(QLatin1String(NsmSession::PatchFileName))).size(),
             qint64(PatchFile::FileSize));
    // Nothing of the session reaches the user's own store.
    QCOMPARE(QSettings(userStore(), QSettings::IniFormat).allKeys(), QStringList{"JVID"});

    Run again;
    open(again);
    QVERIFY(!manager_->replied("/nsm/client/open", true));
    QCOMPARE(again.app->state().patchImage.common(addr::common::PatchLevel), level);
    TMidiMainForm *main = again.app->mainForm();
    QCOMPARE(main->findChild<TSlidNaVf *>(QStringLiteral("SlLevel"))->Position(), int(level));
    QVERIFY(main->findChild<QCheckBox *>(QStringLiteral("ChPlayNote"))->isChecked());
    QWidget *tvfTva = again.app->screens()->toneScreen(TMidiMainForm::ToneScreen::TvfTva);
    QVERIFY(tvfTva && tvfTva->isVisible());
    QCOMPARE(again.app->state().CurrentTone, 2);
    QVERIFY(again.app->hub()->isVisible());
    QCOMPARE(again.app->hub()->pos(), HubPlace);
    QVERIFY(again.app->hub()->outputForm() && again.app->hub()->outputForm()->isVisible());
    QVERIFY(info_.messages.isEmpty());
}

void TestNsmSession::programSavesIntoTheSessionAndEndsOnTerminate()
{
    manager_ = std::make_unique<MiniSessionManager>(sessionPath());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(NsmClient::UrlVariable), manager_->url());
    env.insert(QStringLiteral("HOME"), dir_->path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_->filePath(QStringLiteral("config")));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(TESSIVA_BIN_DIR "/tessiva"), {});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(manager_->replied("/nsm/client/open"), AnswerTimeoutMs);
    QCOMPARE(manager_->announcedName(), QLatin1String(NsmSession::ClientName));

    manager_->save();
    QTRY_VERIFY_WITH_TIMEOUT(manager_->replied("/nsm/client/save"), AnswerTimeoutMs);
    const QDir folder(sessionPath());
    for (const char *name :
         {NsmSession::SettingsFileName, NsmSession::PatchFileName, NsmSession::StateFileName})
        QVERIFY2(QFileInfo::exists(folder.filePath(QLatin1String(name))), name);
    QVERIFY(!QFileInfo::exists(userStore()));

    program.terminate();
    QVERIFY(program.waitForFinished(AnswerTimeoutMs));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(userStore()));
}

QTEST_MAIN(TestNsmSession)
#include "tst_nsmsession.moc"
