#pragma once
// Numeric value box with an LED: keys step the value, pressing the mouse in
// the box and rolling it up or down changes it continuously.

#include "controls/wheelsteps.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

class TSpincw0R : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QWidget *FocusControl READ FocusControl WRITE setFocusControl)
    Q_PROPERTY(int Panelwidth READ Panelwidth WRITE setPanelwidth)
    Q_PROPERTY(QColor BKColor READ BKColor WRITE setBKColor)
    Q_PROPERTY(QColor CMinColor READ CMinColor WRITE setCMinColor)
    Q_PROPERTY(QColor LedOnCol READ LedOnCol WRITE setLedOnCol)
    Q_PROPERTY(QColor LedOffCol READ LedOffCol WRITE setLedOffCol)
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)

public:
    static constexpr int DefaultWidth = 44;
    static constexpr int DefaultHeight = 22;
    // Columns left of this only take the focus; the rest of the box rolls.
    static constexpr int RollZoneLeft = 27;

    explicit TSpincw0R(QWidget *parent = nullptr);

    QWidget *FocusControl() const { return m_focusControl; }
    void setFocusControl(QWidget *w);
    int Panelwidth() const { return m_panelWidth; }
    void setPanelwidth(int w);
    // An unset background follows the palette's base colour.
    QColor BKColor() const;
    void setBKColor(const QColor &c);
    QColor CMinColor() const { return m_cMinColor; }
    void setCMinColor(const QColor &c);
    QColor LedOnCol() const { return m_ledOnCol; }
    void setLedOnCol(const QColor &c);
    QColor LedOffCol() const { return m_ledOffCol; }
    void setLedOffCol(const QColor &c);

    int Value() const { return m_value; }
    // Clamps, then always announces OnChange, also for program code.
    void setValue(int v);
    int MaxValue() const { return m_max; }
    void setMaxValue(int v);
    int MinValue() const { return m_min; }
    void setMinValue(int v);

    bool isRolling() const { return m_rolling; }
    // Size of one roll step for the current press: 1, 5 or 10.
    int rollStep() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void OnChange(TSpincw0R *);
    void OnChanging(TSpincw0R *);
    void OnEnter(TSpincw0R *);
    void OnExit(TSpincw0R *);

protected:
    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    bool inRollZone(QPoint p) const;
    void rollBy(int delta);
    void endRoll();
    int textColumn(const QString &text) const;

    QPointer<QWidget> m_focusControl;
    int m_panelWidth = 1;
    QColor m_bkColor; // invalid: palette base
    QColor m_cMinColor;
    QColor m_ledOnCol;
    QColor m_ledOffCol;
    int m_value = 0;
    int m_max = 127;
    int m_min = 0;
    int m_lastRow = 0;
    bool m_rolling = false;
    bool m_rollChanged = false;
    bool m_shiftStep = false;
    bool m_ctrlStep = false;
    bool m_warpPointer = false;
    bool m_warpPending = false;
    QPoint m_anchor;
    QPoint m_warpTarget;
    WheelSteps m_wheel;
};
