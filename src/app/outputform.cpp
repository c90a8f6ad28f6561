#include "app/outputform.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

constexpr int InitialWidth = 560;
constexpr int InitialHeight = 420;
constexpr int PanelMargin = 4;

QPlainTextEdit *makeMemo(QWidget *panel, const QString &name, const QString &firstLine)
{
    auto *memo = new QPlainTextEdit(panel);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A heading and an empty line, like a freshly opened log.
    memo->setPlainText(firstLine + QLatin1Char('\n'));
    return memo;
}

QWidget *makePanel(QWidget *parent, const QString &name, QLabel *&label, const QString &caption,
                   QPlainTextEdit *&memo, const QString &memoName, const QString &firstLine)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(PanelMargin, PanelMargin, PanelMargin, PanelMargin);
    label = new QLabel(caption, panel);
    memo = makeMemo(panel, memoName, firstLine);
    layout->addWidget(label);
    layout->addWidget(memo, 1);
    return panel;
}

// Keeps the memo to a bounded size: once it holds the maximum number of
// added lines, it is emptied before the next one.
void addCounted(QPlainTextEdit *memo, int &counter, const QString &line)
{
    if (counter >= TOutputForm::MaxAddedLines) {
        counter = 0;
        memo->setPlainText(line);
    } else {
        memo->appendPlainText(line);
    }
    ++counter;
}

QStringList linesOf(const QPlainTextEdit *memo)
{
    QStringList lines;
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next())
        lines.append(b.text());
    return lines;
}

} // namespace

TOutputForm::TOutputForm(LogLineCounters &counters, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      counters_(counters)
{
    setObjectName(QStringLiteral("OutputForm"));
    setWindowTitle(QStringLiteral("View Messages In-Out"));
    Ptop = makePanel(this, QStringLiteral("Ptop"), LLastMidiIn,
                     QStringLiteral("Last Sysex In Message:"), Memo1, QStringLiteral("Memo1"),
                     QStringLiteral("Sysex In:"));
    Pbott = makePanel(this, QStringLiteral("Pbott"), Label1, QStringLiteral("Last Sysex Out"),
                      Memo2, QStringLiteral("Memo2"), QStringLiteral("Sysex Out:"));
    LLastMidiIn->setObjectName(QStringLiteral("LLastMidiIn"));
    Label1->setObjectName(QStringLiteral("Label1"));
    resize(InitialWidth, InitialHeight);
}

void TOutputForm::AddOutLog(const QString &line)
{
    addCounted(Memo2, counters_.out, line);
}

void TOutputForm::AddInLog(const QString &line)
{
    addCounted(Memo1, counters_.in, line);
}

QStringList TOutputForm::inLines() const
{
    return linesOf(Memo1);
}

QStringList TOutputForm::outLines() const
{
    return linesOf(Memo2);
}

void TOutputForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    Ptop->setGeometry(0, 0, width(), half);
    Pbott->setGeometry(0, half + 1, width(), height() - half - 1);
}

void TOutputForm::closeEvent(QCloseEvent *event)
{
    Q_EMIT closed();
    QWidget::closeEvent(event);
}
