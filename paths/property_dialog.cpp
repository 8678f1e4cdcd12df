// The machining property dialog; see property_dialog.h.
//
// Sections: layout and drawing - choosing a tool - the fields - the run.
#include "paths/property_dialog.h"

#include <algorithm>
#include <cstdio>

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "paths/tool_table.h"
#include "ui/cell_fields.h"
#include "ui/common_dialogs.h"
#include "ui/line_editor.h"
#include "ui/popup_list.h"
#include "ui/ui_hooks.h"
#include "view/character_cells.h"
#include "view/view_transform.h"

namespace {

constexpr int kToolRow = 7;
constexpr int kLayerRow = 8;
constexpr int kFirstValueRow = 10;
constexpr int kValueColumn = 40;
constexpr int kToolPanelWidth = 128;
constexpr int kFieldTool = 1;
constexpr int kFieldLayer = 2;
constexpr int kFirstValueField = 4;
constexpr int16_t kHighestTool = 199;
constexpr uint8_t kSelectionGroup = 2;

std::string Msg(int16_t n) { return GetMessageText(n, -39); }

int BaseColumn(const TPropertyDialog& d) { return d.frame.left / 8; }
int BaseRow(const TPropertyDialog& d) { return d.frame.top / 16; }
int ValueColumn(const TPropertyDialog& d) { return BaseColumn(d) + kValueColumn; }
int FieldRow(const TPropertyDialog& d, int field) {
  if (field == kFieldTool) return BaseRow(d) + kToolRow;
  if (field == kFieldLayer) return BaseRow(d) + kLayerRow;
  return BaseRow(d) + kFirstValueRow + (field - kFirstValueField);
}

std::string NumberText(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%8d", n);
  return text;
}

// A tool or layer number on a cell in the colour of the number.
void DrawColouredNumber(const TPropertyDialog& d, int field, int n) {
  DrawCellButton(ValueColumn(d), FieldRow(d, field), NumberText(n), false, ContrastTextColor(n),
                 MapLayerToColorIndex(n));
}

void DrawValue(const TPropertyDialog& d, int field) {
  if (CursorShown) EraseMouseCursor();
  if (field == kFieldTool) {
    if (d.currentTool)
      DrawCellButton(ValueColumn(d), FieldRow(d, field), NumberText(*d.tool), false, 274, 260);
    else
      DrawColouredNumber(d, field, *d.tool);
  } else if (field == kFieldLayer) {
    DrawColouredNumber(d, field, *d.layer);
  } else {
    const TPropertyField& f = d.fields[field - kFirstValueField];
    DrawCellButton(ValueColumn(d), FieldRow(d, field), FormatRealText(8, 3, f.value), false, 274, 261);
  }
  SetRopCopy();
}

void DrawToolPanel(const TPropertyDialog& d) {
  if (CursorShown) EraseMouseCursor();
  TToolRecord tool;
  ReadToolRecord(tool, *d.tool);
  DrawToolPicture(d.frame.right - kToolPanelWidth, d.frame.top + 4, d.frame.right - 4, d.frame.bottom - 4, 0, tool);
  SetRopCopy();
}

int LastField(const TPropertyDialog& d) { return d.count > 0 ? d.count + kFirstValueField - 1 : kFieldLayer; }
int StartField(const TPropertyDialog& d) { return d.currentTool ? kFirstValueField : kFieldTool; }

int NextField(const TPropertyDialog& d, int field) {
  if (field == kFieldTool) return d.currentTool ? field : kFieldLayer;
  if (field == kFieldLayer) return d.count > 0 ? kFirstValueField : field;
  return std::min(field + 1, LastField(d));
}

int PreviousField(const TPropertyDialog& d, int field) {
  if (field <= StartField(d)) return field;
  if (field == kFirstValueField) return kFieldLayer;
  return field - 1;
}

}  // namespace

// --- layout and drawing ------------------------------------------------------------------

void LayOutPropertyDialog(TPropertyDialog& d) {
  int16_t cx = 0, cy = 0;
  GetWindowCentreCell(cx, cy);
  const int left = std::max(0, cx - kPropertyDialogWidth / 2) / 8 * 8;
  const int top = std::max(0, cy - kPropertyDialogHeight / 2) / 16 * 16;
  d.frame = TPopupFrame{};
  d.frame.left = int16_t(left);
  d.frame.top = int16_t(top);
  d.frame.right = int16_t(left + kPropertyDialogWidth);
  d.frame.bottom = int16_t(top + kPropertyDialogHeight);
  d.frame.lines = 15;
  d.frame.grid = 1;
}

void DrawPropertyDialog(TPropertyDialog& d) {
  if (CursorShown) EraseMouseCursor();
  const TPopupFrame& f = d.frame;
  DrawShadedDialogPanel(f.left, f.top, f.right, "", f.bottom);
  DrawTitleBar(f.left + 4, f.top + 4, f.right - 172, d.title, 1, f.top + 25);
  PlaceCancelButton(f.right - kToolPanelWidth - 22, f.top + 4, d.cancel);
  PlaceOkButton(f.right - kToolPanelWidth - 44, f.top + 4, d.ok);
  // The operation's picture, centred left of the tool panel, in a grey frame.
  const int px = f.left + (f.right - kToolPanelWidth - f.left - d.pictureWidth) / 2;
  DrawGreyEtchedBox(px - 4, f.top + 31, px + d.pictureWidth + 4, f.top + 35 + d.pictureHeight + 4);
  if (!d.picture.empty() && d.pictureWidth > 1 && d.pictureHeight > 1)
    DrawNamedPicture(d.picture, px, f.top + 35, d.pictureWidth, d.pictureHeight, 0);
  DrawEtchedLine(f.left + 6, f.top + 105, f.right - kToolPanelWidth - 6);
  DrawEtchedLine(f.left + 6, f.top + 153, f.right - kToolPanelWidth - 6);
  const int captionColumn = BaseColumn(d) + 1;
  WriteCellText(captionColumn, FieldRow(d, kFieldTool), Msg(d.currentTool ? 540 : 682), false, 274, 274);
  DrawValue(d, kFieldTool);
  if (!d.currentTool) {
    WriteCellText(captionColumn, FieldRow(d, kFieldLayer), Msg(2183), false, 274, 274);
    DrawValue(d, kFieldLayer);
  }
  for (int i = 0; i < d.count; ++i) {
    WriteCellText(captionColumn, FieldRow(d, kFirstValueField + i), d.fields[i].caption, false, 274, 274);
    DrawValue(d, kFirstValueField + i);
  }
  DrawToolPanel(d);
  SetRopCopy();
  d.field = StartField(d);
  ShowArrowCursor();
}

// --- choosing a tool --------------------------------------------------------------------

namespace {

// The tool selection; with the current tool only edits of the table count,
// another choice is refused.
void ChooseTool(TPropertyDialog& d) {
  int16_t chosen = *d.tool;
  RunToolSelectionDialog(chosen, kHighestTool, kSelectionGroup);
  if (d.currentTool) {
    if (chosen != *d.tool) ShowTitledMessage(Msg(3387) + "!");
  } else {
    *d.tool = chosen;
  }
  DrawValue(d, kFieldTool);
  DrawToolPanel(d);
}

void StepNumber(int16_t& n, uint8_t exitCode, int16_t highest) {
  if (exitCode == 6 && n > 0) --n;
  if (exitCode == 7 && n < highest) ++n;
}

bool Inside(int x1, int y1, int x2, int y2) { return MouseX >= x1 && MouseX <= x2 && MouseY >= y1 && MouseY <= y2; }

// A left click after an edit: the buttons, the title bar, the tool panel or a
// row.
void HandleLeftClick(TPropertyDialog& d) {
  const TPopupFrame& f = d.frame;
  if (IsMouseInBox(d.ok)) {
    d.result = kPropertyConfirmed;
  } else if (IsMouseInBox(d.cancel)) {
    d.result = kPropertyCancelled;
  } else if (Inside(f.left + 4, f.top + 4, f.right - 172, f.top + 22)) {
    const int16_t left = d.frame.left, top = d.frame.top;
    DragPopupFrame(d.frame);
    if (d.frame.left != left || d.frame.top != top) {
      const int field = d.field;
      DrawPropertyDialog(d);
      d.field = field;
    }
  } else if (Inside(f.right - kToolPanelWidth, f.top + 4, f.right - 4, f.bottom - 4)) {
    WaitForMouseRelease();
    ChooseTool(d);
  } else if (MouseX > f.left && MouseX < f.right - kToolPanelWidth) {
    WaitForMouseRelease();
    const int row = MouseY / 16 - BaseRow(d);
    if (row == kToolRow) {
      if (!d.currentTool) d.field = kFieldTool;
      else if (MouseX - f.left >= 319 && MouseX - f.left <= 385) ChooseTool(d);
    } else if (row == kLayerRow && !d.currentTool) {
      d.field = kFieldLayer;
    } else if (row >= kFirstValueRow && row < kFirstValueRow + d.count) {
      d.field = kFirstValueField + row - kFirstValueRow;
    }
  }
  WaitForMouseRelease();
}

// With nothing to edit (the current tool and no value fields): a key or a click.
void WaitWithoutField(uint8_t& exitCode) {
  exitCode = 0;
  while (exitCode == 0) {
    PollMouseButtons();
    if (RedrawRequested() || CloseRequested) exitCode = 3;
    else if (MouseButtonState & 2) exitCode = 2;
    else if (MouseButtonState & 4) exitCode = 3;
    if (exitCode != 0) break;
    ReadFormExitKey(exitCode, 8);
  }
}

}  // namespace

// --- the fields ---------------------------------------------------------------------------

void RunPropertyDialogFields(TPropertyDialog& d) {
  d.result = 0;
  while (d.result == 0) {
    uint8_t exitCode = 0;
    const int field = d.field;
    const int column = ValueColumn(d);
    const int row = FieldRow(d, field);
    if (field == kFieldTool && !d.currentTool) {
      const int16_t before = *d.tool;
      EditIntegerField(*d.tool, kHighestTool, 0, 8, column, row, exitCode);
      StepNumber(*d.tool, exitCode, kHighestTool);
      if (exitCode == 9 && !RedrawRequested()) {
        ChooseTool(d);
        exitCode = 0;
      }
      DrawValue(d, field);
      if (*d.tool != before) DrawToolPanel(d);
    } else if (field == kFieldLayer) {
      const int16_t highest = int16_t(std::max<int>(0, HighestLayer));
      EditIntegerField(*d.layer, highest, 0, 8, column, row, exitCode);
      StepNumber(*d.layer, exitCode, highest);
      if (exitCode == 9 && !RedrawRequested()) {
        ChooseLayerHook(*d.layer);
        *d.layer = std::clamp<int16_t>(*d.layer, 0, highest);
        exitCode = 0;
      }
      DrawValue(d, field);
    } else if (field >= kFirstValueField && field <= LastField(d)) {
      TPropertyField& f = d.fields[field - kFirstValueField];
      const float before = f.value;
      EditRealField(f.value, column, row, f.upperLimit, f.lowerLimit, 3, exitCode);
      // Esc leaves the field with the value it had, not a clamped entry.
      if (exitCode == 3 && !RedrawRequested()) f.value = before;
      DrawValue(d, field);
    } else {
      WaitWithoutField(exitCode);
    }

    if (CloseRequested) {
      d.result = kPropertyCancelled;
      break;
    }
    if (RedrawRequested()) break;  // drawn and run again by the caller

    int16_t mx = 0, my = 0;
    PollMousePosition(mx, my);
    if (MouseButtonState & 2) {
      HandleLeftClick(d);
      continue;
    }
    if (MouseButtonState & 4) {
      d.result = kPropertyCancelled;
      WaitForMouseRelease();
      break;
    }
    switch (exitCode) {
      case 2:
      case 5: d.field = NextField(d, field); break;
      case 4: d.field = PreviousField(d, field); break;
      case 3: d.result = kPropertyCancelled; break;
      case 8: d.result = kPropertyConfirmed; break;
      default: break;
    }
  }
}

// --- the run ------------------------------------------------------------------------------

void RunPropertyDialog(const std::string& title, const std::string& picture, int16_t pictureWidth,
                       int16_t pictureHeight, int16_t& tool, int16_t& layer, TPropertyField (&fields)[kPropertyFieldsMax],
                       uint8_t count, uint8_t& result) {
  TPropertyDialog d;
  d.title = title;
  d.picture = picture;
  d.pictureWidth = std::max<int16_t>(pictureWidth, 0);
  d.pictureHeight = std::max<int16_t>(pictureHeight, 0);
  d.currentTool = tool < 0;
  if (d.currentTool) tool = int16_t(CurrentLayer);
  tool = std::clamp<int16_t>(tool, 0, kHighestTool);
  d.tool = &tool;
  if (!d.currentTool) layer = std::clamp<int16_t>(layer, 0, int16_t(HighestLayer));
  d.layer = &layer;
  d.fields = fields;
  d.count = std::min<int>(count, kPropertyFieldsMax);
  if (CursorShown) EraseMouseCursor();
  do {
    RedrawState = 0;
    LayOutPropertyDialog(d);
    OpenPopupFrame(d.frame);
    DrawPropertyDialog(d);
    RunPropertyDialogFields(d);
    ClosePopupFrame(d.frame);
  } while (d.result == 0);
  result = d.result;
  WaitForMouseRelease();
}
