#pragma once
// A private JACK server with the dummy driver for the tests that need a real
// MIDI system, under a name of its own so it never meets another one.

#include <QProcess>
#include <QString>

class JackServer
{
public:
    // Empty when jackd or jack_wait is not installed.
    static QString missingTools();

    explicit JackServer(const QString &name);
    ~JackServer();
    JackServer(const JackServer &) = delete;
    JackServer &operator=(const JackServer &) = delete;

    // Starts the server and waits until it takes clients; the reason when
    // it did not come up. Sets JACK_DEFAULT_SERVER for the process.
    QString start();
    // Stops it as an operator would.
    void stop();
    // Kills it outright, as a crash would (or collects it when pid() was
    // killed from elsewhere). JACK keeps a dead server's entry in its
    // registry of eight: starting one of the same name and stopping it
    // properly frees the entry again, so the test leaves none behind.
    void kill();
    bool running() const { return process_.state() != QProcess::NotRunning; }
    QString name() const { return name_; }
    qint64 pid() const { return process_.processId(); }

    // What jack_lsp lists: every port as "client:port".
    QStringList ports() const;

private:
    void reclaim();

    QString name_;
    QProcess process_;
};
