#include "controls/focuscombobox.h"

#include <QStandardItemModel>
#include <QWheelEvent>

TFocusComboBox::TFocusComboBox(QWidget *parent) : QComboBox(parent)
{
    // The default wheel focus would let a passing wheel take the focus and
    // the value with it.
    setFocusPolicy(Qt::StrongFocus);
}

void TFocusComboBox::setRowSelectable(int row, bool selectable)
{
    auto *items = qobject_cast<QStandardItemModel *>(model());
    if (!items)
        return;
    if (QStandardItem *item = items->item(row, modelColumn())) {
        item->setFlags(selectable ? item->flags() | Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                  : item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    }
}

bool TFocusComboBox::isRowSelectable(int row) const
{
    const QModelIndex index = model()->index(row, modelColumn(), rootModelIndex());
    return index.isValid() && (index.flags() & Qt::ItemIsEnabled);
}

void TFocusComboBox::wheelEvent(QWheelEvent *e)
{
    // Unfocused, the notch belongs to whatever scrolls behind the list.
    if (!hasFocus()) {
        e->ignore();
        return;
    }
    QComboBox::wheelEvent(e);
}
