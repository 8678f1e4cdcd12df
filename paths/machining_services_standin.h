// TEMPORARY STAND-IN for the machining operations and tools services, to be
// replaced when that subsystem is built.
#pragma once

#include <cstdint>

// True when any of the tools 0 to n of the tool table (parameter block 15)
// differs from the empty tool record.
bool HasDefinedTools(int16_t n);
