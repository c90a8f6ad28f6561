#pragma once
// Turns wheel motion into value steps for the custom controls: one notch is
// one step, as an arrow key; Shift alone makes it 5 and Ctrl alone 10, the
// same sizes as rolling with the mouse. Fine-grained wheels and touchpads
// deliver parts of a notch; those add up until a whole notch is reached.

#include <QWheelEvent>

class WheelSteps
{
public:
    static constexpr int NotchUnits = 120; // QWheelEvent angle units per notch
    static constexpr int ShiftStep = 5;
    static constexpr int CtrlStep = 10;

    static int stepSize(Qt::KeyboardModifiers mods)
    {
        mods &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (mods == Qt::ShiftModifier)
            return ShiftStep;
        if (mods == Qt::ControlModifier)
            return CtrlStep;
        return 1;
    }

    // Signed steps for this event, upward positive; 0 until a notch is full.
    int take(const QWheelEvent *e)
    {
        m_rest += e->angleDelta().y();
        const int notches = m_rest / NotchUnits;
        m_rest -= notches * NotchUnits;
        return notches * stepSize(e->modifiers());
    }

    void reset() { m_rest = 0; }

private:
    int m_rest = 0;
};
