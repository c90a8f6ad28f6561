// Building the librarian's controls and wiring them up.

#include "app/banklist.h"
#include "app/bankmanform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int BankGap = 18;
constexpr int RowSpacing = 6;
template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
}

QSpinBox *placeSpin(int value, const char *name, QWidget *parent)
{
    auto *s = named(new QSpinBox(parent), name);
    s->setRange(1, PatchBank::PlaceCount);
    s->setValue(value);
    return s;
}
} // namespace

void TBankManForm::buildControls()
{
    ESearch = named(new QLineEdit(this), "ESearch");
    ESearch->setPlaceholderText(QStringLiteral("Search names"));
    ESearch->setClearButtonEnabled(true);
    auto *searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    searchLabel->setBuddy(ESearch);
    BAudition = button(QStringLiteral("Au&dition"), "BAudition", this);
    BAudition->setToolTip(QStringLiteral("Load the current place into the editor and the "
                                         "synthesizer's temporary patch"));

    CbBank = named(new QComboBox(this), "CbBank");
    CbBank->addItems({QStringLiteral("USER"), QStringLiteral("CARD")});
    SpFrom = placeSpin(1, "SpFrom", this);
    SpTo = placeSpin(PatchBank::PlaceCount, "SpTo", this);
    BFetch = button(QStringLiteral("&Fetch"), "BFetch", this);
    BFetchAll = button(QStringLiteral("Fetch &All"), "BFetchAll", this);
    BWrite = button(QStringLiteral("&Write..."), "BWrite", this);
    BSaveSynth = button(QStringLiteral("Sa&ve..."), "BSaveSynth", this);
    BFetch->setToolTip(QStringLiteral("Fetch the places From to To"));
    BWrite->setToolTip(QStringLiteral("Write the selected places to the synthesizer"));
    BSaveSynth->setToolTip(QStringLiteral("Save the synth bank as a .syx file"));
    LvSynth = named(new TBankList(this), "LvSynth");
    LvSynth->setBank(&synthBank_);
    LvSynth->setPlacePrefix(QStringLiteral("U:"));

    BOpenBank = button(QStringLiteral("&Open..."), "BOpenBank", this);
    BSaveBank = button(QStringLiteral("Sav&e..."), "BSaveBank", this);
    LFile = named(new QLabel(QStringLiteral("(no file)"), this), "LFile");
    LFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LvFile = named(new TBankList(this), "LvFile");
    LvFile->setBank(&fileBank_);

    BCancel = button(QStringLiteral("&Cancel"), "BCancel", this);
    BCancel->setEnabled(false);
    PbTransfer = named(new QProgressBar(this), "PbTransfer");
    PbTransfer->setRange(0, PatchBank::PlaceCount);
    PbTransfer->setValue(0);
    PbTransfer->setFormat(QStringLiteral("%v / %m"));
    LTransfer = named(new QLabel(this), "LTransfer");
    LTransfer->setMinimumWidth(fontMetrics().horizontalAdvance(
        QStringLiteral("Fetching U:128 \"MMMMMMmmmmmm\" (128 of 128)")));

    auto heading = [this](const QString &text) {
        auto *l = new QLabel(text, this);
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
        return l;
    };
    // One grid for both banks, so their rows and lists stay level.
    auto *synthTop = new QHBoxLayout;
    synthTop->setSpacing(RowSpacing);
    synthTop->addWidget(heading(QStringLiteral("Synth")));
    synthTop->addWidget(CbBank);
    synthTop->addStretch(1);
    synthTop->addWidget(new QLabel(QStringLiteral("From"), this));
    synthTop->addWidget(SpFrom);
    synthTop->addWidget(new QLabel(QStringLiteral("To"), this));
    synthTop->addWidget(SpTo);
    auto *synthButtons = new QHBoxLayout;
    synthButtons->setSpacing(RowSpacing);
    synthButtons->addWidget(BFetch);
    synthButtons->addWidget(BFetchAll);
    synthButtons->addWidget(BWrite);
    synthButtons->addWidget(BSaveSynth);
    synthButtons->addStretch(1);
    auto *fileTop = new QHBoxLayout;
    fileTop->setSpacing(RowSpacing);
    fileTop->addWidget(heading(QStringLiteral("File")));
    fileTop->addWidget(LFile, 1);
    auto *fileButtons = new QHBoxLayout;
    fileButtons->setSpacing(RowSpacing);
    fileButtons->addWidget(BOpenBank);
    fileButtons->addWidget(BSaveBank);
    fileButtons->addStretch(1);
    auto *banks = new QGridLayout;
    banks->addLayout(synthTop, 0, 0);
    banks->addLayout(synthButtons, 1, 0);
    banks->addWidget(LvSynth, 2, 0);
    banks->addLayout(fileTop, 0, 1);
    banks->addLayout(fileButtons, 1, 1);
    banks->addWidget(LvFile, 2, 1);
    banks->setColumnStretch(0, 1);
    banks->setColumnStretch(1, 1);
    banks->setRowStretch(2, 1);
    banks->setHorizontalSpacing(BankGap);

    auto *top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(ESearch, 1);
    top->addWidget(BAudition);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(PbTransfer, 1);
    bottom->addWidget(LTransfer);
    bottom->addWidget(BCancel);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addLayout(banks, 1);
    column->addLayout(bottom);
}

void TBankManForm::connectHandlers()
{
    connect(BFetch, &QPushButton::clicked, this, &TBankManForm::BFetchClick);
    connect(BFetchAll, &QPushButton::clicked, this, &TBankManForm::BFetchAllClick);
    connect(BCancel, &QPushButton::clicked, this, &TBankManForm::BCancelClick);
    connect(BWrite, &QPushButton::clicked, this, &TBankManForm::BWriteClick);
    connect(BSaveSynth, &QPushButton::clicked, this, &TBankManForm::BSaveSynthClick);
    connect(BOpenBank, &QPushButton::clicked, this, &TBankManForm::BOpenBankClick);
    connect(BSaveBank, &QPushButton::clicked, this, &TBankManForm::BSaveBankClick);
    connect(BAudition, &QPushButton::clicked, this, &TBankManForm::BAuditionClick);
    connect(CbBank, &QComboBox::currentIndexChanged, this, &TBankManForm::CbBankChange);
    connect(ESearch, &QLineEdit::textChanged, this, &TBankManForm::ESearchChange);
    connect(SpFrom, &QSpinBox::valueChanged, this, [this](int v) {
        if (SpTo->value() < v)
            SpTo->setValue(v);
    });
    connect(SpTo, &QSpinBox::valueChanged, this, [this](int v) {
        if (SpFrom->value() > v)
            SpFrom->setValue(v);
    });
    for (TBankList *list : {LvSynth, LvFile}) {
        connect(list, &TBankList::placesDropped, this,
                [this, list](quintptr source, const QList<int> &places, int target, bool copy) {
                    placesDropped(list, source, places, target, copy);
                });
        connect(list, &TBankList::placeActivated, this,
                [this, list](int place) { audition(list, place); });
        connect(list, &QTableWidget::currentCellChanged, this,
                [this, list] { activeList_ = list; });
    }
    connect(&transfer_, &BankTransfer::progress, this, &TBankManForm::transferProgress);
    connect(&transfer_, &BankTransfer::placeArrived, this, &TBankManForm::placeArrived);
    connect(&transfer_, &BankTransfer::finished, this, &TBankManForm::transferFinished);
}
