// The tool table editor: one full-width dialog over an array of tool records
// (the tool table itself, the tools of a path file, or a single tool). A list
// of five tools at the top, below it the values of the current tool edited
// one field at a time, the tool's profile sketch at the right, and a popup
// that copies a tool or one value of it to other places.
//
// Field codes (also the codes of the copy popup; 0 there means the whole tool):
//    9 name              10 shank radius    11 tip radius     12 flank angle
//   13 ball radius       14 plunge depth    15 clearance      16 XY feed
//   17 Z feed            18 spindle speed   19 tool life      20 change station
//   21-23 the pass-depth group (extra[1..3]; only with group 2)
//
// Keys: Enter next field (on the last field: the next tool once the feeds and
// the change station pass their checks), Down next field / next tool, Up
// previous field / previous tool, PgDn and PgUp next and previous tool, Esc
// cancels, F1 or "OK" confirms. The middle or right button on a list line or
// field line opens the copy popup; the right button elsewhere cancels.
#pragma once

#include <cstdint>
#include <string>

#include "frame/defaults.h"
#include "ui/panels.h"

// The group byte: bit 7 starts the editing at the plunge depth; the low bits
// choose the extra field group (0 none, 2 the pass-depth group).
using TToolEditorGroup = uint8_t;
constexpr TToolEditorGroup kToolGroupStartAtPlunge = 0x80;
constexpr TToolEditorGroup kToolGroupPassDepths = 2;

constexpr int kToolFieldName = 9;
constexpr int kToolFieldLast = 20;
constexpr int kToolFieldLastWithGroup = 23;

// Runs the editor on tools[0..highest] (tools must hold 200 records when
// tableFlag is 1: loading a tool file fills all of them). Edits are made in
// place; a cancel does not undo them. index is clamped to 0..highest first
// and after a cancel is set back to that start value. True when left with OK.
// With tableFlag 1 the help, load and save buttons are offered.
bool RunToolTableEditor(const std::string& title, TToolRecord* tools, int16_t& index, int16_t highest,
                        TToolEditorGroup group, uint8_t tableFlag);

// The editor's frame on the current screen and its buttons. The frame
// starts at the graphic area's top left and moves left and up as far as
// the screen needs to hold it whole.
enum TToolEditorButton { kToolButtonCancel, kToolButtonOk, kToolButtonHelp, kToolButtonOpen, kToolButtonSave,
                         kToolButtonPrevious, kToolButtonNext, kToolButtonPageUp, kToolButtonPageDown,
                         kToolButtonPreset, kToolEditorButtons };
struct TToolEditorLayout {
  TPopupFrame frame{};
  TBox buttons[kToolEditorButtons]{};  // flag 0: not offered
};
void LayOutToolTableEditor(bool passGroup, bool table, TToolEditorLayout& layout);

// Copies one field (code 9-23) of source into target, or with code 0 the
// whole record with the target's colour number kept.
void CopyToolField(const TToolRecord& source, TToolRecord& target, int code);

// The list line of a tool as the editor shows it (place number, name,
// radii, angle, depths, feeds, speed in thousands, life, station).
std::string FormatToolListLine(int place, const TToolRecord& tool);
