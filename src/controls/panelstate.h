#pragma once
// How a control's outer bevel looks; shared by the small display controls.

enum class TPanelState
{
    None,
    Raised,
    Lowered
};
