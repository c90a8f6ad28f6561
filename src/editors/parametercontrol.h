#pragma once
// The controls of the screens that are built from a parameter table: one
// control per row, chosen by the row's kind, and the moves of a value
// between control, buffer and synthesizer. A screen keeps the irregular
// parts (group lists, rules between parameters) and leaves the rest here.

#include "core/addressmap.h"
#include "core/parameterdef.h"

#include <QString>
#include <array>
#include <functional>

class EditState;
class QLineEdit;
class QObject;
class QWidget;
class SysexProtocol;

class ParameterControl
{
public:
    // A check box for a switch, a drop-down list for a text list or a group
    // (a group's rows are the screen's to fill), an LED spin for a number,
    // a line edit for a name. The control carries name as its object name.
    static QWidget *create(const ParameterDef &def, const QString &name, QWidget *parent);

    // Shows stored value v; the caller holds a LoadScope, since controls
    // announce program changes too. A value outside the row's range shows
    // as no list row, or clamped in a spin.
    static void show(QWidget *control, const ParameterDef &def, int v);
    // The stored value the control shows, or -1 when it shows none.
    static int stored(const QWidget *control, const ParameterDef &def);
    // Runs edited after each change the user makes.
    static void onEdit(QWidget *control, const ParameterDef &def, QObject *context,
                       const std::function<void()> &edited);

    // A name field: shows the twelve stored characters, and turns what was
    // typed into twelve bytes the unit can show (others become blanks, in
    // the field too).
    static void showName(QLineEdit *edit, const std::uint8_t *bytes);
    static std::array<std::uint8_t, ParameterDef::NameSize> nameBytes(QLineEdit *edit);

    // One data set of the parameter's bytes, unless each equals the byte
    // the editor knows at its address. True when it was sent.
    static bool send(SysexProtocol &protocol, const EditState &state, const addr::Address &adrs,
                     const std::uint8_t *bytes, int count);
};
