#include "app/mididevselect.h"

#include "app/noteoutform.h"
#include "app/windowplacement.h"
#include "core/appsettings.h"
#include "core/editstate.h"
#include "core/expansionchoices.h"
#include "core/infosink.h"
#include "midi/mididevices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr char Caption[] = "Preferences:  Midi In-Out and Expansion Boards";
constexpr char FirstRunText[] =
    " First time TessivaW95 run.\r Please make MIDI and EXPANSION settings first.";
constexpr char ReEnterText[] = "Re-Enter Unit-ID";
constexpr char NotIntegerText[] = "'%1' is not a valid integer value";
constexpr std::array<const char *, TMidiDevSelect::BoardSlots> BoardLabels{"ExP A", "ExP B",
                                                                           "ExP C", "ExP D"};
constexpr std::array<const char *, TMidiDevSelect::BoardSlots> BoardNames{"CbExpA", "CbExpB",
                                                                          "CbExpC", "CbExpD"};
constexpr int PcmSlot = 0;
constexpr int FirstBoardSlot = 1;
constexpr int ListWidth = 180;
constexpr int ListHeight = 110;

template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel *label(const char *name, const QString &text)
{
    return named(new QLabel(text), name);
}

QFrame *panel(const char *name, QFrame::Shadow shadow)
{
    auto *f = named(new QFrame, name);
    f->setFrameStyle(QFrame::Panel | shadow);
    return f;
}

QListWidget *deviceList(const char *name)
{
    auto *l = named(new QListWidget, name);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setMinimumSize(ListWidth, ListHeight);
    return l;
}

void fillList(QListWidget *list, const QStringList &names, int selected)
{
    list->clear();
    list->addItems(names);
    if (selected >= 0 && selected < list->count())
        list->setCurrentRow(selected);
}

// The hourglass for as long as the lists are being filled.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
} // namespace

TMidiDevSelect::TMidiDevSelect(EditState &state, InfoSink &info, AppSettings &settings,
                               MidiDevices &devices, QWidget *parent)
    : QDialog(parent), state_(state), info_(info), settings_(settings), devices_(devices)
{
    setObjectName(QStringLiteral("MidiDevSelect"));
    WindowPlacement::install(*this, WindowPlacement::Mode::Centre);
    setWindowTitle(QLatin1String(Caption));
    buildControls();
    if (settings_.FirstRun)
        info_.ShowInfo(QLatin1String(FirstRunText));
    // Only what this dialog shows is read again: the options and the
    // remembered patch file keep what the session made of them.
    settings_.ReadDeviceSettings(state_);
    unitId_ = state_.UnitId;
    EdJVID->setText(QString::number(unitId_));
    ChSepKB->setChecked(settings_.SepKB);
}

void TMidiDevSelect::connectHub(TNoteOutForm &hub)
{
    connect(this, &TMidiDevSelect::closePortsRequested, &hub, &TNoteOutForm::closePorts);
    connect(this, &TMidiDevSelect::keyboardReleased, &hub, &TNoteOutForm::freeKeyboardInput);
    connect(this, &TMidiDevSelect::openPortsRequested, &hub, &TNoteOutForm::openPorts);
    connect(this, &TMidiDevSelect::restorePortsRequested, &hub, &TNoteOutForm::restorePorts);
}

void TMidiDevSelect::buildControls()
{
    Pexp = panel("Pexp", QFrame::Sunken);
    auto *expGrid = new QGridLayout(Pexp);
    EdJVID = named(new QLineEdit, "EdJVID");
    EdJVID->setMaxLength(4);
    expGrid->addWidget(label("Label4", QStringLiteral("JV-XP  ID:")), 0, 0);
    expGrid->addWidget(EdJVID, 0, 1);
    expGrid->addWidget(label("Lprefs", QStringLiteral("ID & Expansions:")), 1, 0, 1, 2);
    CbPCM = named(new QComboBox, "CbPCM");
    CbPCM->addItems(ExpansionChoices::entries(ExpansionChoices::pcmCards()));
    expGrid->addWidget(label("Lpcm", QStringLiteral("PCM Card:")), 2, 0);
    expGrid->addWidget(CbPCM, 2, 1);
    const QStringList boards = ExpansionChoices::entries(ExpansionChoices::boards());
    const std::array<const char *, BoardSlots> labelNames{"Label6", "Label7", "Label8", "Label9"};
    for (int i = 0; i < BoardSlots; ++i) {
        QComboBox *cb = named(new QComboBox, BoardNames[std::size_t(i)]);
        cb->addItems(boards);
        CbExp[std::size_t(i)] = cb;
        expGrid->addWidget(
            label(labelNames[std::size_t(i)], QLatin1String(BoardLabels[std::size_t(i)])), 3 + i,
            0);
        expGrid->addWidget(cb, 3 + i, 1);
    }

    expGrid->setRowStretch(3 + BoardSlots, 1);

    Plists = panel("Plists", QFrame::Sunken);
    auto *listGrid = new QGridLayout(Plists);
    LiKbIn = deviceList("LiKbIn");
    LiJVin = deviceList("LiJVin");
    LiJVout = deviceList("LiJVout");
    LNumInDev = label("LNumInDev", QStringLiteral("MIDI-Input devices = "));
    Lnumoutdev = label("Lnumoutdev", QStringLiteral("MIDI-Output devices = "));
    ChSepKB = named(new QCheckBox(QStringLiteral("Separate Keyboard")), "ChSepKB");
    ChSepKB->setToolTip(QStringLiteral("Only use this when you have more than 1 midi Input"));
    listGrid->addWidget(label("Label1", QStringLiteral("Instrument or Keyboard Input")), 0, 0);
    listGrid->addWidget(LiKbIn, 1, 0);
    listGrid->addWidget(ChSepKB, 2, 0);
    listGrid->addWidget(label("Label2", QStringLiteral("Midi-In  (JV-XP)")), 0, 1);
    listGrid->addWidget(LiJVin, 1, 1);
    listGrid->addWidget(LNumInDev, 2, 1);
    listGrid->addWidget(label("Label3", QStringLiteral("Midi-Out  (JV-XP)")), 0, 2);
    listGrid->addWidget(LiJVout, 1, 2);
    listGrid->addWidget(Lnumoutdev, 2, 2);

    BOk1 = named(new QPushButton(QStringLiteral("Ok")), "BOk1");
    BOk1->setDefault(true);
    BCan1 = named(new QPushButton(QStringLiteral("Cancel")), "BCan1");
    BSaveIni = named(new QPushButton(QStringLiteral("Save to ini")), "BSaveIni");
    BSaveIni->setVisible(false);
    Bevel1 = panel("Bevel1", QFrame::Raised);
    auto *buttons = new QHBoxLayout(Bevel1);
    buttons->addStretch();
    buttons->addWidget(BSaveIni);
    buttons->addWidget(BOk1);
    buttons->addWidget(BCan1);

    auto *top = new QHBoxLayout;
    top->addWidget(Pexp);
    top->addWidget(Plists, 1);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(Bevel1);

    connect(ChSepKB, &QCheckBox::toggled, this, &TMidiDevSelect::ChSepKBClick);
    connect(EdJVID, &QLineEdit::textEdited, this, &TMidiDevSelect::EdJVIDChange);
    connect(EdJVID, &QLineEdit::editingFinished, this, [this] { (void)EdJVIDExit(); });
    connect(BOk1, &QPushButton::clicked, this, &TMidiDevSelect::BOk1Click);
    connect(BCan1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BSaveIni, &QPushButton::clicked, this, &TMidiDevSelect::BSaveIniClick);
}

void TMidiDevSelect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    fillDeviceLists();
    FormShow();
    BOk1->setFocus();
}

void TMidiDevSelect::fillDeviceLists()
{
    BusyCursor busy;
    LiKbIn->clear();
    LiJVin->clear();
    LiJVout->clear();
    // The ports stay closed while the dialog is open: the device that is
    // being chosen may be the one that is open.
    Q_EMIT closePortsRequested();
    state_.MidiClosed = true;
    portsClosed_ = true;
    inputs_ = devices_.inputNames();
    outputs_ = devices_.outputNames();
    LNumInDev->setText(QStringLiteral("Midi-In: %1").arg(inputs_.size()));
    Lnumoutdev->setText(QStringLiteral("Midi-Out: %1").arg(outputs_.size()));
    // A first run stores device 0 of each list, the built-in synthesizer,
    // so Ok alone gives a working editor.
    fillList(LiJVin, inputs_, AppSettings::ResolveDevice(settings_.SynthIn, inputs_));
    fillList(LiJVout, outputs_, AppSettings::ResolveDevice(settings_.SynthOut, outputs_));
    if (ChSepKB->isChecked())
        ChSepKBClick();
    settings_.FirstRun = false;
}

void TMidiDevSelect::FormShow()
{
    if (inputs_.size() < 2)
        ChSepKB->setChecked(false);
    CbPCM->setCurrentIndex(ExpansionChoices::pcmIndex(state_.Expansion[PcmSlot].fileName));
    for (int i = 0; i < BoardSlots; ++i)
        CbExp[std::size_t(i)]->setCurrentIndex(ExpansionChoices::boardIndex(
            state_.Expansion[std::size_t(FirstBoardSlot + i)].fileName));
}

void TMidiDevSelect::ChSepKBClick()
{
    if (ChSepKB->isChecked()) {
        SelectKB();
        return;
    }
    Q_EMIT keyboardReleased();
    LiKbIn->clear();
}

void TMidiDevSelect::SelectKB()
{
    // Before the first showing the lists are not known yet; the filling
    // comes back here.
    if (!shown_)
        return;
    fillList(LiKbIn, inputs_, AppSettings::ResolveDevice(settings_.KeyboardIn, inputs_));
}

bool TMidiDevSelect::readUnitId(int &id) const
{
    bool ok = false;
    const int v = EdJVID->text().trimmed().toInt(&ok);
    if (!ok || v < EditState::MinUnitId || v > EditState::MaxUnitId)
        return false;
    id = v;
    return true;
}

void TMidiDevSelect::EdJVIDChange()
{
    (void)readUnitId(unitId_);
}

bool TMidiDevSelect::EdJVIDExit()
{
    if (readUnitId(unitId_)) {
        reportedText_.reset();
        return true;
    }
    // Leaving the field and pressing Ok come together; one message is enough.
    const QString text = EdJVID->text();
    if (text == reportedText_)
        return false;
    reportedText_ = text;
    bool isNumber = false;
    (void)text.trimmed().toInt(&isNumber);
    if (isNumber)
        info_.ShowInfo(QLatin1String(ReEnterText));
    else
        info_.ShowInfo(QLatin1String(NotIntegerText).arg(text) + QLatin1Char('\n') +
                       QLatin1String(ReEnterText));
    return false;
}

int TMidiDevSelect::chosenRow(const QListWidget *list) const
{
    const QListWidgetItem *item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : AppSettings::NoDevice;
}

void TMidiDevSelect::BSaveIniClick()
{
    state_.UnitId = unitId_;
    auto choice = [](int row, const QStringList &names) {
        return row >= 0 && row < names.size() ? DeviceChoice{row, names[row]}
                                              : DeviceChoice{AppSettings::NoDevice, QString()};
    };
    settings_.SynthIn = choice(chosenRow(LiJVin), inputs_);
    settings_.SynthOut = choice(chosenRow(LiJVout), outputs_);
    // The keyboard choice is kept while no keyboard is used, so it comes
    // back when the box is checked again.
    if (ChSepKB->isChecked())
        settings_.KeyboardIn = choice(chosenRow(LiKbIn), inputs_);
    settings_.SepKB = ChSepKB->isChecked();
    // A list without a selection (a stored name with no entry) keeps the
    // stored name rather than losing the board.
    const QString pcm = ExpansionChoices::pcmFile(CbPCM->currentIndex());
    if (!pcm.isEmpty())
        state_.Expansion[PcmSlot].fileName = pcm;
    for (int i = 0; i < BoardSlots; ++i) {
        const QString board = ExpansionChoices::boardFile(CbExp[std::size_t(i)]->currentIndex());
        if (!board.isEmpty())
            state_.Expansion[std::size_t(FirstBoardSlot + i)].fileName = board;
    }
    const QString error = settings_.WriteSettings(state_);
    if (!error.isEmpty())
        info_.ShowInfo(error);
}

void TMidiDevSelect::BOk1Click()
{
    if (!EdJVIDExit()) {
        EdJVID->setFocus();
        EdJVID->selectAll();
        return;
    }
    BSaveIniClick();
    settings_.ReadExpansionFiles(state_);
    if (!state_.MidiClosed) {
        Q_EMIT closePortsRequested();
        state_.MidiClosed = true;
    }
    // Without devices there is nothing to open; the ports stay closed.
    if (!inputs_.isEmpty() && !outputs_.isEmpty()) {
        const int in = chosenRow(LiJVin);
        const int keyboard = ChSepKB->isChecked() ? chosenRow(LiKbIn) : AppSettings::NoDevice;
        Q_EMIT openPortsRequested(in < 0 ? 0 : in, chosenRow(LiJVout), keyboard);
    }
    portsClosed_ = false;
    Q_EMIT settingsApplied();
    accept();
}

void TMidiDevSelect::reject()
{
    // The ports were closed only for the choosing; with nothing chosen, the
    // editor goes on with the devices it had.
    if (portsClosed_) {
        portsClosed_ = false;
        Q_EMIT restorePortsRequested();
    }
    QDialog::reject();
}
