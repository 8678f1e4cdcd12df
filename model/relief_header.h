// The 128-byte header of a 16-bit relief file: checks that repair a damaged
// header before its relief is used.
#pragma once

#include <cstdint>

// Repairs a 128-byte 16-bit relief header in place: non-finite origins become
// 0, zero or non-finite steps and Z unit 1; a highest cell below the lowest
// gives the range -32767..32767 and kind 255 with messages 697 and 58.
void CheckReliefHeaderAndWarn(uint8_t* header);
