#pragma once
// What the twelve effect parameter bytes mean for each of the 40 EFX types:
// per type its name, and per slider slot the label, the list of value texts
// and the parameter byte it edits. The stored byte of a parameter is the
// index into its list. Built once; never changed afterwards.
//
// Every lookup is safe: a type byte outside 0..39 (from a file or the synth)
// gets a layout with every slot hidden, and a list index outside its list
// gets an empty text, so no caller ever reads past a table.

#include <QString>
#include <QStringList>
#include <array>

class EffectTables
{
public:
    static constexpr int TypeCount = 40;
    static constexpr int SlotCount = 12;  // sliders; slot index 0..11
    static constexpr int ListCount = 39;  // value lists V0..V38
    static constexpr int HiddenList = 0;  // V0: the slot is not used by the type
    static constexpr int ShiftedList = 5; // V5 (" 0".." 127"), the fallback text

    struct Slot
    {
        QString label; // a single blank when hidden
        int list = HiddenList;
        int offset = 0; // 1..12 from the effect type byte; 0 when hidden
        bool visible() const { return list != HiddenList; }
    };

    struct Type
    {
        QString name; // "01: Stereo-EQ"
        std::array<Slot, SlotCount> sliders;
        QString control1Label; // what effect control source 1 acts on
        QString control2Label;
    };

    // Shared by every screen for the life of the program.
    static const EffectTables &instance();

    EffectTables();

    static bool isKnownType(int typeByte) { return typeByte >= 0 && typeByte < TypeCount; }

    // The layout of a type; an unknown type byte gets one with every slot
    // hidden, blank control labels and an empty name.
    const Type &type(int typeByte) const;
    // Slot 0..11 of a type; any index outside gives a hidden slot.
    const Slot &slot(int typeByte, int slotIndex) const;
    // The type's name, or the byte's number for an unknown type.
    QString typeName(int typeByte) const;
    // The names of all types in order, for the type list.
    const QStringList &typeNames() const { return m_typeNames; }

    // Number of entries of list V (0 for an unknown list).
    int listSize(int list) const;
    // Entry `index` of list V; empty outside the list.
    QString text(int list, int index) const;
    const QStringList &list(int list) const;

    // The text a slot's slider shows for a stored byte. A byte past the end
    // of the slot's list (a stale byte from another type) shows its V5 text.
    QString valueText(int typeByte, int slotIndex, int value) const;

private:
    std::array<QStringList, ListCount> m_lists;
    std::array<Type, TypeCount> m_types;
    Type m_unknown;
    QStringList m_typeNames;
    QStringList m_empty;
};
