#pragma once
// A session manager cut down to what a client sees: it welcomes an
// announcement and opens one session folder, or refuses, or stays silent;
// it asks for saves and records the answers.

#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

class MiniSessionManager : public QObject
{
    Q_OBJECT
public:
    enum class Answer
    {
        Open,
        Refuse,
        Silent
    };
    struct Reply
    {
        QString to;
        QString message;
        bool error = false;
    };

    MiniSessionManager(const QString &sessionPath, Answer answer = Answer::Open);
    ~MiniSessionManager() override;

    QString url() const;
    // Asks the last client that announced itself to save.
    void save();
    const QList<Reply> &replies() const { return replies_; }
    bool replied(const char *to, bool error = false) const;
    QString announcedName() const { return announcedName_; }

    void announced(const QString &name, void *source);
    void replyReceived(Reply reply);

private:
    void *server_ = nullptr;
    void *client_ = nullptr;
    QSocketNotifier *notifier_ = nullptr;
    QString sessionPath_;
    Answer answer_;
    QList<Reply> replies_;
    QString announcedName_;
};
