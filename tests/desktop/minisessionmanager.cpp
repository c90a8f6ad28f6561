#include "minisessionmanager.h"

#include <QSocketNotifier>
#include <lo/lo.h>

namespace {
constexpr char AnnouncePath[] = "/nsm/server/announce";

// liblo aligns a string argument to 4 bytes only: it is read as bytes, not
// through a member of the 8-byte lo_arg union.
QString text(lo_arg *arg)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(arg));
}

int onAnnounce(const char *, const char *, lo_arg **argv, int, lo_message msg, void *self)
{
    static_cast<MiniSessionManager *>(self)->announced(text(argv[0]), lo_message_get_source(msg));
    return 0;
}

int onReply(const char *, const char *, lo_arg **argv, int, lo_message, void *self)
{
    static_cast<MiniSessionManager *>(self)->replyReceived({text(argv[0]), text(argv[1])});
    return 0;
}

int onError(const char *, const char *, lo_arg **argv, int, lo_message, void *self)
{
    static_cast<MiniSessionManager *>(self)->replyReceived({text(argv[0]), text(argv[2]), true});
    return 0;
}
} // namespace

MiniSessionManager::MiniSessionManager(const QString &sessionPath, Answer answer)
    : sessionPath_(sessionPath), answer_(answer)
{
    lo_server server = lo_server_new_with_proto(nullptr, LO_UDP, nullptr);
    server_ = server;
    lo_server_add_method(server, AnnouncePath, "sssiii", onAnnounce, this);
    lo_server_add_method(server, "/reply", "ss", onReply, this);
    lo_server_add_method(server, "/error", "sis", onError, this);
    notifier_ = new QSocketNotifier(lo_server_get_socket_fd(server), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [server] {
        while (lo_server_recv_noblock(server, 0) > 0) {
        }
    });
}

MiniSessionManager::~MiniSessionManager()
{
    delete notifier_;
    if (client_)
        lo_address_free(static_cast<lo_address>(client_));
    lo_server_free(static_cast<lo_server>(server_));
}

QString MiniSessionManager::url() const
{
    char *url = lo_server_get_url(static_cast<lo_server>(server_));
    const QString result = QString::fromUtf8(url);
    free(url);
    return result;
}

void MiniSessionManager::announced(const QString &name, void *source)
{
    announcedName_ = name;
    auto *from = static_cast<lo_address>(source);
    if (client_)
        lo_address_free(static_cast<lo_address>(client_));
    lo_address client = lo_address_new(lo_address_get_hostname(from), lo_address_get_port(from));
    client_ = client;
    auto *server = static_cast<lo_server>(server_);
    switch (answer_) {
    case Answer::Open:
        lo_send_from(client, server, LO_TT_IMMEDIATE, "/reply", "ssss", AnnouncePath, "Welcome",
                     "mini", ":server-control:");
        lo_send_from(client, server, LO_TT_IMMEDIATE, "/nsm/client/open", "sss",
                     sessionPath_.toUtf8().constData(), "Tessiva", "nTESTA");
        break;
    case Answer::Refuse:
        lo_send_from(client, server, LO_TT_IMMEDIATE, "/error", "sis", AnnouncePath, -2,
                     "Incompatible API version");
        break;
    case Answer::Silent:
        break;
    }
}

void MiniSessionManager::replyReceived(Reply reply)
{
    replies_ << reply;
}

bool MiniSessionManager::replied(const char *to, bool error) const
{
    for (const Reply &r : replies_)
        if (r.to == QLatin1String(to) && r.error == error)
            return true;
    return false;
}

void MiniSessionManager::save()
{
    if (client_)
        lo_send_from(static_cast<lo_address>(client_), static_cast<lo_server>(server_),
                     LO_TT_IMMEDIATE, "/nsm/client/save", "");
}
