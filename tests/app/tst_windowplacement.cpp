// Every window of the program opens inside the screen's available area,
// the dialogs centred on the main window. The test runs on a small virtual
// screen that does not start at the origin, so windows centred on a main
// window near its edge would spill over unless they are placed.

#include "app/application.h"
#include "app/mainform.h"
#include "app/mainformtransfer.h"
#include "app/mididevselect.h"
#include "app/momentform.h"
#include "app/noteoutform.h"
#include "app/outputform.h"
#include "app/windowplacement.h"
#include "core/appsettings.h"
#include "core/recordinginfosink.h"
#include "hubtestbackend.h"
#include "midi/mididevices.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
const QRect SmallScreen(100, 40, 1000, 650);
constexpr int CentreSlack = 2; // odd sizes halve with a pixel to spare
} // namespace

class TestWindowPlacement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void windowsOpenOnTheScreen_data();
    void windowsOpenOnTheScreen();
    void oversizeWindowIsCutToTheScreen();

private:
    QRect openWindow(const QString &window);
    QRect shownDialog(QDialog &dialog);

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingInfoSink info_;
    std::shared_ptr<HubTestBackend> backend_;
    std::unique_ptr<MidiDevices> devices_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<Application> app_;
};

void TestWindowPlacement::init()
{
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), SmallScreen);
    dir_ = std::make_unique<QTemporaryDir>();
    const QString ini = dir_->filePath(QStringLiteral("tessiva.ini"));
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue(QStringLiteral("JVID"), 17);
        s.setValue(QStringLiteral("Midi_In1"), 0);
        s.setValue(QStringLiteral("Midi_Out"), 0);
    }
    backend_ = std::make_shared<HubTestBackend>(QStringList{"In"}, QStringList{"Out"});
    devices_ = std::make_unique<MidiDevices>();
    devices_->addBackend(backend_);
    settings_ = std::make_unique<AppSettings>(ini);
    app_ = std::make_unique<Application>(info_, *settings_, *devices_);
}

void TestWindowPlacement::cleanup()
{
    app_.reset();
    settings_.reset();
    devices_.reset();
    backend_.reset();
    dir_.reset();
}

// Shows the dialog as its runner would, notes where it is, and cancels it.
QRect TestWindowPlacement::shownDialog(QDialog &dialog)
{
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        qWarning("dialog not exposed");
    const QRect frame = dialog.frameGeometry();
    dialog.hide();
    return frame;
}

QRect TestWindowPlacement::openWindow(const QString &window)
{
    TMidiMainForm *main = app_->mainForm();
    QRect frame;
    app_->setDialogRunner([&](QDialog &dialog) { frame = shownDialog(dialog); });
    app_->transfer()->setDialogRunner([&](QDialog &dialog) { frame = shownDialog(dialog); });
    auto click = [main](const char *name) {
        QTest::mouseClick(main->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    };
    if (window == QLatin1String("main")) {
        frame = main->frameGeometry();
    } else if (window == QLatin1String("log")) {
        QTest::keyClick(main, Qt::Key_F2);
        frame = app_->hub()->outputForm()->frameGeometry();
    } else if (window == QLatin1String("hub")) {
        QTest::keyClick(main, Qt::Key_F10);
        frame = app_->hub()->frameGeometry();
    } else if (window == QLatin1String("devices")) {
        QTest::keyClick(main, Qt::Key_F9);
    } else if (window == QLatin1String("save to synth")) {
        main->findChild<QAction *>(QStringLiteral("MSavetoJV"))->trigger();
    } else if (window == QLatin1String("copy tone")) {
        click("SpCopy");
    } else if (window == QLatin1String("system control")) {
        click("BSysCtrl");
    } else if (window == QLatin1String("wait note")) {
        main->BeginScreenOpen(nullptr);
        frame = app_->momentForm()->frameGeometry();
        main->EndScreenOpen();
    }
    return frame;
}

void TestWindowPlacement::windowsOpenOnTheScreen_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("corner"); // the main window far down right
    QTest::newRow("main window") << QStringLiteral("main") << false;
    for (const char *w :
         {"log", "hub", "devices", "save to synth", "copy tone", "system control", "wait note"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, main centred").arg(QLatin1String(w))))
            << QString::fromLatin1(w) << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, main in a corner").arg(QLatin1String(w))))
            << QString::fromLatin1(w) << true;
    }
}

void TestWindowPlacement::windowsOpenOnTheScreen()
{
    QFETCH(QString, window);
    QFETCH(bool, corner);
    app_->createWindows();
    TMidiMainForm *main = app_->mainForm();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    if (corner) {
        const QPoint far = SmallScreen.bottomRight() - QPoint(150, 100);
        main->move(far);
        QTRY_COMPARE(main->frameGeometry().topLeft(), far);
    }

    const QRect frame = openWindow(window);

    QVERIFY(frame.isValid());
    QVERIFY2(SmallScreen.contains(frame), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                                         .arg(window)
                                                         .arg(frame.x())
                                                         .arg(frame.y())
                                                         .arg(frame.width())
                                                         .arg(frame.height())));
    if (!corner && window != QLatin1String("main"))
        QVERIFY((frame.center() - main->frameGeometry().center()).manhattanLength() <=
                2 * CentreSlack);
}

// A window larger than the screen is cut to it, as far as it can shrink,
// and shown from the screen's top left corner.
void TestWindowPlacement::oversizeWindowIsCutToTheScreen()
{
    QWidget big;
    WindowPlacement::install(big, WindowPlacement::Mode::CentreOnce);
    big.resize(SmallScreen.width() * 2, SmallScreen.height() * 2);
    big.show();
    QVERIFY(QTest::qWaitForWindowExposed(&big));
    QVERIFY(SmallScreen.contains(big.frameGeometry()));

    // Moved off by the user, it comes back whole the next time it is shown,
    // without being centred again.
    big.hide();
    big.resize(300, 200);
    big.move(SmallScreen.right() - 100, SmallScreen.top() + 10);
    big.show();
    QVERIFY(QTest::qWaitForWindowExposed(&big));
    QCOMPARE(big.frameGeometry().right(), SmallScreen.right());
    QCOMPARE(big.frameGeometry().top(), SmallScreen.top() + 10);
}

// The offscreen platform's screen, made small and moved off the origin.
int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QStringLiteral(R"({"windowFrameMargins": true, "screens": [{"name": "small",
        "x": %1, "y": %2, "width": %3, "height": %4, "logicalDpi": 96,
        "logicalBaseDpi": 96, "dpr": 1.0}]})")
                   .arg(SmallScreen.x())
                   .arg(SmallScreen.y())
                   .arg(SmallScreen.width())
                   .arg(SmallScreen.height())
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QFile::encodeName(config));
    QApplication app(argc, argv);
    TestWindowPlacement test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowplacement.moc"
