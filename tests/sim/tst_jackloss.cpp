// A JACK server that goes away under the program: sends fail with a reason
// instead of vanishing, and whatever moment the server dies at, opening,
// using and closing ports never crashes (libjack frees the clients RtMidi
// still holds once a new client is opened after the loss).

#include "jackserver.h"
#include "midi/rtmidibackend.h"
#include "simtesthelpers.h"

#include <QElapsedTimer>
#include <QTest>

#include <chrono>
#include <csignal>
#include <thread>

namespace {
class CountingReceiver : public MidiReceiver
{
public:
    void receiveShort(std::uint32_t, std::uint32_t) noexcept override { ++count; }
    void receiveSysex(const std::uint8_t *, std::size_t, std::uint32_t) noexcept override {}
    std::atomic<int> count{0};
};

const std::uint8_t DataSet[] = {0xF0, 0x41, 0x10, 0x6A, 0x12, 0x03,
                                0x00, 0x00, 0x0C, 0x05, 0x6C, 0xF7};

QString serverName(const char *what)
{
    return QStringLiteral("tessiva-%1-%2")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid());
}

// libjack names a client's socket after the client alone, whatever its
// server: clients of this test carry its process id, so that another test
// opening "Tessiva" on a server of its own at the same moment cannot take it.
QString clientName(const char *what)
{
    return QStringLiteral("Tessiva%1-%2")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid());
}
} // namespace

class TestJackLoss : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sendsFailOnceTheServerIsGone();
    void dyingAtAnyMomentNeverCrashes();
};

void TestJackLoss::initTestCase()
{
    const QString missing = JackServer::missingTools();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing + QStringLiteral(": JACK loss tests skipped")));
}

void TestJackLoss::sendsFailOnceTheServerIsGone()
{
    JackServer server(serverName("loss"));
    const QString why = server.start();
    QVERIFY2(why.isEmpty(), qPrintable(why));
    RtMidiBackend backend(clientName("Loss"));
    NullReceiver receiver;
    std::unique_ptr<MidiOutputConnection> out;
    std::unique_ptr<MidiInputConnection> in;
    try {
        out = backend.openVirtualOutput(QStringLiteral("loss"));
        in = backend.openVirtualInput(QStringLiteral("loss"), receiver);
        out->sendLong(DataSet, sizeof DataSet);
    } catch (const MidiBackendError &e) {
        QFAIL(qPrintable(e.reason()));
    }
    QVERIFY(!backend.serverLost());

    server.kill();
    QTRY_VERIFY_WITH_TIMEOUT(backend.serverLost(), 10000);
    QString reason;
    try {
        out->sendLong(DataSet, sizeof DataSet);
    } catch (const MidiBackendError &e) {
        reason = e.reason();
    }
    QCOMPARE(reason, QStringLiteral("The JACK server has stopped"));
    // Listing opens fresh clients, which makes libjack free the old ones;
    // the ports on them must then be left alone, also when closed.
    QCOMPARE(backend.outputDevices(), QStringList());
    QVERIFY_THROWS_EXCEPTION(MidiBackendError, backend.openOutput(0));
    in.reset();
    out.reset();

    // A server that comes back is found again by the same backend, and
    // ports opened one after the other there all stay open.
    const QString again = server.start();
    QVERIFY2(again.isEmpty(), qPrintable(again));
    RtMidiBackend other(clientName("Other"));
    const auto source = other.openVirtualOutput(QStringLiteral("back"));
    const QString sourcePort = clientName("Other") + QStringLiteral(":back");
    QTRY_VERIFY_WITH_TIMEOUT(backend.inputDevices().contains(sourcePort), 10000);
    CountingReceiver heard;
    try {
        in = backend.openInput(int(backend.inputDevices().indexOf(sourcePort)), heard);
        out = backend.openVirtualOutput(QStringLiteral("again"));
        out->sendLong(DataSet, sizeof DataSet);
    } catch (const MidiBackendError &e) {
        QFAIL(qPrintable(e.reason()));
    }
    // A new connection goes live at a later cycle: send until one arrives.
    QElapsedTimer t;
    t.start();
    while (heard.count == 0 && t.elapsed() < 10000) {
        source->sendShort(0x90, 0x3C, 0x40);
        QTest::qWait(20);
    }
    QVERIFY(heard.count > 0);
}

// The server is killed at a different moment of each round while ports are
// opened, used and closed without pause. A crash ends the test program.
void TestJackLoss::dyingAtAnyMomentNeverCrashes()
{
    constexpr int Rounds = 8;
    constexpr int LatestKillMs = 400;
    constexpr int GiveUpMs = 30000;
    NullReceiver receiver;
    // One round of what the program does with its ports; false when the
    // MIDI system refused.
    const auto churn = [&] {
        try {
            RtMidiBackend backend(clientName("Churn"));
            (void)backend.inputDevices();
            auto out = backend.openVirtualOutput(QStringLiteral("churn"));
            auto in = backend.openVirtualInput(QStringLiteral("churn"), receiver);
            out->sendLong(DataSet, sizeof DataSet);
            return true;
        } catch (const MidiBackendError &) {
            return false;
        }
    };
    for (int round = 0; round < Rounds; ++round) {
        JackServer server(serverName("churn"));
        const QString why = server.start();
        QVERIFY2(why.isEmpty(), qPrintable(why));
        // The ports work while the server lives ...
        QVERIFY(churn());
        const int killAtMs = (round * LatestKillMs) / Rounds + round * 7 % 23;
        const auto pid = pid_t(server.pid());
        std::atomic<bool> killed{false};
        std::thread killer([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(killAtMs));
            ::kill(pid, SIGKILL);
            killed = true;
        });
        // ... and are refused once it is gone, which a dying process may
        // take a moment to show.
        bool refusedAfterKill = false;
        QElapsedTimer sinceKill;
        while (!refusedAfterKill && (!sinceKill.isValid() || sinceKill.elapsed() < GiveUpMs)) {
            const bool afterKill = killed;
            if (afterKill && !sinceKill.isValid())
                sinceKill.start();
            refusedAfterKill = !churn() && afterKill;
        }
        killer.join();
        server.kill();
        QVERIFY2(refusedAfterKill, "ports still opened after the server was killed");
    }
}

QTEST_GUILESS_MAIN(TestJackLoss)
#include "tst_jackloss.moc"
