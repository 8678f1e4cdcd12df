// The tool table and tool records carried by path files.
//
// The tool table is parameter block 15: 200 tool records (TToolRecord, 140
// bytes each, places 0-199); place n is the tool of drawing layer n, so the
// current tool is the one at the current layer. Every access copies the whole
// block out and, when it changed something, stores the whole block back;
// nothing is cached.
//
// In a vector file a tool travels as the eight records of types 150-157 of a
// path block header (see path_blocks.h):
//   150  shank radius, tip radius, angle
//   151  ball radius, 0, colour as a packed RGB value (32-bit integer)
//   152  name characters 1-10: length byte, text, zero byte
//   153  name characters 11-20, stored the same way
//   154  all zero
//   155  tool type code (0-255), passes-applied mark, Z feed
//   156  XY feed, plunge depth, clearance height
//   157  spindle speed, tool life, change station; closes one tool
#pragma once

#include <cstdint>
#include <string>

#include "frame/defaults.h"
#include "model/vector_records.h"
#include "paths/tool_table_editor.h"
#include "ui/panels.h"

constexpr int kToolCount = 200;
constexpr int16_t kToolTableBlock = 15;
constexpr int32_t kToolTableBytes = 28000;
static_assert(kToolCount * sizeof(TToolRecord) == kToolTableBytes);

// Check bits of CheckToolValues.
enum TToolCheckBit : uint8_t {
  kToolCheckPlunge = 1,    // plunge depth not above 0
  kToolCheckRadius = 2,    // neither tip nor ball radius above 0
  kToolCheckFeedXY = 4,    // XY feed not above 0
  kToolCheckFeedZ = 8,     // Z feed not above 0
  kToolCheckStation = 16,  // change station 0
  kToolCheckAll = 31,
};

// The packed RGB value (red low byte, green, blue) a colour number is stored
// as in path files: the 16 standard colours for 0-15, 16-28 and 29-31 repeat
// 2-14 and 1-3; any other number gives 0.
uint32_t ToolColourToRgb(int32_t colourNumber);

// The name of a tool (at most 40 characters) and setting it (cut to 40).
std::string ToolNameText(const TToolRecord& tool);
void SetToolNameText(TToolRecord& tool, const std::string& name);

// --- the table ---------------------------------------------------------------------
// Tool n (0-199) of the table; any other place gives the default tool with
// colour 0.
void ReadToolRecord(TToolRecord& tool, int32_t n);
// Stores the tool at place n (0-199); other places are refused.
void WriteToolRecord(const TToolRecord& tool, int32_t n);
// Places 0-49 become default tools in the colours of their layers.
void ResetFirstToolRecords();
// True when any of the tools 0 to n differs from the empty tool.
bool HasDefinedTools(int16_t n);

// --- checks --------------------------------------------------------------------------
// The failed bits among those asked for.
uint8_t CheckToolValues(const TToolRecord& tool, uint8_t bits);
bool AreToolValuesComplete(const TToolRecord& tool);
// CheckToolValues, and one OK box for the first failed group (messages
// 1031-1034); true when nothing asked for failed.
bool ConfirmToolValues(const TToolRecord& tool, uint8_t bits);
// The default values (the colour, type and other fields not compared).
bool IsEmptyToolRecord(const TToolRecord& tool);
// A value a tool file should never hold (name above 40 characters, lengths
// and feeds outside 0-1000, angle outside 0-90, speed outside 0-500000,
// change station above 10000).
bool IsToolRecordOutOfRange(const TToolRecord& tool);
// Cutting radius of the current layer's tool at its plunge depth.
float GetCurrentToolCutRadius();
// Change station set, plunge depth above 0 and a tip or ball radius above 0.005.
bool IsCurrentToolUsable();
// 2 (the extended editor group) for the variants 0, 1, 4, 5 and 6, else 0.
uint8_t GetToolEditorGroup();

// --- tools in vector files -------------------------------------------------------------
// Applies one header record of type 150-157 to the tool; other types do nothing.
void ReadToolHeaderRecord(const TVectorRecord& record, TToolRecord& tool);
// The default tool (colour 0) with the records 150-157 of the file's first
// tool block applied.
void ReadFirstToolOfFile(const std::string& name, TToolRecord& tool);
// The same over at most 13 records in memory; the name is cut before its
// first blank.
void ReadToolFromHeaderRecords(const TVectorRecord* records, int32_t count, TToolRecord& tool);
// Collects one tool per tool block of the open slot, from the slot's current
// position to its end. positions receives the record index (counted from
// where reading began) of each block's type-150 record. At most 199 blocks
// are counted; the records of further blocks all go into place 199.
// Message 554 stands in the prompt line while the file is read.
void ReadToolRecordsFromSlot(TToolRecord (&tools)[kToolCount], int32_t (&positions)[kToolCount], int32_t& count,
                             int slot);
// The tools of a vector file; places not found keep the defaults in the
// colours of their layers.
void ReadToolsOfFile(const std::string& name, TToolRecord (&tools)[kToolCount], int32_t& count);
// Rewrites the eight tool records at position (the type-150 record) with the
// tool's values; the file keeps its length and every other record. Nothing
// is written when the eight records there are not a tool (150 ... 157).
void WriteToolHeaderRecords(const std::string& name, int32_t position, const TToolRecord& tool);
void WriteToolHeaderRecordsToSlot(int slot, int32_t position, const TToolRecord& tool);

// --- dialogs ----------------------------------------------------------------------------
// The tool table editor on the caller's 200 records without the file buttons;
// true when confirmed with OK.
bool ShowToolListDialog(const std::string& title, TToolRecord* tools, int16_t& index, int16_t highest,
                        TToolEditorGroup group);
// The editor on a copy of the tool table (title message 540, with the file
// buttons); the table is stored when confirmed. index comes back as the
// chosen place, or as it was after Esc. Renews the window caption (the
// current tool's name) and waits for the mouse buttons to be released.
void RunToolSelectionDialog(int16_t& index, int16_t highest, TToolEditorGroup group);
// RunToolSelectionDialog over all 200 places on a copy of index: lets the
// user edit the table; the choice is not passed back.
void SelectTool(int16_t index, TToolEditorGroup group);
// The input form's tool chooser (registered at start): the selection dialog
// on ToolChooserNumber, over all places, the choice written back there.
void SelectToolForInputForm();
// The tool table command: the tools stored in the current layer file when it
// holds tool records, else the table at the current layer's tool.
void RunToolTableCommand();
// Shows the tools of a vector file in the editor (title message 1509) and,
// when confirmed, rewrites only their eight header records in place; a file
// without tools gives message 42.
void EditToolsInVectorFile(const std::string& name);
// One tool alone in the editor; the record is changed only when confirmed.
bool EditSingleToolRecord(TToolRecord& tool);

// --- pictures ----------------------------------------------------------------------------
// The tool's profile sketch with its values in the box. mode is the caller's
// drawing mode (0 the plain sketch); the profile box draws every mode alike.
void DrawToolPicture(int x1, int y1, int x2, int y2, int mode, const TToolRecord& tool);
// With bit 0x8000 of flags: an empty grey etched box and the tool reset to the
// defaults (colour 0); otherwise tool number flags is read from the table into
// tool and drawn.
void DrawToolPictureByIndex(int32_t flags, const TBox& box, TToolRecord& tool);
