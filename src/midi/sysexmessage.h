#pragma once
// The framing lives with the patch model, which reads and writes .syx files
// without any MIDI code; the ports and the protocol still find it here.
#include "core/sysexmessage.h"
