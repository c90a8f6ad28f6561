#include "app/nsmclient.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <lo/lo.h>
#include <unistd.h>

namespace {
constexpr char AnnouncePath[] = "/nsm/server/announce";
constexpr char OpenPath[] = "/nsm/client/open";
constexpr char SavePath[] = "/nsm/client/save";
constexpr char ReplyPath[] = "/reply";
constexpr char ErrorPath[] = "/error";

// liblo aligns a string argument to 4 bytes only: it is read as bytes, not
// through a member of the 8-byte lo_arg union.
QString text(lo_arg *arg)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(arg));
}

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}
} // namespace

struct NsmCallbacks
{
    static int reply(const char *, const char *types, lo_arg **argv, int argc, lo_message,
                     void *self)
    {
        // Only the announcement's answer names the manager; other replies
        // acknowledge this side's messages and need nothing.
        if (argc >= 3 && qstrncmp(types, "sss", 3) == 0)
            static_cast<NsmClient *>(self)->gotReply(text(argv[0]), text(argv[2]));
        return 0;
    }
    static int error(const char *, const char *, lo_arg **argv, int, lo_message, void *self)
    {
        static_cast<NsmClient *>(self)->gotError(text(argv[0]), text(argv[2]));
        return 0;
    }
    static int open(const char *, const char *, lo_arg **argv, int, lo_message, void *self)
    {
        static_cast<NsmClient *>(self)->gotOpen(text(argv[0]), text(argv[1]), text(argv[2]));
        return 0;
    }
    static int save(const char *, const char *, lo_arg **, int, lo_message, void *self)
    {
        Q_EMIT static_cast<NsmClient *>(self)->saveReceived();
        return 0;
    }
};

NsmClient::NsmClient(const QString &url, QObject *parent) : QObject(parent)
{
    lo_address manager = lo_address_new_from_url(utf8(url).constData());
    if (!manager)
        return;
    // Answers come back to the socket the messages leave from, so it must
    // speak the manager's protocol.
    lo_server server = lo_server_new_with_proto(nullptr, lo_address_get_protocol(manager), nullptr);
    if (!server) {
        lo_address_free(manager);
        return;
    }
    manager_ = manager;
    server_ = server;
    lo_server_add_method(server, ReplyPath, nullptr, &NsmCallbacks::reply, this);
    lo_server_add_method(server, ErrorPath, "sis", &NsmCallbacks::error, this);
    lo_server_add_method(server, OpenPath, "sss", &NsmCallbacks::open, this);
    lo_server_add_method(server, SavePath, "", &NsmCallbacks::save, this);
    notifier_ = new QSocketNotifier(lo_server_get_socket_fd(server), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &NsmClient::receive);
}

NsmClient::~NsmClient()
{
    delete notifier_;
    if (server_)
        lo_server_free(static_cast<lo_server>(server_));
    if (manager_)
        lo_address_free(static_cast<lo_address>(manager_));
}

void NsmClient::receive()
{
    auto *server = static_cast<lo_server>(server_);
    while (lo_server_recv_noblock(server, 0) > 0) {
    }
}

void NsmClient::announce(const QString &name, const QString &capabilities,
                         const QString &executable)
{
    if (!isValid())
        return;
    lo_send_from(static_cast<lo_address>(manager_), static_cast<lo_server>(server_),
                 LO_TT_IMMEDIATE, AnnouncePath, "sssiii", utf8(name).constData(),
                 utf8(capabilities).constData(), utf8(executable).constData(), ApiMajor, ApiMinor,
                 int(getpid()));
}

bool NsmClient::waitForOpen(int ms)
{
    if (!isValid())
        return false;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &NsmClient::openReceived, &loop, &QEventLoop::quit);
    connect(this, &NsmClient::refused, &loop, &QEventLoop::quit);
    timeout.start(ms);
    if (!openRequested() && refusal_.isEmpty())
        loop.exec();
    return openRequested();
}

void NsmClient::gotReply(const QString &to, const QString &managerName)
{
    if (to == QLatin1String(AnnouncePath))
        Q_EMIT announced(managerName);
}

void NsmClient::gotError(const QString &to, const QString &message)
{
    if (to != QLatin1String(AnnouncePath))
        return;
    refusal_ = message;
    Q_EMIT refused(message);
}

void NsmClient::gotOpen(const QString &path, const QString &displayName, const QString &clientId)
{
    path_ = path;
    displayName_ = displayName;
    clientId_ = clientId;
    Q_EMIT openReceived();
}

void NsmClient::reply(const char *to, const QString &message)
{
    if (isValid())
        lo_send_from(static_cast<lo_address>(manager_), static_cast<lo_server>(server_),
                     LO_TT_IMMEDIATE, ReplyPath, "ss", to, utf8(message).constData());
}

void NsmClient::error(const char *to, int code, const QString &message)
{
    if (isValid())
        lo_send_from(static_cast<lo_address>(manager_), static_cast<lo_server>(server_),
                     LO_TT_IMMEDIATE, ErrorPath, "sis", to, code, utf8(message).constData());
}

void NsmClient::replyOpen(const QString &message)
{
    reply(OpenPath, message);
}

void NsmClient::replySave(const QString &message)
{
    reply(SavePath, message);
}

void NsmClient::replyOpenError(int code, const QString &message)
{
    error(OpenPath, code, message);
}

void NsmClient::replySaveError(int code, const QString &message)
{
    error(SavePath, code, message);
}
