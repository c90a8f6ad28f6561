#pragma once
// Small square toggle lamp used for mute and solo: any mouse button flips it.

#include "controls/panelstate.h"

#include <QColor>
#include <QWidget>

class TMButt : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Down READ Down WRITE setDown)
    Q_PROPERTY(QColor DownColor READ DownColor WRITE setDownColor)
    Q_PROPERTY(QColor UpColor READ UpColor WRITE setUpColor)
    Q_PROPERTY(TPanelState PanelState READ PanelState WRITE setPanelState)
    Q_PROPERTY(int Panelwidth READ Panelwidth WRITE setPanelwidth)
    Q_PROPERTY(bool Tabstop READ Tabstop WRITE setTabstop)

public:
    static constexpr int DefaultSize = 16;

    explicit TMButt(QWidget *parent = nullptr);

    bool Down() const { return m_down; }
    // Repaints only; OnClick is for the user's presses.
    void setDown(bool on);
    QColor DownColor() const { return m_downColor; }
    void setDownColor(const QColor &c);
    QColor UpColor() const { return m_upColor; }
    void setUpColor(const QColor &c);
    TPanelState PanelState() const { return m_panelState; }
    void setPanelState(TPanelState s);
    int Panelwidth() const { return m_panelWidth; }
    void setPanelwidth(int w);
    bool Tabstop() const;
    void setTabstop(bool on);

    QSize sizeHint() const override;

Q_SIGNALS:
    void OnClick(TMButt *);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    bool m_down = false;
    QColor m_downColor;
    QColor m_upColor;
    TPanelState m_panelState = TPanelState::Raised;
    int m_panelWidth = 1;
};
