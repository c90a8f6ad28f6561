#pragma once
// A row or column of LEDs showing a level, optionally falling back by itself
// on a timer; display only.

#include <QColor>
#include <QTimer>
#include <QWidget>

class TLEDGauge : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int Mode READ Mode WRITE setMode)
    Q_PROPERTY(int Shape READ Shape WRITE setShape)
    Q_PROPERTY(int Count READ Count WRITE setCount)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool Mirror READ Mirror WRITE setMirror)
    Q_PROPERTY(QColor OffColor READ OffColor WRITE setOffColor)
    Q_PROPERTY(int Maximum READ Maximum WRITE setMaximum)
    Q_PROPERTY(int YellowPercent READ YellowPercent WRITE setYellowPercent)
    Q_PROPERTY(int RedPercent READ RedPercent WRITE setRedPercent)
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(int MiliSc READ MiliSc WRITE setMiliSc)
    Q_PROPERTY(int Delay READ Delay WRITE setDelay)

public:
    static constexpr int DefaultWidth = 16;
    static constexpr int DefaultHeight = 382;
    // Style: three colour zones, or everything lit in Color.
    static constexpr int StyleZones = 1;
    static constexpr int ModeBar = 0;
    static constexpr int ModeDot = 1;
    static constexpr int ShapeRound = 0;
    static constexpr int ShapeRect = 1;
    static constexpr int ShapeRoundRect = 2;

    explicit TLEDGauge(QWidget *parent = nullptr);

    int Style() const { return m_style; }
    void setStyle(int s);
    int Mode() const { return m_mode; }
    void setMode(int m);
    int Shape() const { return m_shape; }
    void setShape(int s);
    int Count() const { return m_count; }
    // Also resets Value to 0, so nothing is lit until the next value.
    void setCount(int n);
    QColor Color() const { return m_color; }
    void setColor(const QColor &c);
    bool Mirror() const { return m_mirror; }
    void setMirror(bool on);
    QColor OffColor() const { return m_offColor; }
    void setOffColor(const QColor &c);
    int Maximum() const { return m_maximum; }
    void setMaximum(int m);
    int YellowPercent() const { return m_yellowPercent; }
    void setYellowPercent(int p);
    int RedPercent() const { return m_redPercent; }
    void setRedPercent(int p);
    int Value() const { return m_value; }
    // Values of 0 or below light the first LED (value 1).
    void setValue(int v);
    int MiliSc() const { return m_miliSc; }
    void setMiliSc(int ms);
    int Delay() const { return m_delay; }
    // The fall-back timer runs exactly while this is non-zero.
    void setDelay(int d);

    int litCount() const { return m_lit; }
    int yellowThreshold() const { return m_yellowAt; }
    int redThreshold() const { return m_redAt; }
    // Cell of LED i (1..Count) in widget coordinates, before mirroring.
    QRect ledRect(int i) const;
    // Colour LED i is painted with now.
    QColor ledColor(int i) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    void recalcThresholds();
    void recalcLit();
    // Cell size from the current size and count: laid out afresh on every
    // use, so a resize needs no bookkeeping.
    QSize cellSize() const;
    void fallBack();

    int m_style = 0;
    int m_mode = ModeBar;
    int m_shape = ShapeRect;
    int m_count = 127;
    QColor m_color;
    bool m_mirror = false;
    QColor m_offColor;
    int m_maximum = 127;
    int m_yellowPercent = 50;
    int m_redPercent = 90;
    int m_value = 1;
    int m_miliSc = 45;
    int m_delay = 0;
    int m_lit = 0;
    int m_yellowAt = 0;
    int m_redAt = 0;
    // A child, so that whoever holds the gauge can see its ticks.
    QTimer m_timer{this};
};
