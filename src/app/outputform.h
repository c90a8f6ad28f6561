#pragma once
// The message log window: hex dumps of the System Exclusive traffic, the
// incoming messages in the upper memo, the outgoing ones in the lower memo.

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

// Lines added to each memo since it was last emptied. They belong to the
// hub, so a new log window continues where the closed one stopped.
struct LogLineCounters
{
    int in = 0;
    int out = 0;
};

class TOutputForm : public QWidget
{
    Q_OBJECT
public:
    // A memo starts afresh once it holds this many added lines.
    static constexpr int MaxAddedLines = 111;

    explicit TOutputForm(LogLineCounters &counters, QWidget *parent = nullptr);

    void AddOutLog(const QString &line);
    void AddInLog(const QString &line);

    // The memo contents line by line, as the user sees them.
    QStringList inLines() const;
    QStringList outLines() const;

Q_SIGNALS:
    void closed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *Ptop;
    QWidget *Pbott;
    QLabel *LLastMidiIn;
    QLabel *Label1;
    QPlainTextEdit *Memo1;
    QPlainTextEdit *Memo2;
    LogLineCounters &counters_;
};
