#include "app/copytoneform.h"

#include "app/windowplacement.h"
#include "core/editstate.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QFrame *panel(const char *name, QWidget *parent)
{
    auto *f = named(new QFrame(parent), QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}
} // namespace

TCopytoneform::TCopytoneform(EditState &state, QWidget *parent)
    : QDialog(parent, Qt::Tool), state_(state)
{
    setObjectName(QStringLiteral("Copytoneform"));
    WindowPlacement::install(*this, WindowPlacement::Mode::Centre);
    setWindowTitle(QStringLiteral(" Copy One Tone To Multiple Tones"));
    setSizeGripEnabled(true);

    QFrame *from = panel("Panel1", this);
    QFrame *to = panel("Panel2", this);
    auto *fromColumn = new QVBoxLayout(from);
    auto *toColumn = new QVBoxLayout(to);
    for (int i = 0; i < addr::ToneCount; ++i) {
        const QString text = QStringLiteral("Tone %1").arg(i + 1);
        RBFrom[std::size_t(i)] =
            named(new QRadioButton(text, from), QStringLiteral("RBFrom%1").arg(i + 1));
        CBTo[std::size_t(i)] = named(new QCheckBox(text, to), QStringLiteral("CBTo%1").arg(i + 1));
        fromColumn->addWidget(RBFrom[std::size_t(i)]);
        toColumn->addWidget(CBTo[std::size_t(i)]);
        connect(RBFrom[std::size_t(i)], &QRadioButton::clicked, this,
                [this, i] { RBFrom1Click(i + 1); });
    }

    auto *label1 = named(new QLabel(QStringLiteral("Copy from :"), this), QStringLiteral("Label1"));
    auto *label2 = named(new QLabel(QStringLiteral("To Tone :"), this), QStringLiteral("Label2"));
    auto *label3 = named(new QLabel(QStringLiteral("->"), this), QStringLiteral("Label3"));
    Lfrom = named(new QLabel(QStringLiteral("1"), this), QStringLiteral("Lfrom"));
    BAll = named(new QPushButton(QStringLiteral("Copy To All"), this), QStringLiteral("BAll"));
    OKBtn = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("OKBtn"));
    CancelBtn = named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("CancelBtn"));
    BAll->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);
    OKBtn->setDefault(true);

    auto *grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(Lfrom, 0, 1);
    grid->addWidget(label2, 0, 3);
    grid->addWidget(from, 1, 0, 1, 2);
    grid->addWidget(label3, 1, 2, Qt::AlignCenter);
    grid->addWidget(to, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BAll);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto *column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttons);

    connect(BAll, &QPushButton::clicked, this, &TCopytoneform::BAllClick);
    connect(OKBtn, &QPushButton::clicked, this, &TCopytoneform::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    RBFrom[0]->setChecked(true);
    CBTo[0]->setEnabled(false);
    BAll->setFocus();
}

int TCopytoneform::sourceTone() const
{
    for (int i = 0; i < addr::ToneCount; ++i)
        if (RBFrom[std::size_t(i)]->isChecked())
            return i + 1;
    return 1;
}

bool TCopytoneform::destinationChecked(int tone) const
{
    return tone >= 1 && tone <= addr::ToneCount && CBTo[std::size_t(tone - 1)]->isChecked();
}

void TCopytoneform::RBFrom1Click(int tone)
{
    for (int i = 1; i <= addr::ToneCount; ++i) {
        QCheckBox *box = CBTo[std::size_t(i - 1)];
        if (i == tone) {
            box->setChecked(false);
            box->setEnabled(false);
            Lfrom->setText(QString::number(i));
            state_.CurrentTone = i;
        } else {
            box->setEnabled(true);
        }
    }
}

void TCopytoneform::BAllClick()
{
    for (QCheckBox *box : CBTo)
        if (box->isEnabled())
            box->setChecked(true);
}

void TCopytoneform::OKBtnClick()
{
    const int from = sourceTone();
    PatchImage &image = state_.patchImage;
    for (int to = 1; to <= addr::ToneCount; ++to) {
        if (to == from || !destinationChecked(to))
            continue;
        for (int i = 0; i < addr::ToneSize; ++i)
            image.set(to, i, image.tone(from, i));
    }
    Q_EMIT toneCopied();
    accept();
}
