// The hub's window: its controls and its two sizes.
#include "app/noteoutform.h"

#include "controls/ledgauge.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int LabelFontPixels = 11;
constexpr int MinCaptionPixels = 8;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

QLabel *makeLamp(QWidget *parent, const char *name, const QRect &geometry, const QColor &idle)
{
    QLabel *lamp = makeLabel(parent, name, QString(), geometry);
    lamp->setAutoFillBackground(true);
    lamp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette p = lamp->palette();
    p.setColor(QPalette::Window, idle);
    lamp->setPalette(p);
    return lamp;
}

template <typename Slider>
Slider *makeSlider(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *slider = new Slider(parent);
    slider->setObjectName(QLatin1String(name));
    slider->setGeometry(geometry);
    return slider;
}

QGroupBox *makeGroup(QWidget *parent, const char *name, const QString &title, const QRect &geometry)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(geometry);
    return group;
}

// Caption rows whose words stand over the sliders below them: with a wider
// desktop font they shrink rather than lose their last word.
void fitCaption(QLabel *label)
{
    QFont f = label->font();
    while (QFontMetrics(f).horizontalAdvance(label->text()) > label->width() &&
           f.pixelSize() > MinCaptionPixels) {
        f.setPixelSize(f.pixelSize() - 1);
    }
    label->setFont(f);
}

QToolButton *makeButton(QWidget *parent, const char *name, const QString &text, const QString &hint,
                        const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setGeometry(geometry);
    return button;
}

constexpr int SliderTop = 34;
constexpr int BreathFrame = 3;
constexpr int SliderHeight = 148;
constexpr int GroupHeight = SliderTop + SliderHeight + 6;
const QColor GaugeOff(0, 0, 128);
const QColor Grey(192, 192, 192);

} // namespace

void TNoteOutForm::buildControls()
{
    setObjectName(QStringLiteral("NoteOutForm"));
    setWindowTitle(QStringLiteral("Send Note - Controller"));
    QFont small = font();
    small.setPixelSize(LabelFontPixels);
    setFont(small);

    GrBStuurNote =
        makeGroup(this, "GrBStuurNote", QStringLiteral("Send Note"), QRect(3, 2, 119, GroupHeight));
    LSnote = makeLabel(GrBStuurNote, "LSnote", QStringLiteral("C-1..G7      Velocity"),
                       QRect(5, 17, 112, 14));
    fitCaption(LSnote);
    SbNoteH = makeSlider<TSliddt>(GrBStuurNote, "SbNoteH", QRect(5, SliderTop, 40, SliderHeight));
    SbNoteH->setTicks(11);
    SbNoteV =
        makeSlider<TSlidNaVf>(GrBStuurNote, "SbNoteV", QRect(55, SliderTop, 26, SliderHeight));
    LGIn = new TLEDGauge(GrBStuurNote);
    LGIn->setObjectName(QStringLiteral("LGIn"));
    LGIn->setGeometry(94, SliderTop, 16, SliderHeight);
    LGIn->setToolTip(QStringLiteral("Show Velocity In"));
    LGIn->setCount(64);
    LGIn->setColor(Qt::yellow);
    LGIn->setOffColor(GaugeOff);
    LGIn->setYellowPercent(51);
    LGIn->setRedPercent(80);
    LGIn->setValue(1);
    LGIn->setMiliSc(500);
    LGIn->setDelay(0);

    GrBSendCtrl = makeGroup(this, "GrBSendCtrl", QStringLiteral("Send Controller"),
                            QRect(127, 2, 126, GroupHeight));
    Lctrl = makeLabel(GrBSendCtrl, "Lctrl", QStringLiteral("Breath     Mod     Aftrtch"),
                      QRect(5, 17, 118, 14));
    fitCaption(Lctrl);
    auto *breathBack = new QFrame(GrBSendCtrl);
    breathBack->setGeometry(8 - BreathFrame, SliderTop - BreathFrame, 26 + 2 * BreathFrame,
                            SliderHeight + 2 * BreathFrame);
    breathBack->setAutoFillBackground(true);
    QPalette grey = breathBack->palette();
    grey.setColor(QPalette::Window, Grey);
    breathBack->setPalette(grey);
    SbNoteB = makeSlider<TSlidNaVf>(GrBSendCtrl, "SbNoteB", QRect(8, SliderTop, 26, SliderHeight));
    SbNoteM = makeSlider<TSlidNaVf>(GrBSendCtrl, "SbNoteM", QRect(50, SliderTop, 26, SliderHeight));
    SbNoteA = makeSlider<TSlidNaVf>(GrBSendCtrl, "SbNoteA", QRect(92, SliderTop, 26, SliderHeight));

    const int bottom = GroupHeight + 6;
    LMididata =
        makeLabel(this, "LMididata", QStringLiteral("Midi  -  Data"), QRect(6, bottom, 114, 14));
    LmidiOut =
        makeLabel(this, "LmidiOut", QStringLiteral("00 00 00"), QRect(6, bottom + 16, 80, 18));
    LmidiOut->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LmidiOut->setAlignment(Qt::AlignCenter);
    LMidiIn = makeLabel(this, "LMidiIn", QStringLiteral("In"), QRect(6, bottom + 40, 16, 14));
    LedIn_ = makeLamp(this, "LedIn", QRect(24, bottom + 41, 14, 12), LampIdle);
    LmidiS = makeLabel(this, "LmidiS", QStringLiteral("Out"), QRect(48, bottom + 40, 24, 14));
    LedOut_ = makeLamp(this, "LedOut", QRect(74, bottom + 41, 14, 12), LampIdle);
    SpeedBt_AllOff = makeButton(this, "SpeedBt_AllOff", QStringLiteral("All Off"),
                                QStringLiteral("Stop it!"), QRect(6, bottom + 60, 62, 24));
    SpBH = makeButton(this, "SpBH", QStringLiteral("H"), QStringLiteral("Click = Half or Full"),
                      QRect(74, bottom + 60, 24, 24));

    CbMiditrue = new QCheckBox(QStringLiteral("Midi-true"), this);
    CbMiditrue->setObjectName(QStringLiteral("CbMiditrue"));
    CbMiditrue->setToolTip(QStringLiteral("Only for XP series"));
    CbMiditrue->setGeometry(132, bottom + 14, 118, 20);
    Lkb = makeLabel(this, "Lkb", QStringLiteral("Lkb"), QRect(134, bottom + 40, 116, 14));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(LampInterval);
    resize(FullWidth, FullHeight);
}

void TNoteOutForm::SpBHClick()
{
    if (SpBH->text() == QLatin1String("H")) {
        resize(HalfWidth, HalfHeight);
        SpBH->setText(QStringLiteral("F"));
    } else {
        resize(FullWidth, FullHeight);
        SpBH->setText(QStringLiteral("H"));
    }
}

void TNoteOutForm::mouseDoubleClickEvent(QMouseEvent *event)
{
    resize(FullWidth, DoubleClickHeight);
    QWidget::mouseDoubleClickEvent(event);
}
