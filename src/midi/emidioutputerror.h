#pragma once

#include "midi/midiporterror.h"

// Raised by the output port.
class EmidioutputError : public MidiPortError
{
public:
    using MidiPortError::MidiPortError;
};
