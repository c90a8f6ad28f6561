#pragma once
// A drop-down list that leaves the mouse wheel alone until the user has
// clicked or tabbed into it, so scrolling past it never changes a value.
// Rows can be greyed out: neither keys, wheel nor the open list can choose
// them, while program code still may.

#include <QComboBox>

class TFocusComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TFocusComboBox(QWidget *parent = nullptr);

    void setRowSelectable(int row, bool selectable);
    bool isRowSelectable(int row) const;

protected:
    void wheelEvent(QWheelEvent *e) override;
};
