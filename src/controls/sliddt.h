#pragma once
// Vertical slider whose header shows a text the screen chooses (a frequency,
// a pan position), so the number itself need not be meaningful to the user.

#include "controls/sliderbase.h"

class TSliddt : public TSliderBase
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool MuisDown READ MuisDown WRITE setMuisDown)

public:
    static constexpr int DefaultWidth = 40;
    static constexpr int DefaultHeight = 148;
    static constexpr int MaxTextLength = 12;

    explicit TSliddt(QWidget *parent = nullptr);

    QString Text() const { return m_text; }
    // Longer texts are cut to MaxTextLength characters.
    void setText(const QString &t);
    // True while a mouse button holds the thumb; writing it has no effect.
    bool MuisDown() const { return m_muisDown; }
    void setMuisDown(bool) {}

    QSize sizeHint() const override;

Q_SIGNALS:
    void OnMouseUp(TSliddt *, Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);

protected:
    int tickRowOffset() const override { return 20; }
    void paintTicks(QPainter &p, int row) const override;
    QRect trackRect() const override;
    QRect thumbRect(int row) const override;
    void paintHeaderText(QPainter &p) const override;
    bool announcesMaxChange() const override { return true; }
    bool dragEndAnnounces(bool stepped) const override;
    void dragStarted() override { m_muisDown = true; }
    void mouseReleased(QMouseEvent *e) override;

private:
    QString m_text;
    bool m_muisDown = false;
};
