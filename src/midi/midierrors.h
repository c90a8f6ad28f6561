#pragma once
// Everything the MIDI ports raise, in one include.

#include "midi/emidiinputerror.h"
#include "midi/emidioutputerror.h"
#include "midi/midiporterror.h"
