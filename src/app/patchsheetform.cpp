#include "app/patchsheetform.h"

#include "core/infosink.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
constexpr char Caption[] = "Patch Sheet";
constexpr char TextFilter[] = "Text Files (*.txt);;All Files (*)";
constexpr int DefaultWidth = 560;
constexpr int DefaultHeight = 640;
} // namespace

TPatchSheetForm::TPatchSheetForm(InfoSink &info, QWidget *parent)
    : QWidget(parent, Qt::Window), info_(info)
{
    setObjectName(QStringLiteral("PatchSheetForm"));
    setWindowTitle(QLatin1String(Caption));
    MSheet = new QPlainTextEdit(this);
    MSheet->setObjectName(QStringLiteral("MSheet"));
    MSheet->setReadOnly(true);
    MSheet->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The columns line up only in a fixed-pitch font.
    MSheet->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    BSave = new QPushButton(QStringLiteral("&Save..."), this);
    BSave->setObjectName(QStringLiteral("BSave"));
    BCopy = new QPushButton(QStringLiteral("&Copy"), this);
    BCopy->setObjectName(QStringLiteral("BCopy"));
    BClose = new QPushButton(QStringLiteral("Close"), this);
    BClose->setObjectName(QStringLiteral("BClose"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BSave);
    buttons->addWidget(BCopy);
    buttons->addStretch(1);
    buttons->addWidget(BClose);
    auto *column = new QVBoxLayout(this);
    column->addWidget(MSheet, 1);
    column->addLayout(buttons);
    resize(DefaultWidth, DefaultHeight);

    choose_ = [this](const QString &proposed) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save Patch Sheet"), proposed,
                                            QLatin1String(TextFilter));
    };
    connect(BSave, &QPushButton::clicked, this, &TPatchSheetForm::BSaveClick);
    connect(BCopy, &QPushButton::clicked, this, &TPatchSheetForm::BCopyClick);
    connect(BClose, &QPushButton::clicked, this, &QWidget::close);
}

void TPatchSheetForm::setSheet(const QString &text, const QString &proposedFile)
{
    MSheet->setPlainText(text);
    proposed_ = proposedFile;
}

QString TPatchSheetForm::sheet() const
{
    return MSheet->toPlainText();
}

void TPatchSheetForm::BCopyClick()
{
    QGuiApplication::clipboard()->setText(sheet());
}

void TPatchSheetForm::BSaveClick()
{
    const QString path = choose_(proposed_);
    if (path.isEmpty())
        return;
    const QByteArray bytes = sheet().toUtf8();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        info_.ShowInfo(QStringLiteral("%1 could not be written: %2.").arg(path, f.errorString()));
        return;
    }
    proposed_ = path;
}
