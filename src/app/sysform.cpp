#include "app/sysform.h"

#include "app/windowplacement.h"
#include "core/editstate.h"
#include "midi/patchtransfer.h"
#include "midi/sysexprotocol.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const addr::Address ControlSourcesAddress{addr::AreaSystem, 0x00, 0x00,
                                          addr::system::ControlSource1};

// Numbers shown bare for controllers first..last.
void numbers(QStringList &names, int first, int last)
{
    for (int n = first; n <= last; ++n)
        names.append(QString::number(n));
}
} // namespace

TSysForm::TSysForm(EditState &state, SysexProtocol &protocol, QWidget *parent)
    : QDialog(parent, Qt::Tool), state_(state), protocol_(protocol)
{
    setObjectName(QStringLiteral("SysForm"));
    WindowPlacement::install(*this, WindowPlacement::Mode::Centre);
    setWindowTitle(QStringLiteral("  Set System Control"));

    auto *grid = new QGridLayout(this);
    const QStringList names = controlSourceNames();
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(QStringLiteral("System Control %1").arg(i + 1), this);
        label->setObjectName(QStringLiteral("LSC%1").arg(i + 1));
        auto *box = new QComboBox(this);
        box->setObjectName(QStringLiteral("CbSC%1").arg(i + 1));
        box->addItems(names);
        box->setMaxVisibleItems(VisibleRows);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        // Only the user's choices are sent, not the loading of the lists.
        connect(box, &QComboBox::activated, this, [this, box](int row) { CbSC1Change(box, row); });
        (i == 0 ? CbSC1 : CbSC2) = box;
    }
    BOK = new QPushButton(QStringLiteral("Ok"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    grid->addWidget(BOK, 2, 1, Qt::AlignRight);
    connect(BOK, &QPushButton::clicked, this, &TSysForm::BOKClick);
}

void TSysForm::FormCreate()
{
    protocol_.RequestData(ControlSourcesAddress, addr::RequestControlSourcesSize);
    PatchTransfer::waitProcessing(AnswerWaitMs);
    // A value outside the list (a unit with other sources) shows no row.
    CbSC1->setCurrentIndex(state_.SystemCommon[addr::system::ControlSource1]);
    CbSC2->setCurrentIndex(state_.SystemCommon[addr::system::ControlSource2]);
}

void TSysForm::CbSC1Change(QComboBox *box, int row)
{
    const std::uint8_t offset =
        box == CbSC1 ? addr::system::ControlSource1 : addr::system::ControlSource2;
    protocol_.SendDataSet({addr::AreaSystem, 0x00, 0x00, offset}, std::uint8_t(row));
    // The data set keeps no copy of system addresses itself.
    state_.SystemCommon[offset] = std::uint8_t(row);
}

void TSysForm::BOKClick()
{
    accept();
    deleteLater();
}

QStringList TSysForm::controlSourceNames()
{
    QStringList n{QStringLiteral("Bank Select"), QStringLiteral("Modulation"),
                  QStringLiteral("Breath"),      QStringLiteral("CC-03"),
                  QStringLiteral("Foot-Type"),   QStringLiteral("Portamento Time"),
                  QStringLiteral("Data-Entry"),  QStringLiteral("Volume"),
                  QStringLiteral("Balance"),     QStringLiteral("CC-09"),
                  QStringLiteral("Panpot"),      QStringLiteral("Expression"),
                  QStringLiteral("CC-12")};
    numbers(n, 13, 15);
    for (int g = 1; g <= 4; ++g)
        n.append(QStringLiteral("General-%1").arg(g));
    n.append(QStringLiteral("CC-20"));
    numbers(n, 21, 63);
    n << QStringLiteral("Hold-1") << QStringLiteral("Portamento") << QStringLiteral("Sostenuto")
      << QStringLiteral("Soft Pedal") << QStringLiteral("CC-68") << QStringLiteral("Hold-2")
      << QStringLiteral("CC-70");
    numbers(n, 71, 79);
    for (int g = 5; g <= 8; ++g)
        n.append(QStringLiteral("General-%1").arg(g));
    n.append(QStringLiteral("CC-84"));
    numbers(n, 85, 90);
    n << QStringLiteral("Reverb") << QStringLiteral("Tremolo") << QStringLiteral("Chorus")
      << QStringLiteral("Celeste") << QStringLiteral("Phaser") << QStringLiteral("Bender")
      << QStringLiteral("Aftertouch");
    return n;
}
