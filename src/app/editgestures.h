#pragma once
// Tells the edit history when the user's hand is on a control: from a mouse
// button or key going down to it coming up again. Everything a gesture sends
// is one undo step, so a whole slider drag or spin roll is taken back at
// once, however many values it passed. The end is noted once the release
// has been handled, because controls send their final value on release.

#include <QObject>
#include <QSet>

class EditHistory;

class EditGestures : public QObject
{
    Q_OBJECT
public:
    explicit EditGestures(EditHistory &history, QObject *parent = nullptr);
    ~EditGestures() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void begin();
    void end();

    EditHistory &history_;
    bool inGesture_ = false;
    bool mouseHeld_ = false;
    QSet<int> keysHeld_;
};
