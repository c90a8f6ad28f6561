#include "app/banklist.h"

#include "core/patchbank.h"

#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

namespace {
constexpr int NumberDigits = 3;
constexpr int RowsShown = 24;
constexpr char ChangedMark[] = "*";
// A name as wide as the widest the synthesizer can hold, for the column.
constexpr char WidestName[] = "MMMMMMmmmmmm";
constexpr char WidestNumber[] = "U:000 ";
const QString ChangedTip = QStringLiteral("Changed since fetched or opened");
} // namespace

TBankList::TBankList(QWidget *parent) : QTableWidget(PatchBank::PlaceCount, ColumnCount, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("Name"), QString()});
    horizontalHeader()->setSectionResizeMode(NumberColumn, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(ChangedColumn, QHeaderView::ResizeToContents);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(DragDrop);
    setDropIndicatorShown(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
            setItem(row, column, item);
        }
    connect(this, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { Q_EMIT placeActivated(row + 1); });
    refresh();
}

void TBankList::setBank(const PatchBank *bank)
{
    bank_ = bank;
    refresh();
}

void TBankList::setPlacePrefix(const QString &prefix)
{
    prefix_ = prefix;
    refresh();
}

QString TBankList::placeText(int place) const
{
    return prefix_ + QStringLiteral("%1").arg(place, NumberDigits, 10, QLatin1Char('0'));
}

void TBankList::refresh()
{
    for (int place = 1; place <= PatchBank::PlaceCount; ++place)
        refreshPlace(place);
}

void TBankList::refreshPlace(int place)
{
    if (!PatchBank::validPlace(place))
        return;
    const int row = place - 1;
    const bool filled = bank_ && bank_->has(place);
    const bool changed = bank_ && bank_->changed(place);
    item(row, NumberColumn)->setText(placeText(place));
    // Trailing blanks are part of the stored name but would only push the
    // text of the next column away.
    const QString name = filled ? QString::fromLatin1(bank_->name(place)).trimmed() : QString();
    item(row, NameColumn)->setText(name);
    item(row, ChangedColumn)->setText(changed ? QLatin1String(ChangedMark) : QString());
    item(row, ChangedColumn)->setToolTip(changed ? ChangedTip : QString());
    const QPalette::ColorGroup group = filled ? QPalette::Active : QPalette::Disabled;
    item(row, NumberColumn)->setForeground(palette().brush(group, QPalette::Text));
    const bool match = !filter_.isEmpty() && name.contains(filter_, Qt::CaseInsensitive);
    QFont font = this->font();
    font.setBold(match);
    item(row, NameColumn)->setFont(font);
    setRowHidden(row, !filter_.isEmpty() && !match);
}

void TBankList::setFilter(const QString &text)
{
    filter_ = text.trimmed();
    refresh();
}

QList<int> TBankList::selectedPlaces() const
{
    QList<int> places;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex &index : rows)
        places << index.row() + 1;
    std::sort(places.begin(), places.end());
    return places;
}

int TBankList::currentPlace() const
{
    return currentRow() < 0 ? 0 : currentRow() + 1;
}

void TBankList::selectPlaces(int first, int last)
{
    clearSelection();
    setCurrentCell(first - 1, NameColumn,
                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    setRangeSelected(QTableWidgetSelectionRange(first - 1, 0, last - 1, ColumnCount - 1), true);
}

QRect TBankList::placeRect(int place) const
{
    return visualItemRect(item(place - 1, NameColumn));
}

QMimeData *TBankList::dragMime() const
{
    // Only filled places travel: an empty one dropped elsewhere would have
    // nothing to put there.
    QList<int> places;
    for (int place : selectedPlaces())
        if (bank_ && bank_->has(place))
            places << place;
    if (places.isEmpty())
        return nullptr;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    // The process makes a list's id meaningful: a drag from another running
    // editor must not be taken for one of ours.
    out << qint64(QCoreApplication::applicationPid()) << quint64(listId()) << places;
    auto *mime = new QMimeData;
    mime->setData(QLatin1String(PlacesMimeType), payload);
    return mime;
}

TBankList::Dragged TBankList::draggedOf(const QMimeData *data)
{
    if (!data || !data->hasFormat(QLatin1String(PlacesMimeType)))
        return {};
    QDataStream in(data->data(QLatin1String(PlacesMimeType)));
    qint64 pid = 0;
    quint64 id = 0;
    QList<int> places;
    in >> pid >> id >> places;
    if (in.status() != QDataStream::Ok || pid != QCoreApplication::applicationPid())
        return {};
    for (int place : places)
        if (!PatchBank::validPlace(place))
            return {};
    return {quintptr(id), places};
}

QSize TBankList::sizeHint() const
{
    const int width = fontMetrics().horizontalAdvance(QLatin1String(WidestNumber)) +
                      fontMetrics().horizontalAdvance(QLatin1String(WidestName)) +
                      fontMetrics().horizontalAdvance(QStringLiteral(" %1 ").arg(ChangedMark)) +
                      verticalScrollBar()->sizeHint().width() + 4 * frameWidth() +
                      3 * style()->pixelMetric(QStyle::PM_HeaderMargin) * 2;
    const int height = horizontalHeader()->sizeHint().height() +
                       RowsShown * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
    return {width, height};
}

void TBankList::keyPressEvent(QKeyEvent *event)
{
    // Return plays the current place, as a double click does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentPlace() > 0) {
        Q_EMIT placeActivated(currentPlace());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TBankList::startDrag(Qt::DropActions)
{
    QMimeData *mime = dragMime();
    if (!mime)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool TBankList::dropCopies(quintptr sourceId, Qt::KeyboardModifiers modifiers) const
{
    const bool sameBank = sourceId == listId();
    const bool toggled = modifiers.testFlag(Qt::ControlModifier);
    return sameBank == toggled;
}

int TBankList::placeAt(const QPoint &pos) const
{
    const int row = rowAt(pos.y());
    return row < 0 ? 0 : row + 1;
}

void TBankList::dragEnterEvent(QDragEnterEvent *event)
{
    if (!draggedOf(event->mimeData()).places.isEmpty())
        event->accept();
    else
        event->ignore();
}

void TBankList::dragMoveEvent(QDragMoveEvent *event)
{
    // The base class scrolls a list whose end is out of sight; whether the
    // drop is taken is decided here.
    QTableWidget::dragMoveEvent(event);
    const Dragged dragged = draggedOf(event->mimeData());
    if (dragged.places.isEmpty() || placeAt(event->position().toPoint()) == 0) {
        event->ignore();
        return;
    }
    event->setDropAction(dropCopies(dragged.sourceId, event->modifiers()) ? Qt::CopyAction
                                                                          : Qt::MoveAction);
    event->accept();
}

void TBankList::dropEvent(QDropEvent *event)
{
    const Dragged dragged = draggedOf(event->mimeData());
    const int target = placeAt(event->position().toPoint());
    if (dragged.places.isEmpty() || target == 0) {
        event->ignore();
        return;
    }
    const bool copy = dropCopies(dragged.sourceId, event->modifiers());
    // The librarian has done the move itself; the drag must not remove
    // anything after it.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    Q_EMIT placesDropped(dragged.sourceId, dragged.places, target, copy);
}
