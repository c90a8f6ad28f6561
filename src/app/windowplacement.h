#pragma once
// Where a window appears: every window of the program goes through here, so
// none opens partly off the screen. Installed once on a window, it places the
// window whenever it is shown: centred on its anchor (the window it belongs
// to) when that is on screen, else centred on the screen, and in every case
// moved, and if need be shrunk, to lie inside the screen's available area.

#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

class WindowPlacement : public QObject
{
    Q_OBJECT
public:
    enum class Mode
    {
        Centre,     // centred at every showing (dialogs)
        CentreOnce, // centred the first time, then left where the user put it
        KeepInside  // left where the program put it, only kept on the screen
    };

    // Places the window from now on. Without an anchor, the window's parent
    // window is the anchor. Owned by the window.
    static WindowPlacement *install(QWidget &window, Mode mode, QWidget *anchor = nullptr);
    // The placement installed on a window, if any.
    static WindowPlacement *of(const QWidget &window);

    void setAnchor(QWidget *anchor) { anchor_ = anchor; }
    // Places the window now, as a showing would.
    void place();

    // A window frame of this size centred on centre, then moved to lie inside
    // available; a frame larger than available is cut to its size first.
    static QRect fitted(const QRect &frame, const QRect &available);
    static QRect centred(const QSize &frame, const QPoint &centre, const QRect &available);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WindowPlacement(QWidget &window, Mode mode, QWidget *anchor);
    QWidget *anchor() const;

    QWidget &window_;
    Mode mode_;
    QPointer<QWidget> anchor_;
    bool placedOnce_ = false;
};
