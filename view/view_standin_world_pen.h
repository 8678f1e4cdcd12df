// TEMPORARY STAND-IN, to be replaced by the view transform module (drawing of
// vector records in world coordinates). It holds only the pen flag that the
// character-cell text sets; remove this file once that module defines it.
#pragma once

#include <cstdint>

// Set: the next visible world line starts with a screen MoveTo (the screen
// position was moved by other drawing).
extern uint8_t PenPendingMove;
