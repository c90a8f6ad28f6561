#include "app/mainformedits.h"

#include "app/comparetoggle.h"
#include "app/mainform.h"
#include "app/patchsheetform.h"
#include "core/editstate.h"
#include "core/patchfile.h"
#include "core/patchsheet.h"
#include "core/programdir.h"
#include "core/wavenamelookup.h"
#include "midi/edithistory.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

const QString MainFormEdits::UndoCaption = QStringLiteral("Undo");
const QString MainFormEdits::RedoCaption = QStringLiteral("Redo");
const QString MainFormEdits::SheetCaption = QStringLiteral("Patch Sheet\u2026");

namespace {
constexpr int StatusMs = 5000;
constexpr char SheetSuffix[] = "-sheet.txt";
const QKeySequence UndoKey(Qt::CTRL | Qt::Key_Z);
const QKeySequence RedoKey(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
} // namespace

MainFormEdits::MainFormEdits(TMidiMainForm &form, EditState &state, InfoSink &info,
                             EditHistory &history, CompareToggle &compare)
    : QObject(&form), form_(form), state_(state), info_(info), history_(history), compare_(compare)
{
    setObjectName(QStringLiteral("MainFormEdits"));
    QMenuBar *bar = form.menuBar();
    const QList<QAction *> menus = bar->actions();
    auto *edit = new QMenu(QStringLiteral("&Edit"), bar);
    edit->setObjectName(QStringLiteral("MEdit"));
    // Beside File, as everywhere else.
    bar->insertMenu(menus.size() > 1 ? menus.at(1) : nullptr, edit);

    const auto add = [&](const QString &text, const char *name, const QKeySequence &key) {
        QAction *a = edit->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        // The editing screens are windows of their own: the keys work there.
        a->setShortcutContext(Qt::ApplicationShortcut);
        return a;
    };
    undo_ = add(UndoCaption, "MUndo", UndoKey);
    redo_ = add(RedoCaption, "MRedo", RedoKey);
    connect(undo_, &QAction::triggered, this, &MainFormEdits::MUndoClick);
    connect(redo_, &QAction::triggered, this, &MainFormEdits::MRedoClick);
    edit->addSeparator();
    edit->addAction(compare.action());

    // File: the sheet comes before Exit.
    if (auto *exit = form.findChild<QAction *>(QStringLiteral("MExit"))) {
        for (QMenu *file : form.findChildren<QMenu *>()) {
            if (!file->actions().contains(exit))
                continue;
            const QList<QAction *> items = file->actions();
            const qsizetype at = items.indexOf(exit);
            QAction *before = at > 0 && items.at(at - 1)->isSeparator() ? items.at(at - 1) : exit;
            auto *sheet = new QAction(SheetCaption, file);
            sheet->setObjectName(QStringLiteral("MPatchSheet"));
            file->insertAction(before, sheet);
            connect(sheet, &QAction::triggered, this, &MainFormEdits::MPatchSheetClick);
            break;
        }
    }

    // The name field keeps Ctrl+Z for its own text otherwise.
    if (auto *name = form.findChild<QLineEdit *>(QStringLiteral("EPtchName")))
        name->installEventFilter(this);
    connect(&history, &EditHistory::changed, this, &MainFormEdits::updateActions);
    connect(&history, &EditHistory::applied, this, [this] { form_.B_UpdateAllClick(); });
    updateActions();
}

bool MainFormEdits::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        if (pressed == UndoKey || pressed == RedoKey) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MainFormEdits::updateActions()
{
    const QString undoText = history_.undoText();
    const QString redoText = history_.redoText();
    undo_->setText(history_.canUndo() ? UndoCaption + QLatin1Char(' ') + undoText : UndoCaption);
    redo_->setText(history_.canRedo() ? RedoCaption + QLatin1Char(' ') + redoText : RedoCaption);
    undo_->setEnabled(history_.canUndo());
    redo_->setEnabled(history_.canRedo());
}

void MainFormEdits::MUndoClick()
{
    compare_.stop();
    const QString what = history_.undoText();
    report(int(history_.undo()), what, true);
}

void MainFormEdits::MRedoClick()
{
    compare_.stop();
    const QString what = history_.redoText();
    report(int(history_.redo()), what, false);
}

void MainFormEdits::report(int result, const QString &what, bool undo)
{
    const QString done = (undo ? QStringLiteral("Undone: ") : QStringLiteral("Redone: ")) + what;
    switch (EditHistory::Result(result)) {
    case EditHistory::Result::Done:
        form_.statusBar()->showMessage(done, StatusMs);
        break;
    case EditHistory::Result::Offline:
        form_.statusBar()->showMessage(
            done + QStringLiteral(" (MIDI closed: the synthesizer did not follow)"), StatusMs);
        break;
    case EditHistory::Result::Locked:
        form_.statusBar()->showMessage(
            QStringLiteral("Not now: the patch is still loading from the synthesizer."), StatusMs);
        break;
    case EditHistory::Result::Nothing:
    case EditHistory::Result::Busy:
        break;
    }
}

QString MainFormEdits::sheetText() const
{
    std::vector<ExpansionSlot> fitted(state_.Expansion.begin(), state_.Expansion.end());
    WaveNameLookup waves(form_.programDir() + QLatin1String(ExpansionFolderName) + QLatin1Char('/'),
                         fitted);
    const QString file = form_.PatchFileName.isEmpty() ? QStringLiteral("NoName.Pat")
                                                       : QFileInfo(form_.PatchFileName).fileName();
    return PatchSheet(&waves).text(state_.patchImage, QStringLiteral("Patch sheet: ") + file);
}

void MainFormEdits::MPatchSheetClick()
{
    if (!sheet_)
        sheet_ = new TPatchSheetForm(info_, &form_);
    const QString base = form_.PatchFileName.isEmpty()
                             ? PatchFile::DefaultFileName(state_.patchImage)
                             : form_.PatchFileName;
    const QFileInfo info(base);
    sheet_->setSheet(sheetText(), info.path() + QLatin1Char('/') + info.completeBaseName() +
                                      QLatin1String(SheetSuffix));
    sheet_->show();
    sheet_->raise();
    sheet_->activateWindow();
}

TPatchSheetForm *MainFormEdits::sheetForm() const
{
    return sheet_;
}
