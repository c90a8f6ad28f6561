#pragma once
// The main window's commands about edits: Undo and Redo in an Edit menu,
// naming what they take back ("Undo Cutoff (tone 2)"), Compare beside them,
// and File -> "Patch Sheet..." with the sheet's window. Ctrl+Z and
// Ctrl+Shift+Z work from every window of the program. After an undo or redo
// every open screen shows the image again.

#include <QObject>
#include <QPointer>
#include <QString>

class CompareToggle;
class EditHistory;
class EditState;
class InfoSink;
class QAction;
class TMidiMainForm;
class TPatchSheetForm;

class MainFormEdits : public QObject
{
    Q_OBJECT
public:
    static const QString UndoCaption;
    static const QString RedoCaption;
    static const QString SheetCaption;

    MainFormEdits(TMidiMainForm &form, EditState &state, InfoSink &info, EditHistory &history,
                  CompareToggle &compare);

    void MUndoClick();
    void MRedoClick();
    void MPatchSheetClick();

    QAction *undoAction() const { return undo_; }
    QAction *redoAction() const { return redo_; }
    // The sheet's window while it exists.
    TPatchSheetForm *sheetForm() const;
    // The sheet of the edited patch, as the window shows it.
    QString sheetText() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateActions();
    void report(int result, const QString &what, bool undo);

    TMidiMainForm &form_;
    EditState &state_;
    InfoSink &info_;
    EditHistory &history_;
    CompareToggle &compare_;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
    QPointer<TPatchSheetForm> sheet_;
};
