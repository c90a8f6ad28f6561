#pragma once
// Random edits over every control of a screen, the way a user makes them:
// keys, wheel notches, rolling and dragging with the mouse, and clicks. It
// finds the controls by their object names, so one helper serves every
// screen; the test then compares what the unit holds with the image.

#include <QRandomGenerator>
#include <QStringList>
#include <QWidget>

class RandomWalk
{
public:
    RandomWalk(QWidget &screen, quint32 seed);

    // Controls to leave alone (object names).
    void skip(const QStringList &names) { skipped_ += names; }
    // Object names of the controls the walk can act on now.
    QStringList targets() const;
    // Performs steps edits; each line of the result names one.
    QStringList run(int steps);

private:
    QString step(QWidget *w);
    QString pressKey(QWidget *w, const QList<Qt::Key> &keys);
    QString wheel(QWidget *w);
    QString drag(QWidget *w, QPoint from, QPoint to);
    QList<QWidget *> candidates() const;

    QWidget &screen_;
    QRandomGenerator rng_;
    QStringList skipped_;
};
