#include "controls/gallery.h"

#include "controls/ledgauge.h"
#include "controls/lpanh.h"
#include "controls/mbutt.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

// A sample with its caption underneath, so every state is named in shots.
QWidget *captioned(QWidget *control, const QString &caption)
{
    auto *box = new QWidget;
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);
    control->setFixedSize(control->size());
    v->addWidget(control, 0, Qt::AlignHCenter | Qt::AlignBottom);
    auto *l = new QLabel(caption);
    l->setAlignment(Qt::AlignHCenter);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    l->setFont(f);
    v->addWidget(l);
    return box;
}

QGroupBox *section(const QString &title, QGridLayout *&grid)
{
    auto *g = new QGroupBox(title);
    grid = new QGridLayout(g);
    grid->setHorizontalSpacing(10);
    return g;
}

void sendMouse(QWidget *w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers mods = {})
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, mods);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TGallery::TGallery(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Tessiva controls"));
    auto *top = new QVBoxLayout(this);
    QGridLayout *grid = nullptr;
    top->addWidget(section(QStringLiteral("LED spin"), grid));
    addSpins(grid);
    auto *row = new QHBoxLayout;
    top->addLayout(row);
    row->addWidget(section(QStringLiteral("Sliders"), grid));
    addSliders(grid);
    auto *right = new QVBoxLayout;
    row->addLayout(right);
    right->addWidget(section(QStringLiteral("Pan strip and mute buttons"), grid));
    addDisplays(grid);
    right->addWidget(section(QStringLiteral("LED gauges"), grid));
    addGauges(grid);
}

void TGallery::addSpins(QGridLayout *grid)
{
    struct Sample
    {
        QString caption;
        int min, max, value, width;
    };
    const Sample samples[] = {
        {QStringLiteral("idle 64"), 0, 127, 64, 44},
        {QStringLiteral("focused 7"), 0, 127, 7, 44},
        {QStringLiteral("rolling"), 0, 127, 100, 44},
        {QStringLiteral("max 127"), 0, 127, 127, 44},
        {QStringLiteral("min 0"), 0, 127, 0, 44},
        {QStringLiteral("-5"), -63, 63, -5, 44},
        {QStringLiteral("-63"), -63, 63, -63, 44},
        {QStringLiteral("-100"), -100, 100, -100, 44},
        {QStringLiteral("wide 120"), 0, 127, 120, 60},
    };
    int col = 0;
    for (const Sample &s : samples) {
        auto *spin = new TSpincw0R;
        spin->setMinValue(s.min);
        spin->setMaxValue(s.max);
        spin->setValue(s.value);
        spin->resize(s.width, TSpincw0R::DefaultHeight);
        if (col == 1)
            m_focusSamples << spin;
        if (col == 2)
            m_rollingSpin = spin;
        grid->addWidget(captioned(spin, s.caption), 0, col++);
    }
}

void TGallery::addSliders(QGridLayout *grid)
{
    struct Sample
    {
        QString caption;
        int min, max, pos;
    };
    const Sample numbers[] = {
        {QStringLiteral("top"), 0, 127, 127},     {QStringLiteral("bottom"), 0, 127, 0},
        {QStringLiteral("focused"), 0, 127, 90},  {QStringLiteral("dragging"), 0, 127, 64},
        {QStringLiteral("pan 0"), -64, 63, 0},    {QStringLiteral("pan -64"), -64, 63, -64},
        {QStringLiteral("-12..12"), -12, 12, -7},
    };
    int col = 0;
    for (const Sample &s : numbers) {
        auto *sl = new TSlidNaVf;
        sl->setMinValue(s.min);
        sl->setMaxValue(s.max);
        sl->setPosition(s.pos);
        if (col == 2)
            m_focusSamples << sl;
        if (col == 3)
            m_draggedSlider = sl;
        grid->addWidget(captioned(sl, s.caption), 0, col++);
    }
    struct Text
    {
        QString caption, text;
        int pos;
        bool ticks;
    };
    const Text texts[] = {
        {QStringLiteral("pan"), QStringLiteral("L64"), 0, true},
        {QStringLiteral("centre"), QStringLiteral("Cent"), 64, true},
        {QStringLiteral("focused"), QStringLiteral("R63"), 127, true},
        {QStringLiteral("dragging"), QStringLiteral("8000"), 90, true},
        {QStringLiteral("no ticks"), QStringLiteral(" BYPASS "), 17, false},
        {QStringLiteral("cut to 12"), QStringLiteral("0123456789ABCDEF"), 30, true},
    };
    col = 0;
    for (const Text &t : texts) {
        auto *sl = new TSliddt;
        sl->setPosition(t.pos);
        sl->setText(t.text);
        sl->setShowTicks(t.ticks);
        if (col == 2)
            m_focusSamples << sl;
        if (col == 3)
            m_draggedText = sl;
        grid->addWidget(captioned(sl, t.caption), 1, col++);
    }
}

void TGallery::addDisplays(QGridLayout *grid)
{
    int r = 0;
    for (int v : {0, 64, 127}) {
        auto *pan = new TLPanH;
        pan->setValue(v);
        grid->addWidget(captioned(pan, QStringLiteral("pan %1").arg(v)), r, 0);
        auto *wide = new TLPanH;
        wide->resize(140, 15);
        wide->setValue(v);
        grid->addWidget(captioned(wide, QStringLiteral("wide %1").arg(v)), r++, 1, 1, 3);
    }
    auto *up = new TMButt;
    grid->addWidget(captioned(up, QStringLiteral("up")), r, 0);
    auto *down = new TMButt;
    down->setDown(true);
    grid->addWidget(captioned(down, QStringLiteral("down")), r, 1);
    auto *lamp = new TMButt;
    lamp->setDown(true);
    lamp->setDownColor(Qt::red);
    lamp->setEnabled(false);
    grid->addWidget(captioned(lamp, QStringLiteral("indicator")), r, 2);
    auto *big = new TMButt;
    big->resize(24, 24);
    grid->addWidget(captioned(big, QStringLiteral("24 px")), r, 3);
}

void TGallery::addGauges(QGridLayout *grid)
{
    struct Sample
    {
        QString caption;
        int style, mode, shape, count, value;
        bool mirror;
    };
    const Sample samples[] = {
        {QStringLiteral("zones bar"), 1, 0, 1, 32, 127, false},
        {QStringLiteral("zones half"), 1, 0, 2, 32, 60, false},
        {QStringLiteral("dot"), 0, 1, 1, 32, 80, false},
        {QStringLiteral("round"), 0, 0, 0, 16, 90, false},
        {QStringLiteral("mirror"), 1, 0, 1, 32, 90, true},
        {QStringLiteral("zero"), 1, 0, 1, 32, 0, false},
    };
    int col = 0;
    for (const Sample &s : samples) {
        auto *g = new TLEDGauge;
        g->resize(16, 160);
        g->setStyle(s.style);
        g->setMode(s.mode);
        g->setShape(s.shape);
        g->setCount(s.count);
        g->setMirror(s.mirror);
        g->setValue(s.value);
        grid->addWidget(captioned(g, s.caption), 0, col++);
    }
    // The hub's velocity meter, laid on its side.
    auto *hub = new TLEDGauge;
    hub->resize(200, 12);
    hub->setCount(64);
    hub->setColor(Qt::yellow);
    hub->setOffColor(QColor(0, 0, 128));
    hub->setValue(100);
    grid->addWidget(captioned(hub, QStringLiteral("horizontal, hub colours")), 1, 0, 1, col);
}

void TGallery::pose()
{
    if (m_rollingSpin)
        sendMouse(m_rollingSpin, QEvent::MouseButtonPress, QPoint(35, 10));
    for (QWidget *s : {m_draggedSlider, m_draggedText}) {
        if (!s)
            continue;
        auto *slider = static_cast<TSliderBase *>(s);
        const QPoint at(s->width() / 2, slider->thumbRow());
        sendMouse(s, QEvent::MouseButtonPress, at);
        sendMouse(s, QEvent::MouseMove, at - QPoint(0, 25));
    }
    // Only one control can hold the focus: show the last sample focused.
    if (!m_focusSamples.isEmpty())
        m_focusSamples.last()->setFocus();
}
