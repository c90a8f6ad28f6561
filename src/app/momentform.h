#pragma once
// The wait window: a borderless note that a window is being built. It is
// created once at start; the main window shows it over itself while a
// screen comes up.

#include <QWidget>

class Tmomentform : public QWidget
{
    Q_OBJECT
public:
    static constexpr char Text[] = "One moment please, loading window.";

    explicit Tmomentform(QWidget *parent = nullptr);
};
