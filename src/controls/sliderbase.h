#pragma once
// Common body of the two vertical value sliders: maximum at the top, a header
// box above the track, keys and mouse move an internal thumb index that runs
// from MinValue (top) to MaxValue (bottom).

#include "controls/wheelsteps.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

class TSliderBase : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(int Panelwidth READ Panelwidth WRITE setPanelwidth)
    Q_PROPERTY(bool ShowTicks READ ShowTicks WRITE setShowTicks)
    Q_PROPERTY(int Ticks READ Ticks WRITE setTicks)
    Q_PROPERTY(QColor BKColor READ BKColor WRITE setBKColor)
    Q_PROPERTY(QColor ThumbColor READ ThumbColor WRITE setThumbColor)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)

public:
    static constexpr int MinWidth = 26;
    static constexpr int MinHeight = 36;
    static constexpr int TrackTop = 20;
    static constexpr int HeaderBottom = 15;

    QWidget *FocusControl() const { return m_focusControl; }
    void setFocusControl(QWidget *w) { m_focusControl = w; }
    bool TabStop() const;
    void setTabStop(bool on);
    int Panelwidth() const { return m_panelWidth; }
    void setPanelwidth(int w);
    bool ShowTicks() const { return m_showTicks; }
    void setShowTicks(bool on);
    int Ticks() const { return m_ticks; }
    void setTicks(int n);
    // Unset colours follow the palette (base and button face).
    QColor BKColor() const;
    void setBKColor(const QColor &c);
    QColor ThumbColor() const;
    void setThumbColor(const QColor &c);

    int Position() const { return m_position; }
    // Inside the bounds: moves the thumb and always announces OnChange; a
    // value outside them is ignored.
    void setPosition(int v);
    int MaxValue() const { return m_max; }
    void setMaxValue(int v);
    int MinValue() const { return m_min; }
    void setMinValue(int v);

    // Thumb index, MinValue at the top; exposed for the screens' tests.
    int thumbIndex() const { return m_index; }
    // Centre row of the thumb for the current index and height.
    int thumbRow() const;
    bool isDragging() const { return m_dragging; }

    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void OnChange(TSliderBase *);
    void OnChanging(TSliderBase *);
    void OnEnter(TSliderBase *);
    void OnExit(TSliderBase *);
    void OnKeyDown(TSliderBase *, int key, Qt::KeyboardModifiers mods);
    void OnKeyPress(TSliderBase *, QChar ch);
    void OnKeyUp(TSliderBase *, int key, Qt::KeyboardModifiers mods);
    void OnMouseMove(TSliderBase *, Qt::MouseButtons buttons, QPoint pos);

protected:
    explicit TSliderBase(QSize defaultSize, QWidget *parent);

    // Painting differences between the two sliders.
    virtual int tickRowOffset() const = 0;
    virtual void paintTicks(QPainter &p, int row) const = 0;
    virtual QRect trackRect() const = 0;        // inclusive frame corners
    virtual QRect thumbRect(int row) const = 0; // inclusive black outline
    virtual void paintHeaderText(QPainter &p) const = 0;
    virtual bool announcesMaxChange() const = 0;
    // Whether a mouse release announces OnChange (only a drag can change it).
    virtual bool dragEndAnnounces(bool stepped) const = 0;
    virtual void dragStarted() {}
    virtual void mouseReleased(QMouseEvent *) {}

    QColor headerTextColor() const;
    int heightForLayout() const;

    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

    int m_lastDonePosition = 0;

private:
    bool inThumbZone(QPoint p) const;
    void applyIndex(int index);
    int indexForRow(int row) const;
    int span() const;

    QPointer<QWidget> m_focusControl;
    QSize m_defaultSize;
    int m_panelWidth = 1;
    bool m_showTicks = true;
    int m_ticks = 5;
    QColor m_bkColor;
    QColor m_thumbColor;
    int m_position = 0;
    int m_index = 0;
    int m_max = 127;
    int m_min = 0;
    bool m_dragging = false;
    bool m_dragStepped = false;
    int m_grabOffset = 0;
    int m_grabRow = 0;
    int m_grabIndex = 0;
    bool m_focused = false;
    WheelSteps m_wheel;
};
