// The file list with thumbnails: a popup window that shows the files of one
// folder matching a filter pattern as a grid of twelve thumbnails (four
// across, three down) with their names below. The user pages with the
// scroll buttons or the wheel, picks a file with the left button and
// confirms with OK; the right button opens a small menu with OK and
// Abbruch.
//
// Geometry (window pixels; T = the top of the graphic area): the frame runs
// from (1, T + 1) to (772, T + 501); tile (row r, column c, from 1) has its
// top-left corner at (9 + 184 (c - 1), T + 33 + 144 (r - 1)) and is 180 x 124;
// the scroll bar stands at x = 764 from T + 33 to T + 449; OK covers
// (548, T + 465)-(640, T + 493), cancel (648, T + 465)-(740, T + 493).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/panels.h"

constexpr int kFileListMaxEntries = 9999;
constexpr int kFileListNameMax = 80;
constexpr int kFileListExtensions = 8;
constexpr int kFileListTiles = 12;

// Results of the list window.
constexpr int kFileListRunning = 0;
constexpr int kFileListOk = 1;
constexpr int kFileListCancelled = 3;

// State of one run of the list window.
struct TFileListState {
  std::string folder;   // with a trailing backslash
  std::string pattern;
  std::vector<std::string> entries;  // entry i + 1 of the list is entries[i]
  int top = 1;          // first entry shown, from 1
  int selected = 0;     // 0 = none
  int result = kFileListRunning;
};

// Lists the folder's files that match the pattern and runs the list window;
// true with fileName = folder + the chosen name (cut to maxLength), false
// with an empty name.
bool ChooseFileFromList(const std::string& folder, const std::string& pattern, std::string& fileName,
                        int maxLength);
// The folder part of a path with its trailing backslash; empty without one.
std::string GetFileFolder(const std::string& path);
// Fills the box in the colour (copy mode) and draws the bevel frame around it.
void DrawFilledBevelBox(const TBox& box, int colour);

// --- pieces (tests use them) ---------------------------------------------------------------
// Up to eight upper-cased extensions of the pattern ("*.lg1;*.h2r" gives ".LG1", ".H2R").
int ParseExtensionPattern(const std::string& pattern, std::string (&extensions)[kFileListExtensions]);
// The folder's entries with one of the extensions, names cut to 80, sorted.
std::vector<std::string> BuildFileList(const std::string& folder, const std::string& pattern);
// Selection sort on upper-cased names; equal names keep their order.
void SortFileList(std::vector<std::string>& entries);
// The top of the graphic area below the prompt lines.
int FileListTop();
// The tile box of tile 1..12.
TBox FileListTileBox(int tile);
// The scroll, OK and cancel buttons: 1 row up, 2 page up, 3 page down,
// 4 row down, 5 OK, 6 cancel.
TBox FileListButtonBox(int button);
// The button action on the state (redraws the grid when the top moved).
void HandleFileListButton(TFileListState& state, int button);
// The label of a name under its tile: cut to 35 characters, then shortened
// until it is at most 180 pixels wide in the sized font.
std::string FileListLabel(const std::string& name);
