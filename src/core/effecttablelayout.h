#pragma once
// The fixed layout data behind EffectTables, kept apart from the code that
// builds the value lists so the table reads as one block.

namespace efxlayout {

constexpr int TypeCount = 40;
constexpr int SlotCount = 12;

// The value lists by name; V0 marks a hidden slot.
// clang-format off
enum List : int {
    V0, V1, V2, V3, V4, V5, V6, V7, V8, V9, V10, V11, V12,
    V13, V14, V15, V16, V17, V18, V19, V20, V21, V22, V23, V24, V25,
    V26, V27, V28, V29, V30, V31, V32, V33, V34, V35, V36, V37, V38,
    ListCount
};
// clang-format on

struct RawSlot
{
    int slot = 0; // 1..12; 0 past the listed slots
    const char *label = nullptr;
    int list = V0;
    int offset = 0; // 1..12, counted from the effect type byte
};

struct RawType
{
    const char *name;
    const char *control1;
    const char *control2;
    RawSlot sliders[SlotCount];
};

extern const RawType Types[TypeCount];

} // namespace efxlayout
