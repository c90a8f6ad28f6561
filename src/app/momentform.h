#pragma once
// The wait window: a borderless note that a window is being built. It is
// created once at start and shown while a slow screen comes up.

#include <QWidget>

class QLabel;

class Tmomentform : public QWidget
{
    Q_OBJECT
public:
    static constexpr char Text[] = "One moment please, loading window.";

    explicit Tmomentform(QWidget *parent = nullptr);

    // Shows the note centred over the window (on its screen when null) and
    // paints it at once: the caller is about to keep the event loop busy.
    void showCentred(const QWidget *over = nullptr);
};
