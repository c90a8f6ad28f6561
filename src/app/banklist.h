#pragma once
// One bank of the librarian as a list of its 128 places: number, name and a
// mark for places changed since the bank was fetched or opened. Places are
// dragged to another place of the same list or of the other bank's list;
// the list only says what was dropped where, the librarian decides.

#include <QList>
#include <QTableWidget>

class PatchBank;
class QMimeData;

class TBankList : public QTableWidget
{
    Q_OBJECT
public:
    static constexpr char PlacesMimeType[] = "application/x-tessiva-bank-places";

    enum Column
    {
        NumberColumn,
        NameColumn,
        ChangedColumn,
        ColumnCount
    };

    explicit TBankList(QWidget *parent = nullptr);

    // The bank shown; it must outlive the list.
    void setBank(const PatchBank *bank);
    // Written before each number ("U:" shows U:001).
    void setPlacePrefix(const QString &prefix);
    QString placeText(int place) const;

    void refresh();
    void refreshPlace(int place);
    // Shows only the places whose name holds text, in any letter case, with
    // the matching names in bold; an empty text shows every place.
    void setFilter(const QString &text);

    // The selected places in order, empty ones included.
    QList<int> selectedPlaces() const;
    // The place of the current row, 0 when there is none.
    int currentPlace() const;
    void selectPlaces(int first, int last);
    // Where a place's row is drawn, in viewport coordinates.
    QRect placeRect(int place) const;

    // What a drag from this list carries: its selected filled places, and
    // which list they come from. Null when no filled place is selected.
    QMimeData *dragMime() const;
    // Tells lists apart in a drag's data; never used as a pointer.
    quintptr listId() const { return reinterpret_cast<quintptr>(this); }

    QSize sizeHint() const override;

Q_SIGNALS:
    // Places of the list sourceId names were dropped with the first at
    // target. copy is false for a move.
    void placesDropped(quintptr sourceId, const QList<int> &places, int target, bool copy);
    void placeActivated(int place);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    struct Dragged
    {
        quintptr sourceId = 0;
        QList<int> places; // empty when the data are none of ours
    };
    static Dragged draggedOf(const QMimeData *data);
    // Whether a drop copies or moves: between banks a copy, within one a
    // move; Ctrl turns one into the other.
    bool dropCopies(quintptr sourceId, Qt::KeyboardModifiers modifiers) const;
    int placeAt(const QPoint &pos) const;

    const PatchBank *bank_ = nullptr;
    QString prefix_;
    QString filter_;
};
