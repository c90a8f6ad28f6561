#pragma once
// Thin horizontal strip with a marker showing a pan position; display only.

#include "controls/panelstate.h"

#include <QColor>
#include <QWidget>

class TLPanH : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TPanelState PanelState READ PanelState WRITE setPanelState)
    Q_PROPERTY(int Panelwidth READ Panelwidth WRITE setPanelwidth)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(int Value READ Value WRITE setValue)

public:
    static constexpr int DefaultWidth = 70;
    static constexpr int DefaultHeight = 15;
    static constexpr int MinWidth = 26;

    explicit TLPanH(QWidget *parent = nullptr);

    TPanelState PanelState() const { return m_panelState; }
    void setPanelState(TPanelState s);
    int Panelwidth() const { return m_panelWidth; }
    void setPanelwidth(int w);
    QColor Color() const { return m_color; }
    void setColor(const QColor &c);
    int MaxValue() const { return m_max; }
    void setMaxValue(int v);
    int MinValue() const { return m_min; }
    void setMinValue(int v);
    int Value() const { return m_value; }
    // Clamped to the bounds; no event, the strip only shows it.
    void setValue(int v);

    // Column of the marker line for the current value and width.
    int markerColumn() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    double scale() const;

    TPanelState m_panelState = TPanelState::Lowered;
    int m_panelWidth = 1;
    QColor m_color;
    int m_max = 127;
    int m_min = 0;
    int m_value = 64;
};
