#pragma once
// The patch sheet in a window of its own: every parameter of the edited
// patch as text, read-only, with Save (a text file) and Copy (clipboard).

#include <QString>
#include <QWidget>
#include <functional>

class InfoSink;
class QPlainTextEdit;
class QPushButton;

class TPatchSheetForm : public QWidget
{
    Q_OBJECT
public:
    // Returns the chosen file, or an empty string when the user cancelled.
    using FileChooser = std::function<QString(const QString &proposed)>;

    explicit TPatchSheetForm(InfoSink &info, QWidget *parent = nullptr);

    void setSheet(const QString &text, const QString &proposedFile);
    QString sheet() const;
    void setFileChooser(FileChooser chooser) { choose_ = std::move(chooser); }

    void BSaveClick();
    void BCopyClick();

private:
    InfoSink &info_;
    QPlainTextEdit *MSheet = nullptr;
    QPushButton *BSave = nullptr;
    QPushButton *BCopy = nullptr;
    QPushButton *BClose = nullptr;
    QString proposed_;
    FileChooser choose_;
};
