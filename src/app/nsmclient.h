#pragma once
// The program's end of the New Session Manager protocol (OSC over liblo):
// it announces itself to the manager named by NSM_URL, answers the manager's
// open and save requests, and reports what it did. Messages are read on the
// user-interface thread whenever the event loop runs, so the signals arrive
// there.

#include <QObject>
#include <QString>

class QSocketNotifier;

class NsmClient : public QObject
{
    Q_OBJECT
public:
    static constexpr char UrlVariable[] = "NSM_URL";
    static constexpr int ApiMajor = 1;
    static constexpr int ApiMinor = 2;
    // The protocol's error codes for /error replies.
    static constexpr int ErrGeneral = -1;
    static constexpr int ErrBadProject = -9;
    static constexpr int ErrCreateFailed = -10;

    explicit NsmClient(const QString &url, QObject *parent = nullptr);
    ~NsmClient() override;
    NsmClient(const NsmClient &) = delete;
    NsmClient &operator=(const NsmClient &) = delete;

    // The address was understood and a socket is open for the answers.
    bool isValid() const { return server_ != nullptr && manager_ != nullptr; }

    void announce(const QString &name, const QString &capabilities, const QString &executable);
    // Keeps the event loop running until the manager has asked to open a
    // session or refused the announcement, or ms have passed.
    bool waitForOpen(int ms);
    bool openRequested() const { return !path_.isEmpty(); }
    QString path() const { return path_; }
    QString displayName() const { return displayName_; }
    QString clientId() const { return clientId_; }
    // Why the manager refused the announcement, when it did.
    QString refusal() const { return refusal_; }

    void replyOpen(const QString &message);
    void replySave(const QString &message);
    void replyOpenError(int code, const QString &message);
    void replySaveError(int code, const QString &message);

Q_SIGNALS:
    void announced(const QString &managerName);
    void openReceived();
    void saveReceived();
    void refused(const QString &message);

private:
    // liblo's callbacks reach the members below through this.
    friend struct NsmCallbacks;
    void gotReply(const QString &to, const QString &managerName);
    void gotError(const QString &to, const QString &message);
    void gotOpen(const QString &path, const QString &displayName, const QString &clientId);
    void receive();
    void reply(const char *to, const QString &message);
    void error(const char *to, int code, const QString &message);

    // liblo's handles (lo_server, lo_address), opaque pointers.
    void *server_ = nullptr;
    void *manager_ = nullptr;
    QSocketNotifier *notifier_ = nullptr;
    QString path_;
    QString displayName_;
    QString clientId_;
    QString refusal_;
};
