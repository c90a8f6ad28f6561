#include "jackserver.h"

#include <QDir>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>

namespace {
constexpr int WaitSeconds = 30;
constexpr int WaitMs = (WaitSeconds + 5) * 1000;

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}
} // namespace

QString JackServer::missingTools()
{
    for (const char *t : {"jackd", "jack_wait", "jack_lsp"})
        if (tool(t).isEmpty())
            return QStringLiteral("%1 is not installed (package jackd2)").arg(QLatin1String(t));
    return {};
}

JackServer::JackServer(const QString &name) : name_(name)
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
    // A test that crashes must not leave its server running.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

JackServer::~JackServer()
{
    stop();
}

QString JackServer::start()
{
    qputenv("JACK_DEFAULT_SERVER", name_.toUtf8());
    qputenv("JACK_NO_AUDIO_RESERVATION", "1");
    process_.start(tool("jackd"), {"-n", name_, "--no-realtime", "--sync", "--port-max", "128",
                                   "-d", "dummy", "-r", "48000", "-p", "256"});
    if (!process_.waitForStarted())
        return process_.errorString();
    QProcess wait;
    wait.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // libjack names a client's socket after the client alone, whatever the
    // server: a name of this server's own keeps two tests apart.
    wait.start(tool("jack_wait"),
               {"-w", "-t", QString::number(WaitSeconds), "-n", name_ + QStringLiteral(" wait")});
    if (!wait.waitForFinished(WaitMs) || wait.exitCode() != 0)
        return QStringLiteral("the JACK server '%1' did not come up").arg(name_);
    return {};
}

void JackServer::stop()
{
    if (!running())
        return;
    process_.terminate();
    if (!process_.waitForFinished(WaitMs)) {
        process_.kill();
        process_.waitForFinished(WaitMs);
        reclaim();
    }
}

void JackServer::kill()
{
    if (running()) {
        ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(WaitMs);
    }
    reclaim();
}

void JackServer::reclaim()
{
    JackServer again(name_);
    if (again.start().isEmpty())
        again.stop();
    // The killed server's clients leave their semaphores behind.
    const QDir shm(QStringLiteral("/dev/shm"));
    for (const QString &f :
         shm.entryList({QStringLiteral("jack_sem.*_%1_*").arg(name_)}, QDir::Files | QDir::System))
        QFile::remove(shm.filePath(f));
}

QStringList JackServer::ports() const
{
    // jack_lsp's client has a fixed name, which another test's jack_lsp may
    // take at the same moment: one that could not connect tries again.
    constexpr int Attempts = 5;
    for (int attempt = 1;; ++attempt) {
        QProcess lsp;
        lsp.start(tool("jack_lsp"), {"-s", name_});
        const bool listed = lsp.waitForFinished(WaitMs) &&
                            lsp.exitStatus() == QProcess::NormalExit && lsp.exitCode() == 0;
        if (listed || attempt == Attempts)
            return QString::fromUtf8(lsp.readAllStandardOutput())
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
}
