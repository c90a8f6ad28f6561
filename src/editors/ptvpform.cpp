#include "editors/ptvpform.h"

#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "core/displaytables.h"
#include "core/editstate.h"
#include "core/loadscope.h"
#include "editors/paintbox.h"
#include "editors/pitchenvelope.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {
constexpr char Caption[] = "TVP";
constexpr const char *Times[] = {"SpTimeP1", "SpTimeP2", "SpTimeP3", "SpTimeP4"};
constexpr const char *Levels[] = {"SpLevP1", "SpLevP2", "SpLevP3", "SpLevP4"};

ToneEditorForm::Setup ptvpSetup()
{
    ToneEditorForm::Setup s;
    s.copyFirst = TPTVPForm::FirstOffset;
    s.copyLast = TPTVPForm::LastOffset;
    s.bufferLabelName = QStringLiteral("Lbuff");
    s.bufferPrefix = QStringLiteral("Buff = ");
    return s;
}

// The item whose text, blanks aside, is the typed text; -1 when none is.
int typedIndex(const QComboBox *list)
{
    const QString typed = list->currentText().trimmed();
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).trimmed() == typed)
            return i;
    return -1;
}
} // namespace

TPTVPForm::TPTVPForm(EditState &state, SysexProtocol &protocol, EditorHost &host, QWidget *parent)
    : ToneEditorForm(ptvpSetup(), state, protocol, host, parent)
{
    setObjectName(QStringLiteral("PTVPForm"));
    setWindowTitle(QLatin1String(Caption));
    buildControls();
    for (const PtvpParameter &row : PtvpParameter::table())
        connectParameter(row);
    GrTVP->setPaintFunction(
        [this](QPainter &p, QSize size) { PitchEnvelope::paint(p, size, pitchValues()); });

    resize(ClientSize.expandedTo(sizeHint()));
    UpdateTones(currentTone());
    UpdateTVP(currentTone());
}

void TPTVPForm::connectParameter(const PtvpParameter &row)
{
    QWidget *w = controls_.at(row.name);
    const auto handler = [this, &row] { parameterChanged(row); };
    switch (row.kind) {
    case PtvpParameter::Kind::Spin: {
        auto *s = static_cast<TSpincw0R *>(w);
        connect(s, &TSpincw0R::OnChange, this, handler);
        connect(s, &TSpincw0R::OnChanging, this, handler);
        connect(s, &TSpincw0R::OnExit, this, &TPTVPForm::spinExit);
        break;
    }
    case PtvpParameter::Kind::Slider:
    case PtvpParameter::Kind::TextSlider: {
        auto *s = static_cast<TSliderBase *>(w);
        connect(s, &TSliderBase::OnChange, this, handler);
        connect(s, &TSliderBase::OnChanging, this, handler);
        break;
    }
    case PtvpParameter::Kind::List: {
        auto *c = static_cast<QComboBox *>(w);
        const auto edited = [this, &row] { listEdited(row); };
        connect(c, &QComboBox::activated, this, edited);
        connect(c->lineEdit(), &QLineEdit::editingFinished, this, edited);
        break;
    }
    }
}

int TPTVPForm::shownValue(const PtvpParameter &row) const
{
    QWidget *w = controls_.at(row.name);
    switch (row.kind) {
    case PtvpParameter::Kind::Spin:
        return static_cast<TSpincw0R *>(w)->Value();
    case PtvpParameter::Kind::Slider:
    case PtvpParameter::Kind::TextSlider:
        return static_cast<TSliderBase *>(w)->Position();
    case PtvpParameter::Kind::List:
        return static_cast<QComboBox *>(w)->currentIndex();
    }
    return 0;
}

void TPTVPForm::setShownValue(const PtvpParameter &row, int value)
{
    QWidget *w = controls_.at(row.name);
    switch (row.kind) {
    case PtvpParameter::Kind::Spin:
        static_cast<TSpincw0R *>(w)->setValue(value);
        break;
    case PtvpParameter::Kind::Slider:
    case PtvpParameter::Kind::TextSlider:
        static_cast<TSliderBase *>(w)->setPosition(value);
        break;
    case PtvpParameter::Kind::List:
        static_cast<QComboBox *>(w)->setCurrentIndex(value);
        break;
    }
}

void TPTVPForm::parameterChanged(const PtvpParameter &row)
{
    const int shown = shownValue(row);
    const int before = row.shown(state_.patchImage.tone(currentTone(), row.offset));
    const int stored = row.stored(shown, before);
    if (stored < 0 || stored > row.maxStored())
        return;
    if (row.kind == PtvpParameter::Kind::TextSlider)
        showRandomDepthText();

    sendTone(row.offset, stored);

    // A sensitivity spin shows only values that can be stored, so what it
    // shows is always what was sent.
    if (row.sensitivity && shown != row.shown(stored))
        setShownValue(row, row.shown(stored));
    if (row.graph)
        TekenP();
}

// Typed text is taken only when it names an item; anything else puts the
// list back on its last item, so no index outside the list is ever sent.
void TPTVPForm::listEdited(const PtvpParameter &row)
{
    auto *list = control<QComboBox>(row.name);
    const int index = typedIndex(list);
    if (index < 0) {
        const QSignalBlocker quiet(list);
        const int last = list->currentIndex();
        list->setEditText(last >= 0 ? list->itemText(last) : QString());
        return;
    }
    if (index != list->currentIndex()) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(index);
    }
    if (index <= row.maxStored())
        sendTone(row.offset, index);
}

void TPTVPForm::spinExit(TSpincw0R *spin)
{
    // An invalid colour gives the spin back its window colour.
    spin->setBKColor(spin->Value() < 0 ? NegativeColour : QColor());
}

void TPTVPForm::showRandomDepthText()
{
    auto *slider = control<TSliddt>("SltRND");
    const int position = slider->Position();
    const auto &texts = DisplayTables::instance().PitchDepthTexts;
    if (position >= 0 && position < int(texts.size()))
        slider->setText(texts[std::size_t(position)]);
}

void TPTVPForm::loadTone(int tone)
{
    UpdateTVP(tone);
}

void TPTVPForm::UpdateTVP(int tone)
{
    const LoadScope scope(state_);
    for (const PtvpParameter &row : PtvpParameter::table())
        setShownValue(row, row.shown(state_.patchImage.tone(tone, row.offset)));
    showRandomDepthText();
    TekenP();
    LToneBig->setText(QString::number(currentTone()));
}

void TPTVPForm::SpBUpdateClick()
{
    reload();
}

// The graph paints from the controls' current values; a request only
// schedules that, and requests during a load merge into one.
void TPTVPForm::TekenP()
{
    GrTVP->update();
}

EnvelopeValues TPTVPForm::pitchValues() const
{
    EnvelopeValues v;
    for (std::size_t i = 0; i < v.times.size(); ++i) {
        v.times[i] = control<TSpincw0R>(Times[i])->Value();
        v.levels[i] = control<TSpincw0R>(Levels[i])->Value();
    }
    v.depth = control<TSliderBase>("SlEnvDF")->Position();
    return v;
}
