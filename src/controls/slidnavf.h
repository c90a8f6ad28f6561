#pragma once
// Vertical slider whose header shows its numeric position.

#include "controls/sliderbase.h"

class TSlidNaVf : public TSliderBase
{
    Q_OBJECT

public:
    static constexpr int DefaultWidth = 26;
    static constexpr int DefaultHeight = 148;

    explicit TSlidNaVf(QWidget *parent = nullptr);

    // Column where the header number starts, by how many characters it has.
    static int textColumn(int position);

    QSize sizeHint() const override;

protected:
    int tickRowOffset() const override { return 21; }
    void paintTicks(QPainter &p, int row) const override;
    QRect trackRect() const override;
    QRect thumbRect(int row) const override;
    void paintHeaderText(QPainter &p) const override;
    bool announcesMaxChange() const override { return false; }
    bool dragEndAnnounces(bool stepped) const override;
};
