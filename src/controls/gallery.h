#pragma once
// One window with every custom control in its typical states, for looking at
// them side by side (and for screenshots of a headless build).

#include <QWidget>

class QGridLayout;

class TGallery : public QWidget
{
public:
    explicit TGallery(QWidget *parent = nullptr);

    // Puts the rolling, dragging and focused samples into their states; the
    // window must be visible (possibly off screen) for focus to stick.
    void pose();

private:
    void addSpins(QGridLayout *grid);
    void addSliders(QGridLayout *grid);
    void addDisplays(QGridLayout *grid);
    void addGauges(QGridLayout *grid);

    QWidget *m_rollingSpin = nullptr;
    QWidget *m_draggedSlider = nullptr;
    QWidget *m_draggedText = nullptr;
    QList<QWidget *> m_focusSamples;
};
