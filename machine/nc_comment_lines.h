// The four comment lines that the program header of an NC file writes:
// parameter block 56, four strings of up to 50 characters (4 x 51 bytes,
// a length byte followed by the characters).
#pragma once

#include <cstdint>
#include <string>

constexpr int16_t kNcCommentBlock = 56;
constexpr int kNcCommentLines = 4;
constexpr int kNcCommentLineMax = 50;

#pragma pack(push, 1)
struct TNcCommentLines {
  uint8_t lines[kNcCommentLines][kNcCommentLineMax + 1];
};
#pragma pack(pop)
static_assert(sizeof(TNcCommentLines) == 204);

// Line k (0-3) of block 56; a stored length above 50 is read as 50.
std::string GetNcCommentLine(int k);
// Edits the four lines in a popup titled title + ": " + message 2521:
// Enter, Down and PgDn go to the next line, Up and PgUp to the previous one,
// a click picks a line; OK (F1 or the button) writes them back to block 56,
// Esc and the cancel button leave the block as it was.
void EditProgramCommentLines(const std::string& title);
