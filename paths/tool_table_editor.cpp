// The tool table editor; see tool_table_editor.h.
//
// Sections: formatting - layout and drawing - list and tool moves - the copy
// popup - editing a field - the run.
#include "paths/tool_table_editor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ui/buttons_controls.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "paths/machining_services_standin.h"
#include "paths/tool_table.h"
#include "ui/cell_fields.h"
#include "ui/common_dialogs.h"
#include "ui/line_editor.h"
#include "ui/number_lists.h"
#include "ui/panels.h"
#include "ui/popup_list.h"
#include "ui/start_dialogs_standin.h"
#include "ui/text_popup.h"
#include "ui/tool_presets.h"
#include "ui/ui_hooks.h"
#include "view/character_cells.h"

namespace {

constexpr int kListLines = 5;
constexpr int kFirstListLine = 3;
constexpr int kValueColumn = 40;
constexpr int kNameWidth = kToolNameMax;  // the whole name is editable: nothing is cut
constexpr int16_t kInk = 274;
constexpr int16_t kPaper = 261;
constexpr int kHelpTopic = 944;
// The editor needs this many pixels across: the list line from column 1 and
// the paging buttons right of it (column 82 plus two 44-pixel buttons).
constexpr int kEditorWidth = 8 * 82 + 52 + 44 + 8;

// --- formatting ---------------------------------------------------------------------------

std::string Fixed(int width, int decimals, double v) {
  if (!std::isfinite(v)) v = 0.0;
  char text[64];
  std::snprintf(text, sizeof text, "%*.*f", width, decimals, v);
  return text;
}

std::string Padded(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

std::string Msg(int16_t n) { return GetMessageText(n, -39); }

// Text line of each field code, its label message and its picture.
struct TFieldInfo {
  int line;
  int16_t label;
  const char* picture;
  int16_t nameMessage;  // the field's name in the copy popup's title
};

const TFieldInfo& FieldInfo(int code) {
  static const TFieldInfo kFields[15] = {
      {10, 4050, "WerkzNam", 4050}, {11, 543, "WERKZSNR", 2901}, {12, 544, "WerkzFrS", 2902},
      {13, 545, "WerkzFWi", 2904},  {14, 546, "WerkzFrK", 2903}, {16, 547, "WerkzFEt", 2906},
      {17, 548, "WerkzOff", 2905},  {18, 549, "WerkzVXY", 2907}, {19, 550, "WerkzEVZ", 2908},
      {20, 551, "WerkzSpd", 2909},  {21, 552, "WerkzStZ", 2910}, {22, 553, "WerkzWSt", 1608},
      {24, 1286, "WerkzSMX", 3630}, {25, 1287, "WerkzSbh", 3631}, {26, 1288, "WerkzSof", 3632},
  };
  return kFields[std::clamp(code, kToolFieldName, kToolFieldLastWithGroup) - kToolFieldName];
}

bool IsRealField(int code) { return (code >= 10 && code <= 17) || code >= 21; }

// The value of a number field (the records are packed: no references into them).
float GetFieldValue(const TToolRecord& t, int code) {
  switch (code) {
    case 10: return t.shankRadius;
    case 11: return t.tipRadius;
    case 12: return t.angle;
    case 13: return t.ballRadius;
    case 14: return t.plungeDepth;
    case 15: return t.clearanceHeight;
    case 16: return t.feedXY;
    case 17: return t.feedZ;
    case 18: return t.spindleSpeed;
    case 19: return t.toolLifePath;
    case 21: return t.extra[1];
    case 22: return t.extra[2];
    default: return t.extra[3];
  }
}

void SetFieldValue(TToolRecord& t, int code, float v) {
  switch (code) {
    case 10: t.shankRadius = v; break;
    case 11: t.tipRadius = v; break;
    case 12: t.angle = v; break;
    case 13: t.ballRadius = v; break;
    case 14: t.plungeDepth = v; break;
    case 15: t.clearanceHeight = v; break;
    case 16: t.feedXY = v; break;
    case 17: t.feedZ = v; break;
    case 18: t.spindleSpeed = v; break;
    case 19: t.toolLifePath = v; break;
    case 21: t.extra[1] = v; break;
    case 22: t.extra[2] = v; break;
    default: t.extra[3] = v; break;
  }
}

void FieldLimits(const TToolRecord& t, int code, float& low, float& high) {
  low = 0.0f;
  switch (code) {
    case 10: low = 0.1f; high = 99.999f; break;
    case 11: high = t.shankRadius; break;
    case 12: high = 89.999f; break;
    case 13: high = 99.999f; break;
    case 16: case 17: high = 99.999f; break;
    case 18: case 19: high = 99999.0f; break;
    case 20: high = 9999.0f; break;
    case 23: high = 99.0f; break;
    default: high = 999.999f; break;
  }
}

std::string FieldText(const TToolRecord& t, int code) {
  if (code == kToolFieldName) return ToolNameText(t);
  if (code == 20) return Fixed(8, 0, uint16_t(t.changeStation));
  const float v = GetFieldValue(t, code);
  return IsRealField(code) ? Fixed(8, 3, v) : Fixed(8, 0, std::round(v));
}

}  // namespace

std::string FormatToolListLine(int place, const TToolRecord& t) {
  std::string name = ToolNameText(t).substr(0, 15);
  double tip = t.tipRadius;
  std::string tipText;
  if (std::isfinite(tip) && tip <= 9.99) tipText = Fixed(5, 2, tip);
  else if (std::isfinite(tip) && tip <= 99.9) tipText = Fixed(5, 1, tip);
  else tipText = Fixed(5, 1, 99.9);
  return Fixed(3, 0, place) + "      " + Padded(name, 15) + tipText + Fixed(6, 2, t.angle) +
         Fixed(5, 2, t.ballRadius) + Fixed(6, 2, t.plungeDepth) + Fixed(6, 2, t.clearanceHeight) +
         Fixed(6, 2, t.feedXY) + Fixed(6, 2, t.feedZ) + Fixed(5, 0, double(t.spindleSpeed) / 1000.0) +
         Fixed(5, 0, t.toolLifePath) + Fixed(4, 0, uint16_t(t.changeStation));
}

void CopyToolField(const TToolRecord& source, TToolRecord& target, int code) {
  if (code == 0) {
    const int16_t colour = target.colorNumber;
    target = source;
    target.colorNumber = colour;
    return;
  }
  if (code == kToolFieldName) {
    SetToolNameText(target, ToolNameText(source));
  } else if (code == 20) {
    target.changeStation = source.changeStation;
  } else if (code > kToolFieldName && code <= kToolFieldLastWithGroup) {
    SetFieldValue(target, code, GetFieldValue(source, code));
  }
}

namespace {

// --- layout and drawing ---------------------------------------------------------------------

struct TEditor {
  std::string title;
  TToolRecord* tools = nullptr;
  int highest = 0;
  bool passGroup = false;
  bool table = false;
  int lastField = kToolFieldLast;
  TPopupFrame frame{};
  int baseRow = 0;  // cell row of text line 0
  int baseCol = 0;  // cell column of text column 0
  int current = 0;
  int first = 0;
  int field = kToolFieldName;
  TBox ok{}, cancel{}, help{}, open{}, save{};
  TBox previous{}, next{}, pageUp{}, pageDown{}, preset{};
  TToolEditorLayout layout;
  TToolRecord buffer{};
  int bufferCode = 0;
  bool bufferFull = false;
  int listShown = -1;   // first visible place the list was drawn for
  int placeShown = -1;  // place the values were drawn for
  int sketchPlace = -1;
  TToolRecord sketchTool{};
};

int Row(const TEditor& e, int line) { return e.baseRow + line; }
int LineY(const TEditor& e, int line) { return Row(e, line) * 16; }
TToolRecord& Current(TEditor& e) { return e.tools[e.current]; }

void PlaceCaptionButton(TBox& box, int x, int y, int width, const std::string& caption, const std::string& picture) {
  box = TBox{1, int16_t(x), int16_t(y), int16_t(x + width), int16_t(y + 22)};
  DrawIconButton(caption, picture, box, 0, kInk, 260);
}

std::string TitleText(const TEditor& e) { return e.title + "  (" + std::to_string(e.highest) + ")"; }

// A tool without angle that plunges deeper than twice its tip radius cuts
// with its shank: the title turns into a warning.
bool NeedsShankWarning(const TToolRecord& t) { return t.angle < 0.01f && t.plungeDepth > 2.0f * t.tipRadius; }

void DrawTitle(TEditor& e) {
  if (CursorShown) EraseMouseCursor();
  const TToolRecord& t = Current(e);
  const int x2 = e.frame.right - (e.table ? 124 : 54);
  if (NeedsShankWarning(t)) {
    DrawTitleBar(e.frame.left + 4, e.frame.top + 4, x2, Msg(4010) + " " + Msg(2887) + " " + Msg(2888), 3,
                 e.frame.top + 25);
    PlayDingOrBeep();
  } else {
    DrawTitleBar(e.frame.left + 4, e.frame.top + 4, x2, TitleText(e), 1, e.frame.top + 25);
  }
  SetRopCopy();
}

void DrawListLine(TEditor& e, int k) {
  if (k < 0 || k >= kListLines) return;
  const int place = e.first + k;
  const int row = Row(e, kFirstListLine + k);
  if (place > e.highest) {
    DrawCellButton(e.baseCol + 1, row, std::string(79, ' '), false, kInk, kPaper);
    return;
  }
  const TToolRecord& t = e.tools[place];
  DrawCellButton(e.baseCol + 1, row, FormatToolListLine(place, t), place == e.current, kInk, kPaper);
  const int y = row * 16;
  FillColorRect(e.frame.left + 40, y + 4, e.frame.left + 72, y + 14, GetColorNumberRgb(t.colorNumber));
}

void DrawList(TEditor& e) {
  if (CursorShown) EraseMouseCursor();
  for (int k = 0; k < kListLines; ++k) DrawListLine(e, k);
  SetRopCopy();
  e.listShown = e.first;
}

void DrawFieldValue(TEditor& e, int code) {
  const int row = Row(e, FieldInfo(code).line);
  const int width = code == kToolFieldName ? kNameWidth : 8;
  DrawCellButton(e.baseCol + kValueColumn, row, Padded(FieldText(Current(e), code), size_t(width)), false, kInk,
                 kPaper);
}

void DrawValues(TEditor& e) {
  if (CursorShown) EraseMouseCursor();
  const TToolRecord& t = Current(e);
  const int row = Row(e, 9);
  DrawCellButton(e.baseCol + kValueColumn, row, Fixed(3, 0, e.current), false, kInk, kPaper);
  FillColorRect(e.frame.left + 8 * (kValueColumn + 4), row * 16 + 3, e.frame.left + 8 * (kValueColumn + 8),
                row * 16 + 14, GetColorNumberRgb(t.colorNumber));
  for (int code = kToolFieldName; code <= e.lastField; ++code) DrawFieldValue(e, code);
  SetRopCopy();
  e.placeShown = e.current;
}

bool SketchValuesChanged(const TToolRecord& a, const TToolRecord& b) {
  return a.shankRadius != b.shankRadius || a.tipRadius != b.tipRadius || a.angle != b.angle ||
         a.ballRadius != b.ballRadius || a.plungeDepth != b.plungeDepth || a.extra[1] != b.extra[1];
}

void DrawSketch(TEditor& e) {
  if (CursorShown) EraseMouseCursor();
  DrawToolProfileHook(e.frame.right - 300, LineY(e, 9), e.frame.right - 12, e.frame.bottom - 12, Current(e));
  SetRopCopy();
  e.sketchPlace = e.current;
  e.sketchTool = Current(e);
}

void DrawTypePicture(TEditor& e) {
  std::string key;
  GetToolTypePicture(Current(e).switch132, key);
  DrawResourceBitmap(e.frame.left + 464, e.frame.top + 320, 16, 16, kRopSrcCopy, key);
}

void DrawLabels(TEditor& e) {
  const int x = e.frame.left + 8;
  DrawResourceBitmap(x, LineY(e, 2), 16, 16, kRopSrcCopy, "Werkzeug");
  static const char* const kHeads[13] = {"Werkzeug", "WerkzFar", "WerkzNam", "WerkzFrS", "WerkzFWi",
                                         "WerkzFrK", "WerkzFEt", "WerkzOff", "WerkzVXY", "WerkzEVZ",
                                         "WerkzSpd", "WerkzStZ", "WerkzWSt"};
  // Over the columns of the list line: place, swatch, name, then the values.
  static const int kHeadColumns[13] = {1, 5, 12, 26, 31, 37, 42, 48, 54, 60, 66, 71, 76};
  for (int k = 0; k < 13; ++k)
    DrawResourceBitmap(e.frame.left + 8 * kHeadColumns[k], LineY(e, 2), 16, 16, kRopSrcCopy, kHeads[k]);
  WriteCellText(e.baseCol + 4, Row(e, 9), Msg(541), false, kInk, kInk);
  DrawResourceBitmap(x, LineY(e, 9), 16, 16, kRopSrcCopy, "WerkzFar");
  for (int code = kToolFieldName; code <= e.lastField; ++code) {
    const TFieldInfo& f = FieldInfo(code);
    WriteCellText(e.baseCol + 4, Row(e, f.line), Msg(f.label), false, kInk, kInk);
    DrawResourceBitmap(x, LineY(e, f.line), 16, 16, kRopSrcCopy, f.picture);
  }
  DrawEtchedLine(e.frame.left + 6, LineY(e, 8) + 8, e.frame.right - 310);
  DrawEtchedLine(e.frame.left + 6, LineY(e, 15) + 8, e.frame.right - 310);
  if (e.passGroup) DrawEtchedLine(e.frame.left + 6, LineY(e, 23) + 8, e.frame.right - 310);
}

void DrawButtons(TEditor& e) {
  const TBox* b = e.layout.buttons;
  PlaceCancelButton(b[kToolButtonCancel].x1, b[kToolButtonCancel].y1, e.cancel);
  PlaceOkButton(b[kToolButtonOk].x1, b[kToolButtonOk].y1, e.ok);
  if (e.table) {
    e.help.flag = e.open.flag = e.save.flag = 1;
    PlacePictureButton(e.help, b[kToolButtonHelp].x1, b[kToolButtonHelp].y1, "KHilfe");
    PlacePictureButton(e.open, b[kToolButtonOpen].x1, b[kToolButtonOpen].y1, "OEFFNEN");
    PlacePictureButton(e.save, b[kToolButtonSave].x1, b[kToolButtonSave].y1, "SpeichUnter");
  }
  auto place = [&](TBox& box, int n, const char* caption, const char* picture) {
    PlaceCaptionButton(box, b[n].x1, b[n].y1, b[n].x2 - b[n].x1, caption, picture);
  };
  place(e.previous, kToolButtonPrevious, "-", "PfeilAuf");
  place(e.next, kToolButtonNext, "+", "PfeilAb");
  place(e.pageUp, kToolButtonPageUp, "-", "DPfeilAuf");
  place(e.pageDown, kToolButtonPageDown, "+", "DPfeilAb");
  place(e.preset, kToolButtonPreset, "Typ", "_WZTYPAUSW");
}

void DrawEditor(TEditor& e) {
  if (CursorShown) EraseMouseCursor();
  DrawGreyDialogPanel(e.frame.left, e.frame.top, e.frame.right, "", e.frame.bottom);
  DrawWhiteField(e.frame.left + 4, e.frame.top + 28, e.frame.right - 4, e.frame.bottom - 4, 0);
  // The maker's logo goes left of the tool sketch, which covers the box's lower right corner.
  if (e.passGroup) DrawMakerLogo(e.frame.left, e.frame.top, e.frame.right - 300, 1.4f, e.frame.bottom);
  DrawTitle(e);
  DrawButtons(e);
  DrawLabels(e);
  DrawList(e);
  DrawValues(e);
  DrawSketch(e);
  DrawTypePicture(e);
  SetRopCopy();
  ShowArrowCursor();
}

void LayOutEditor(TEditor& e) {
  LayOutToolTableEditor(e.passGroup, e.table, e.layout);
  e.frame = e.layout.frame;
  e.baseRow = e.frame.top / 16;
  e.baseCol = e.frame.left / 8;
}

}  // namespace

void LayOutToolTableEditor(bool passGroup, bool table, TToolEditorLayout& layout) {
  TPopupFrame& f = layout.frame;
  f = TPopupFrame{};
  f.lines = int16_t(passGroup ? 28 : 24);
  // Cell columns and rows count from the frame's corner: it moves in whole cells.
  const int height = 16 * f.lines;
  int left = std::min<int>(DrawingArea.x1, MaxX + 1 - kEditorWidth);
  int top = DrawingArea.y1 + 16;
  if (top + height > MaxY + 1) top = (MaxY + 1 - height) / 16 * 16;
  if (left < DrawingArea.x1) left = left / 8 * 8;
  f.left = int16_t(std::max(0, left));
  f.right = int16_t(MaxX);
  f.top = int16_t(std::max(0, top));
  f.bottom = int16_t(f.top + height - 1);
  const int baseRow = f.top / 16;
  auto lineY = [&](int line) { return (baseRow + line) * 16; };
  auto at = [&](int x, int y, int width) {
    return TBox{1, int16_t(x), int16_t(y), int16_t(x + width), int16_t(y + 22)};
  };
  TBox* b = layout.buttons;
  b[kToolButtonCancel] = at(f.right - 26, f.top + 4, 22);
  b[kToolButtonOk] = at(f.right - 48, f.top + 4, 22);
  b[kToolButtonHelp] = at(f.right - 74, f.top + 4, 22);
  b[kToolButtonOpen] = at(f.right - 96, f.top + 4, 22);
  b[kToolButtonSave] = at(f.right - 118, f.top + 4, 22);
  if (!table) b[kToolButtonHelp].flag = b[kToolButtonOpen].flag = b[kToolButtonSave].flag = 0;
  const int x = f.left + 8 * 82;
  b[kToolButtonPrevious] = at(x, lineY(kFirstListLine), 44);
  b[kToolButtonNext] = at(x, lineY(kFirstListLine + 3) - 4, 44);
  b[kToolButtonPageUp] = at(x + 52, lineY(kFirstListLine), 44);
  b[kToolButtonPageDown] = at(x + 52, lineY(kFirstListLine + 3) - 4, 44);
  b[kToolButtonPreset] = at(f.left + 500, f.top + 317, 52);
}

namespace {

// --- list and tool moves ---------------------------------------------------------------------

void FollowCurrent(TEditor& e) {
  if (e.current < e.first) e.first = e.current;
  if (e.current > e.first + kListLines - 1) e.first = e.current - (kListLines - 1);
}

bool StepTool(TEditor& e, int step) {
  const int target = e.current + step;
  if (target < 0 || target > e.highest) {
    BeepSignal();
    return false;
  }
  e.current = target;
  FollowCurrent(e);
  return true;
}

void PageUp(TEditor& e) {
  if (e.current < kListLines) {
    if (e.current == 0) BeepSignal();
    e.current = 0;
  } else {
    e.current = e.current % kListLines == 0 ? e.current - kListLines : e.current / kListLines * kListLines;
  }
  e.first = e.current;
}

void PageDown(TEditor& e) {
  if (e.current < e.highest - (kListLines - 1)) {
    e.current = (e.current / kListLines + 1) * kListLines;
  } else {
    BeepSignal();
    e.current = e.highest;
  }
  e.first = std::max(0, std::min(e.current, e.highest - (kListLines - 1)));
}

// --- the copy popup ---------------------------------------------------------------------------

void CopyToListedPlaces(TEditor& e, int place, int code) {
  std::string text;
  uint8_t exitCode = 0;
  EditTextFromCharSet(Msg(3639) + " #", "(" + Msg(816) + ": 1,3,7-11 15)", text, exitCode, 30, 0,
                      kNumberListCharacters, 5, 80);
  uint8_t flags[kNumberListSize] = {};
  if (exitCode != 2 || !ReadNumberList(text, flags)) {
    ShowTitledMessage(Msg(3640) + "!");
    return;
  }
  for (int k = 0; k <= e.highest; ++k)
    if (flags[k] && k != place) CopyToolField(e.tools[place], e.tools[k], code);
}

void RunCopyPopup(TEditor& e, int place, int code) {
  TPopupList list;
  InitPopupList(list);
  list.x = MouseX;
  list.y = MouseY;
  if (code == 0)
    list.title = Msg(3635) + " #" + std::to_string(place);
  else
    list.title = Msg(3633) + " " + Msg(FieldInfo(code).nameMessage) + " " + Msg(3634) + " #" + std::to_string(place);
  list.captions[0] = Msg(3636);
  list.captions[1] = Msg(3637);
  list.captions[2] = Msg(3638);
  list.captions[3] = Msg(3639) + " #";
  list.names[0] = "Kopieren_W";
  list.names[1] = "Einfuegen";
  list.names[2] = "Werkzeug";
  list.names[3] = "WerkzWSt";
  if (!e.bufferFull) list.states[1] = 7;  // grey: nothing to paste
  WaitForMouseRelease();
  ShowPopupMenu(list);
  switch (list.result) {
    case 1:
      e.buffer = e.tools[place];
      e.bufferCode = code;
      e.bufferFull = true;
      break;
    case 2:
      if (e.bufferFull) CopyToolField(e.buffer, e.tools[place], e.bufferCode);
      break;
    case 3:
      for (int k = 0; k <= e.highest; ++k)
        if (k != place) CopyToolField(e.tools[place], e.tools[k], code);
      break;
    case 4:
      CopyToListedPlaces(e, place, code);
      break;
    default:
      break;
  }
}

// --- editing a field --------------------------------------------------------------------------

void EditField(TEditor& e, uint8_t& exitCode) {
  TToolRecord& t = Current(e);
  const int code = e.field;
  const int row = Row(e, FieldInfo(code).line);
  const int column = e.baseCol + kValueColumn;
  exitCode = 0;
  if (code == kToolFieldName) {
    std::string text = ToolNameText(t);
    EditTextField(column, row, kNameWidth, 5, text, kPaper, kInk, exitCode);
    if (exitCode != 3) SetToolNameText(t, text);
  } else if (IsRealField(code)) {
    float low = 0, high = 0;
    FieldLimits(t, code, low, high);
    float v = GetFieldValue(t, code);
    EditRealField(v, column, row, high, low, 3, exitCode);
    SetFieldValue(t, code, v);
  } else {
    float low = 0, high = 0;
    FieldLimits(t, code, low, high);
    const float f = code == 20 ? 0.0f : GetFieldValue(t, code);
    int32_t v = code == 20 ? int32_t(uint16_t(t.changeStation)) : int32_t(std::isfinite(f) ? std::lround(f) : 0);
    v = std::clamp<int32_t>(v, int32_t(low), int32_t(high));
    EditLongField(v, int32_t(high), int32_t(low), column, row, exitCode);
    if (code == 20) t.changeStation = int16_t(uint16_t(v));
    else SetFieldValue(t, code, float(v));
  }
  DrawFieldValue(e, code);
  DrawListLine(e, e.current - e.first);
  SetRopCopy();
}

// The list line (0-4) or field code under the mouse; -1 none.
int ListLineAtMouse(const TEditor& e) {
  const int line = MouseY / 16 - e.baseRow - kFirstListLine;
  if (MouseX <= e.frame.left + 4 || MouseX >= e.frame.left + 8 * 80) return -1;
  if (line < 0 || line >= kListLines || e.first + line > e.highest) return -1;
  return line;
}

int FieldAtMouse(const TEditor& e) {
  if (MouseX <= e.frame.left + 4 || MouseX >= e.frame.right - 310) return -1;
  const int line = MouseY / 16 - e.baseRow;
  for (int code = kToolFieldName; code <= e.lastField; ++code)
    if (FieldInfo(code).line == line) return code;
  return -1;
}

bool Hit(const TBox& box) { return box.flag == 1 && IsMouseInBox(box); }

// Acts on a click that ended the edit; exitCode becomes 0 when the click was
// handled here and the loop goes on.
void HandleMouse(TEditor& e, uint8_t& exitCode) {
  const uint8_t buttons = MouseButtonState;
  if (buttons == 0) {
    if (exitCode == 9) exitCode = 0;  // F2 without a click: nothing to copy
    return;
  }
  if (buttons & 2) {
    WaitForMouseRelease();
    if (Hit(e.ok)) {
      exitCode = 8;
    } else if (Hit(e.cancel)) {
      exitCode = 3;
    } else {
      exitCode = 0;
      if (Hit(e.previous)) {
        StepTool(e, -1);
      } else if (Hit(e.next)) {
        StepTool(e, 1);
      } else if (Hit(e.pageUp)) {
        PageUp(e);
      } else if (Hit(e.pageDown)) {
        PageDown(e);
      } else if (Hit(e.preset)) {
        TToolRecord& t = Current(e);
        const int16_t colour = t.colorNumber;
        ShowToolPresetGrid(e.frame.left + 200, e.frame.top + 40, t);
        t.colorNumber = colour;
        DrawEditor(e);
      } else if (Hit(e.help)) {
        OpenHelpTopic(kHelpTopic);
      } else if (Hit(e.open)) {
        LoadToolTableFile();
        GetParamBlock(kToolTableBlock, e.tools, uint16_t(kToolTableBytes));
        DrawEditor(e);
      } else if (Hit(e.save)) {
        PutParamBlock(kToolTableBlock, e.tools, uint16_t(kToolTableBytes));
        SaveToolTableFile();
        DrawEditor(e);
      } else if (const int line = ListLineAtMouse(e); line >= 0) {
        e.current = e.first + line;
      } else if (const int code = FieldAtMouse(e); code >= 0) {
        e.field = code;
      }
    }
    WaitForMouseRelease();
    return;
  }
  // Middle or right button: the copy popup over a list or field line.
  const int line = ListLineAtMouse(e);
  const int code = line >= 0 ? -1 : FieldAtMouse(e);
  if (line >= 0 || code >= 0) {
    RunCopyPopup(e, line >= 0 ? e.first + line : e.current, line >= 0 ? 0 : code);
    DrawEditor(e);
    exitCode = 0;
  } else if (buttons & 4) {
    exitCode = 3;
  } else {
    exitCode = 0;
  }
  WaitForMouseRelease();
}

}  // namespace

// --- the run ------------------------------------------------------------------------------------

bool RunToolTableEditor(const std::string& title, TToolRecord* tools, int16_t& index, int16_t highest,
                        TToolEditorGroup group, uint8_t tableFlag) {
  if (tools == nullptr) return false;
  TEditor e;
  e.title = title;
  e.tools = tools;
  e.highest = std::clamp<int>(highest, 0, kToolCount - 1);
  e.passGroup = (group & 0x7F) == kToolGroupPassDepths;
  e.table = tableFlag == 1;
  e.lastField = e.passGroup ? kToolFieldLastWithGroup : kToolFieldLast;
  index = int16_t(std::clamp<int>(index, 0, e.highest));
  const int16_t startIndex = index;
  e.current = index;
  e.first = std::max(0, std::min(e.current, e.highest - (kListLines - 1)));
  e.field = (group & kToolGroupStartAtPlunge) ? 14 : kToolFieldName;

  if (CursorShown) EraseMouseCursor();
  LayOutEditor(e);
  OpenPopupFrame(e.frame);
  DrawEditor(e);
  uint8_t exitCode = 0;
  for (;;) {
    if (e.first != e.listShown || e.placeShown != e.current) {
      DrawList(e);
      DrawTitle(e);
    }
    if (e.placeShown != e.current) DrawValues(e);
    if (e.sketchPlace != e.current || SketchValuesChanged(e.sketchTool, Current(e))) {
      const bool warnBefore = NeedsShankWarning(e.sketchTool);
      DrawSketch(e);
      if (warnBefore != NeedsShankWarning(Current(e))) DrawTitle(e);
    }
    DrawTypePicture(e);
    EditField(e, exitCode);
    if (CloseRequested) exitCode = 3;
    if (RedrawRequested()) {
      RedrawState = 0;
      DrawEditor(e);
      if (exitCode == 3 && !CloseRequested) exitCode = 0;  // the repaint ended the edit, not the user
    }
    HandleMouse(e, exitCode);
    switch (exitCode) {
      case 2:
        if (e.field < e.lastField) {
          ++e.field;
        } else if (CheckToolValues(Current(e), kToolCheckAll) >= 3) {
          BeepSignal();
        } else if (StepTool(e, 1)) {
          e.field = kToolFieldName;
        }
        break;
      case 5:
        if (e.field < e.lastField) ++e.field;
        else if (StepTool(e, 1)) e.field = kToolFieldName;
        break;
      case 4:
        if (e.field > kToolFieldName) --e.field;
        else if (StepTool(e, -1)) e.field = e.lastField;
        break;
      case 6: StepTool(e, 1); break;
      case 7: StepTool(e, -1); break;
      default: break;
    }
    if (exitCode == 3 || exitCode == 8) break;
  }
  ClosePopupFrame(e.frame);
  if (exitCode == 8) {
    index = int16_t(e.current);
    return true;
  }
  index = startIndex;
  return false;
}
