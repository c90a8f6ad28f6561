// Building the range and switches screen: the key ranges and velocity ranges
// of the four tones on the left, the patch-wide panels on the right.

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "editors/comswform.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

namespace {
constexpr char Ruler[] = "C-1  C0   C1   C2   C3   C4   C5   C6   C7   C8   C9  G9";
constexpr int MaxKey = 127;
constexpr int KeysPerOctave = 12;
constexpr int RulerCharsPerOctave = 5;
constexpr int MaxBendUp = 12;
constexpr int MaxBendDown = 48;
constexpr int LabelChars = 5;
constexpr int PanelSpacing = 6;

QFrame *makePanel(QWidget *parent, const char *name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

TSpincw0R *makeSpin(QWidget *parent, const QString &name, int min, int max)
{
    auto *s = new TSpincw0R(parent);
    s->setObjectName(name);
    s->setMinValue(min);
    s->setMaxValue(max);
    s->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return s;
}

TFocusComboBox *makeList(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = new TFocusComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

struct KeyBarShape
{
    int width = 0;       // of the whole bar
    int thumbCentre = 0; // at key 0
};

// The ruler names a C every five characters, so a key is 5/12 of a
// character: a bar whose thumb travels exactly the ruler's span, asked of the
// style as it will draw it, with the ruler starting under the thumb at key 0.
KeyBarShape keyBarShape(const QStyle &style, int travel)
{
    QStyleOptionSlider opt;
    opt.orientation = Qt::Horizontal;
    opt.state = QStyle::State_Enabled | QStyle::State_Horizontal;
    opt.minimum = 0;
    opt.maximum = MaxKey;
    opt.pageStep = 1;
    opt.singleStep = 1;
    opt.subControls = QStyle::SC_All;
    const int extent = style.pixelMetric(QStyle::PM_ScrollBarExtent);
    KeyBarShape shape;
    shape.width = travel + 2 * extent;
    for (int pass = 0; pass < 3; ++pass) {
        opt.rect = QRect(0, 0, shape.width, extent);
        const QRect groove =
            style.subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarGroove);
        const QRect thumb =
            style.subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider);
        shape.thumbCentre = thumb.center().x();
        shape.width += travel - (groove.width() - thumb.width());
    }
    return shape;
}

QCheckBox *makeBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QCheckBox(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
} // namespace

void TComSwForm::buildControls()
{
    auto *left = new QVBoxLayout;
    left->setSpacing(PanelSpacing);
    left->addWidget(buildKeyPanel());
    left->addWidget(buildVelocityPanel());
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->setSpacing(PanelSpacing);
    right->addWidget(buildAssignPanel());
    right->addWidget(buildPortaPanel());
    right->addWidget(buildBendPanel());
    right->addWidget(buildControlPanel());
    right->addStretch(1);

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(PanelSpacing);
    outer->addLayout(left);
    outer->addLayout(right);
}

QWidget *TComSwForm::buildKeyPanel()
{
    QFrame *panel = makePanel(this, "PKeyRange");
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(1);
    grid->addWidget(heading(QStringLiteral("Key Range"), panel), 0, 0, 1, 3);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int charWidth = QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0'));
    const KeyBarShape shape =
        keyBarShape(*style(), charWidth * RulerCharsPerOctave * MaxKey / KeysPerOctave);
    const int barWidth = shape.width;
    const int rulerIndent = shape.thumbCentre - charWidth / 2;
    const int labelWidth = fontMetrics().horizontalAdvance(QString(LabelChars, QLatin1Char('W')));
    int row = 1;
    for (int t = 1; t <= Tones; ++t) {
        ToneRow &r = tones_[std::size_t(t - 1)];
        const auto bar = [panel, barWidth](const QString &name) {
            auto *b = new QScrollBar(Qt::Horizontal, panel);
            b->setObjectName(name);
            b->setRange(0, MaxKey);
            b->setPageStep(1);
            // Right and the wheel away from the user raise the key.
            b->setInvertedControls(false);
            b->setFixedWidth(barWidth);
            return b;
        };
        const auto label = [panel, labelWidth](const QString &name) {
            auto *l = new QLabel(panel);
            l->setObjectName(name);
            l->setMinimumWidth(labelWidth);
            return l;
        };
        r.keyUpper = bar(QStringLiteral("SbKr%1U").arg(t));
        r.keyLower = bar(QStringLiteral("SbKr%1L").arg(t));
        r.keyUpperLabel = label(QStringLiteral("LKR%1U").arg(t));
        r.keyLowerLabel = label(QStringLiteral("LKR%1L").arg(t));
        auto *ruler = new QLabel(QLatin1String(Ruler), panel);
        ruler->setFont(fixed);
        ruler->setContentsMargins(rulerIndent, 0, 0, 0);

        grid->addWidget(new QLabel(QStringLiteral("T %1 :").arg(t), panel), row, 0, 2, 1);
        grid->addWidget(new QLabel(QStringLiteral("Upper"), panel), row, 1);
        grid->addWidget(r.keyUpper, row, 2);
        grid->addWidget(r.keyUpperLabel, row, 3);
        grid->addWidget(new QLabel(QStringLiteral("Lower"), panel), row + 1, 1);
        grid->addWidget(r.keyLower, row + 1, 2);
        grid->addWidget(r.keyLowerLabel, row + 1, 3);
        grid->addWidget(ruler, row + 2, 2);
        grid->setRowMinimumHeight(row + 3, PanelSpacing);
        row += 4;
    }
    return panel;
}

QWidget *TComSwForm::buildVelocityPanel()
{
    QFrame *panel = makePanel(this, "PVeloRange");
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    ChVeloR = makeBox(panel, "ChVeloR", QStringLiteral("Velocity Range On"));
    grid->addWidget(heading(QStringLiteral("Velocity Range"), panel), 0, 0, 1, 2);
    grid->addWidget(ChVeloR, 0, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Lower"), panel), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Upper"), panel), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("X-fade"), panel), 1, 3);
    // The form's own names: the first two cross-fades are spelt SPXF.
    static constexpr const char *CrossFadeNames[Tones] = {"SPXF1", "SPXF2", "SpXF3", "SpXF4"};
    for (int t = 1; t <= Tones; ++t) {
        ToneRow &r = tones_[std::size_t(t - 1)];
        r.veloLower = makeSpin(panel, QStringLiteral("SpVRD%1").arg(t), 1, MaxKey);
        r.veloUpper = makeSpin(panel, QStringLiteral("SpVRU%1").arg(t), 1, MaxKey);
        r.crossFade = makeSpin(panel, QLatin1String(CrossFadeNames[t - 1]), 0, MaxKey);
        grid->addWidget(new QLabel(QStringLiteral("T %1 :").arg(t), panel), t + 1, 0);
        grid->addWidget(r.veloLower, t + 1, 1);
        grid->addWidget(r.veloUpper, t + 1, 2);
        grid->addWidget(r.crossFade, t + 1, 3);
    }
    grid->setColumnStretch(4, 1);
    return panel;
}

QWidget *TComSwForm::buildAssignPanel()
{
    QFrame *panel = makePanel(this, "PKeyAssign");
    auto *v = new QVBoxLayout(panel);
    v->setContentsMargins(6, 4, 6, 4);
    RBPoly = new QRadioButton(QStringLiteral("Poly"), panel);
    RBPoly->setObjectName(QStringLiteral("RBPoly"));
    RBSolo = new QRadioButton(QStringLiteral("Solo"), panel);
    RBSolo->setObjectName(QStringLiteral("RBSolo"));
    ChSoloL = makeBox(panel, "ChSoloL", QStringLiteral("Solo Legato"));
    v->addWidget(heading(QStringLiteral("Key Assign"), panel));
    v->addWidget(RBPoly);
    v->addWidget(RBSolo);
    v->addWidget(ChSoloL);
    return panel;
}

QWidget *TComSwForm::buildPortaPanel()
{
    QFrame *panel = makePanel(this, "PPorta");
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    ChPortaOn = makeBox(panel, "ChPortaOn", QStringLiteral("On"));
    CbPortaMode =
        makeList(panel, "CbPortaMode", {QStringLiteral("Normal"), QStringLiteral("Legato")});
    CbPortaType = makeList(panel, "CbPortaType", {QStringLiteral("Rate"), QStringLiteral("Time")});
    CbPortaStart =
        makeList(panel, "CbPortaStart", {QStringLiteral("Pitch"), QStringLiteral("Note")});
    SpPortTime = makeSpin(panel, QStringLiteral("SpPortTime"), 0, MaxKey);
    grid->addWidget(heading(QStringLiteral("Portamento"), panel), 0, 0);
    grid->addWidget(ChPortaOn, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Mode:"), panel), 1, 0);
    grid->addWidget(CbPortaMode, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Type:"), panel), 2, 0);
    grid->addWidget(CbPortaType, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Start:"), panel), 3, 0);
    grid->addWidget(CbPortaStart, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Time:"), panel), 4, 0);
    grid->addWidget(SpPortTime, 4, 1);
    return panel;
}

QWidget *TComSwForm::buildBendPanel()
{
    QFrame *panel = makePanel(this, "PBend");
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    SpBendUp = makeSpin(panel, QStringLiteral("SpBendUp"), 0, MaxBendUp);
    SpBendDown = makeSpin(panel, QStringLiteral("SpBendDown"), -MaxBendDown, 0);
    grid->addWidget(heading(QStringLiteral("Bender Range"), panel), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Up:"), panel), 1, 0);
    grid->addWidget(SpBendUp, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Down:"), panel), 2, 0);
    grid->addWidget(SpBendDown, 2, 1);
    return panel;
}

QWidget *TComSwForm::buildControlPanel()
{
    QFrame *panel = makePanel(this, "PControl");
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    const QStringList modes{QStringLiteral("OFF"), QStringLiteral("Hold"), QStringLiteral("Peak")};
    static constexpr const char *Names[] = {"CbCtrlEFX", "CbCtrl1", "CbCtrl2", "CbCtrl3"};
    static constexpr const char *Captions[] = {"EFX Ctrl", "Ctrl 1 :", "Ctrl 2 :", "Ctrl 3 :"};
    grid->addWidget(heading(QStringLiteral("Control"), panel), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Hold / Peak"), panel), 0, 1);
    for (std::size_t i = 0; i < holdPeak_.size(); ++i) {
        holdPeak_[i] = makeList(panel, Names[i], modes);
        grid->addWidget(new QLabel(QLatin1String(Captions[i]), panel), int(i) + 1, 0);
        grid->addWidget(holdPeak_[i], int(i) + 1, 1);
    }
    return panel;
}
