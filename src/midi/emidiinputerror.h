#pragma once

#include "midi/midiporterror.h"

// Raised by the input port.
class EMidiInputError : public MidiPortError
{
public:
    using MidiPortError::MidiPortError;
};
