#include "app/entryform.h"

#include "app/programpicture.h"
#include "app/windowplacement.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#ifndef TESSIVA_VERSION
#error "TESSIVA_VERSION comes from the build"
#endif

namespace {
constexpr int Margin = 14;
constexpr int ProductPointGrowth = 6;
} // namespace

TEntryForm::TEntryForm(QWidget *mainWindow, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("EntryForm"));
    // The main window is hidden while the splash is up: the screen is its
    // anchor.
    WindowPlacement::install(*this, WindowPlacement::Mode::Centre);
    setWindowTitle(QLatin1String(ProductText));
    setModal(true);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    // Drawn at the screen's own resolution: scaled up it would be blurred.
    const qreal dpr = devicePixelRatioF();
    QImage picture = ProgramPicture(qRound(PictureSize * dpr));
    picture.setDevicePixelRatio(dpr);
    ProgramIcon->setPixmap(QPixmap::fromImage(picture));
    ProgramIcon->setFixedSize(PictureSize, PictureSize);

    ProductName = new QLabel(QLatin1String(ProductText), panel);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont big = ProductName->font();
    big.setPointSize(big.pointSize() + ProductPointGrowth);
    big.setBold(true);
    ProductName->setFont(big);

    Version = new QLabel(versionText(), panel);
    Version->setObjectName(QStringLiteral("Version"));

    StaticText1 = new QLabel(QLatin1String(WaitText), panel);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setFrameShape(QFrame::StyledPanel);
    StaticText1->setFrameShadow(QFrame::Sunken);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setEnabled(false);
    OKButton->setAutoDefault(false);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(Margin, Margin, Margin, Margin);
    grid->setHorizontalSpacing(Margin);
    grid->addWidget(ProgramIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(ProductName, 0, 1);
    grid->addWidget(Version, 1, 1);
    grid->addWidget(StaticText1, 2, 1, Qt::AlignLeft | Qt::AlignBottom);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(Margin / 2, Margin / 2, Margin / 2, Margin / 2);
    outer->addWidget(panel);
    outer->addWidget(OKButton, 0, Qt::AlignHCenter);
    adjustSize();

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(ShowTime);
    connect(Timer1, &QTimer::timeout, this, &TEntryForm::Timer1Timer);
}

QString TEntryForm::versionText()
{
    return QStringLiteral("Version ") + QLatin1String(TESSIVA_VERSION);
}

void TEntryForm::showEvent(QShowEvent *event)
{
    if (mainWindow_)
        mainWindow_->hide();
    QDialog::showEvent(event);
    if (!done_ && !Timer1->isActive())
        Timer1->start();
}

void TEntryForm::Timer1Timer()
{
    OKButton->setEnabled(true);
    StaticText1->hide();
    done_ = true;
    // The main window comes up before the splash goes, so there is never a
    // moment without a window.
    if (mainWindow_)
        mainWindow_->show();
    accept();
}

void TEntryForm::reject()
{
    if (done_)
        QDialog::reject();
}

void TEntryForm::closeEvent(QCloseEvent *event)
{
    if (done_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}
