// The generic input form.
//
// Sections: display texts; layout; drawing; the field editors by kind; the
// run (editing, navigation, ending); the wrappers; the picture card.
#include "ui/input_form.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "ui/field_choice_list.h"
#include "ui/panels.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "ui/common_dialogs.h"
#include "ui/line_editor.h"
#include "ui/popup_list.h"
#include "ui/ui_hooks.h"
#include "view/character_cells.h"
#include "view/view_transform.h"

void (*ToolChooserHook)() = nullptr;
int16_t ToolChooserNumber = 0;
void (*ToolRecordReader)(TToolRecord&, int32_t) = nullptr;
uint8_t SettingsWindowFlags = 0;

namespace {

constexpr int kTitleStripHeight = 22;

int32_t RoundValue(float v) {
  if (!std::isfinite(v)) return 0;
  const double r = std::nearbyint(double(v));
  return int32_t(std::clamp(r, double(INT32_MIN), double(INT32_MAX)));
}

bool IsEditableField(const TInputField& f) {
  switch (f.kind) {
    case 'I': case 'S': case 'L': case 'W': case 'T': case 'B': case 'D': return true;
    case 'A': return f.choiceList != nullptr;
    default: return false;  // 'F' and unknown kinds have no editor
  }
}

std::string RightAligned(std::string text, int width) {
  if (int(text.size()) < width) text.insert(0, size_t(width - int(text.size())), ' ');
  return text;
}

}  // namespace

// --- display texts ------------------------------------------------------------------------------

std::string FormatInputFieldText(const TInputField& f, int width) {
  const int own = std::max<int>(f.width, 1);
  std::string text;
  switch (f.kind) {
    case 'S': text = RightAligned(FormatRealText(own, f.decimals, f.value), own); break;
    case 'I': text = RightAligned(FormatLongText(RoundValue(f.value), own), own); break;
    case 'L':
    case 'W':
      text = RightAligned(FormatLongText(RoundValue(f.value), own), own);
      if (!text.empty()) text[0] = '#';
      break;
    case 'B':
    case 'D': text = GetMessageText(f.value == 1.0f ? 100 : 101, 5); break;
    case 'F':
    case 'T': text = f.valueText; break;
    case 'A':
      if (f.choiceList != nullptr) text = FieldChoiceOption(*f.choiceList, RoundValue(f.value));
      break;
    default: break;
  }
  if (width >= 0 && int(text.size()) > width) text.resize(size_t(width));
  return text;
}

namespace {

// --- layout -------------------------------------------------------------------------------------

struct TFormLayout {
  int n = 0;
  int captionWidth = 15, valueWidth = 8;
  bool hasPicture = false;
  int pictureRows = 0;
  int toolIndex = -1;  // field holding the tool number shown, -1 none
  int rows = 0;
  int placement = 0;
  int arrowButton = 0;
  TPopupFrame frame{};
  TBox cancelBox{}, okBox{}, arrowBox{};
};

int ValueColumn(const TFormLayout& L) { return L.frame.left / 8 + L.captionWidth + 2; }
int FirstFieldRow(const TFormLayout& L) { return L.frame.top / 16 + 2 + L.pictureRows; }
int PictureAreaBottom(const TFormLayout& L) { return L.frame.top + 29 + 16 * L.pictureRows; }

// Cells of field i's value (0-based) and where they start.
int FieldCells(const TFormLayout& L, const TInputField& f) {
  return std::clamp<int>(f.width, 1, L.valueWidth);
}
int FieldColumn(const TFormLayout& L, const TInputField& f) {
  return ValueColumn(L) + L.valueWidth - FieldCells(L, f);
}
int FieldRow(const TFormLayout& L, int i) { return FirstFieldRow(L) + i; }

void LayOutForm(TFormLayout& L, const std::string& title, TInputField (&fields)[kInputFieldEntries]) {
  L.captionWidth = 15;
  L.valueWidth = 8;
  for (int i = 0; i < L.n; ++i) {
    TInputField& f = fields[i];
    if (f.caption.size() > size_t(kInputCaptionMax)) f.caption.resize(kInputCaptionMax);
    L.captionWidth = std::max(L.captionWidth, int(f.caption.size()));
    L.valueWidth = std::max(L.valueWidth, int(f.width));
  }
  L.valueWidth = std::min(L.valueWidth, kInputTextMax);
  if (int(title.size()) > L.valueWidth + L.captionWidth) L.captionWidth = int(title.size()) - L.valueWidth;
  for (int i = 0; i < L.n; ++i)
    if (fields[i].valueText.size() > size_t(L.valueWidth)) fields[i].valueText.resize(size_t(L.valueWidth));

  int pictureWidth = 0, pictureHeight = 0;
  bool toolField = false;
  L.toolIndex = -1;
  for (int i = 0; i < L.n; ++i) {
    const TInputField& f = fields[i];
    if (!f.pictureName.empty()) {
      pictureWidth = std::max<int>(pictureWidth, f.pictureWidth);
      pictureHeight = std::max<int>(pictureHeight, f.pictureHeight);
    }
    if (f.toolField == 1 && L.toolIndex < 0) {
      L.toolIndex = i;
      toolField = true;
    }
  }
  L.hasPicture = pictureWidth >= 2 && pictureHeight >= 2;
  L.pictureRows = 0;
  if (L.hasPicture) {
    int columns = (pictureWidth + 7) / 8;
    L.pictureRows = (pictureHeight + 15) / 16;
    if (toolField) {
      columns += 13;
      L.pictureRows = std::max(L.pictureRows, 9);
    }
    L.captionWidth = std::max(L.captionWidth, columns - L.valueWidth - 2);
  }
  L.rows = L.n + 3 + L.pictureRows;

  const int width = (L.captionWidth + 3 + L.valueWidth) * 8;
  const int height = L.rows * 16 - 8;
  int16_t centreX = 0, centreY = 0;
  GetWindowCentreCell(centreX, centreY);
  int rowOf = 1, columnOf = 1;
  if (L.placement >= 1 && L.placement <= 9) {
    rowOf = (L.placement - 1) / 3;
    columnOf = (L.placement - 1) % 3;
  }
  int left = columnOf == 0 ? DrawingArea.x1 : columnOf == 1 ? centreX - width / 2 : MaxX - width;
  int top = rowOf == 0 ? DrawingArea.y1 : rowOf == 1 ? centreY - L.rows * 8 : MaxY - height;
  left = std::max(left, 0) / 8 * 8;
  top = std::max(top, 0) / 16 * 16;
  L.frame = TPopupFrame{};
  L.frame.left = int16_t(left);
  L.frame.top = int16_t(top);
  L.frame.right = int16_t(left + width);
  L.frame.bottom = int16_t(top + height);
  L.frame.lines = int16_t(L.rows);
  L.frame.grid = 1;
}

// The caption's room in line i: from its cell to the value's white field.
TBox FieldCaptionBox(const TFormLayout& L, int i) {
  const int row = FieldRow(L, i);
  return TBox{1, int16_t((L.frame.left / 8 + 1) * 8), int16_t(16 * row), int16_t(ValueColumn(L) * 8 - 3),
              int16_t(16 * row + 15)};
}
TBox FieldValueBox(const TFormLayout& L, int i) {
  const int row = FieldRow(L, i);
  return TBox{1, int16_t(ValueColumn(L) * 8 - 2), int16_t(16 * row + 2), int16_t(L.frame.right - 6),
              int16_t(16 * row + 17)};
}

// --- drawing ------------------------------------------------------------------------------------

void DrawFieldValue(const TFormLayout& L, const TInputField& f, int i, bool highlighted = false) {
  const int cells = FieldCells(L, f);
  std::string text = FormatInputFieldText(f, cells);
  if (f.kind == 'T' || f.kind == 'F' || f.kind == 'A') text.resize(size_t(cells), ' ');
  if (CursorShown) EraseMouseCursor();
  int16_t ink = 274, box = 261;
  if (f.kind == 'L' || f.kind == 'W') {
    box = MapLayerToColorIndex(RoundValue(f.value));
    ink = ContrastTextColor(RoundValue(f.value));
  }
  if (highlighted) std::swap(ink, box);
  DrawCellButton(FieldColumn(L, f), FieldRow(L, i), text, false, ink, box);
  SetRopCopy();
}

void DrawFieldLine(const TFormLayout& L, const TInputField& f, int i) {
  const int row = FieldRow(L, i);
  WriteCellText(L.frame.left / 8 + 1, row, f.caption, false, 274, 274);
  const TBox value = FieldValueBox(L, i);
  DrawWhiteField(value.x1, value.y1, value.x2, value.y2, 0);
  DrawFieldValue(L, f, i);
}

void DrawPictureArea(const TFormLayout& L, const TInputField (&fields)[kInputFieldEntries], int current) {
  if (!L.hasPicture) return;
  const int x1 = L.frame.left + 6, y1 = L.frame.top + 29, x2 = L.frame.right - 6, y2 = PictureAreaBottom(L);
  if (CursorShown) EraseMouseCursor();
  FillColorRect(x1, y1, x2, y2, plat::Rgb(192, 192, 192));
  SetPenColor(274);
  DrawScreenLine(x1, y2, x2 + 1, y2);
  SetRopCopy();
  const TInputField& f = fields[current - 1];
  if (!f.pictureName.empty() && f.pictureWidth > 1 && f.pictureHeight > 1)
    DrawNamedPicture(f.pictureName, x1, y2 - f.pictureHeight, f.pictureWidth, f.pictureHeight, 0);
  if (L.toolIndex >= 0) {  // the tool's profile beside the picture
    TToolRecord tool{};
    if (ToolRecordReader != nullptr) ToolRecordReader(tool, RoundValue(fields[L.toolIndex].value));
    DrawToolProfileHook(L.frame.right - 110, y2 - 143, L.frame.right - 6, y2 - 1, tool);
  }
}

// The frame, the buttons and every field line (the screen under the form
// is saved by the caller).
void DrawForm(TFormLayout& L, const std::string& title, const TInputField (&fields)[kInputFieldEntries]) {
  std::string caption = title;
  TrimTrailingBlanks(caption);
  if (CursorShown) EraseMouseCursor();
  DrawDialogFrameWithButtons(L.frame, caption, false, L.cancelBox, L.okBox);
  L.arrowBox = TBox{};
  if (L.arrowButton == 1 || L.arrowButton == 2) {
    L.arrowBox.flag = 1;
    PlacePictureButton(L.arrowBox, L.frame.right - 70, L.frame.top + 4,
                       L.arrowButton == 1 ? "_BUPFEILAB" : "_BUPFEILAUF");
  }
  for (int i = 0; i < L.n; ++i) DrawFieldLine(L, fields[i], i);
  if (!(SettingsWindowFlags & 1) && RedrawRequested()) RedrawState = 0;
}

bool IsClickInside(const TBox& box) {
  return box.flag == 1 && MouseX > box.x1 && MouseX < box.x2 && MouseY > box.y1 && MouseY < box.y2;
}

void MoveBox(TBox& box, int dx, int dy) {
  box.x1 = int16_t(box.x1 + dx);
  box.x2 = int16_t(box.x2 + dx);
  box.y1 = int16_t(box.y1 + dy);
  box.y2 = int16_t(box.y2 + dy);
}

// --- the field editors ----------------------------------------------------------------------------

// 'I', 'S', 'L' and 'W': the line editor on the display text, asked again
// while the number is outside the limits or cannot be read.
void EditNumberInForm(const TFormLayout& L, TInputField& f, int i, uint8_t& exitCode) {
  const int cells = FieldCells(L, f);
  for (;;) {
    const std::string shown = FormatInputFieldText(f, cells);
    std::string text = shown;
    EditTextField(FieldColumn(L, f), FieldRow(L, i), cells, 2, text, 261, 274, exitCode);
    int16_t code = 0;
    // An entry left as it was shown keeps the value: the shown text may be
    // rounded or, in "L" and "W" fields, have lost a digit to the "#".
    const float typed = text == shown ? f.value : ParseNumberExpression(text, code);
    if (code != 0 || !std::isfinite(typed)) {
      if (exitCode == 3) return;  // Esc always leaves; the form restores the field
      continue;
    }
    f.value = typed;
    if (typed >= f.lowerLimit && typed <= f.upperLimit) return;
    if (exitCode == 3) {
      f.value = f.lowerLimit;
      return;
    }
    if (f.kind == 'W') f.value = std::clamp(f.value, f.lowerLimit, std::max(f.lowerLimit, f.upperLimit));
  }
}

// 'B' and 'D': J, O or Y yes, N no; the text follows at once.
void EditYesNoInForm(const TFormLayout& L, TInputField& f, int i, uint8_t& exitCode) {
  exitCode = 0;
  DrawFieldValue(L, f, i, true);
  WaitForMouseRelease();
  while (exitCode == 0) {
    PollMouseButtons();
    if (RedrawRequested() || CloseRequested) {
      exitCode = 3;
      break;
    }
    const uint8_t buttons = GetMouseButtonState();
    if (buttons == 2) exitCode = 2;
    else if (buttons == 1) exitCode = 9;
    else if (buttons >= 4) exitCode = 3;
    if (exitCode != 0) break;
    if (!PollKeyPressed()) {
      WaitForWindowMessage();
      continue;
    }
    uint8_t key = ReadNextKey();
    if (key >= 'a' && key <= 'z') key = uint8_t(key - 'a' + 'A');
    switch (key) {
      case 0: MapExtendedKeyToExitCode(exitCode); break;
      case 9: exitCode = 5; break;
      case 13: exitCode = 2; break;
      case 27: exitCode = 3; break;
      case 'J': case 'O': case 'Y': f.value = 1.0f; break;
      case 'N': f.value = 0.0f; break;
      default: break;
    }
    DrawFieldValue(L, f, i, true);
    if (f.kind == 'D' && f.value == 1.0f && exitCode == 0) exitCode = 2;
  }
}

void EditTextInForm(const TFormLayout& L, TInputField& f, int i, uint8_t& exitCode) {
  const int cells = FieldCells(L, f);
  std::string text = f.valueText;
  EditTextField(FieldColumn(L, f), FieldRow(L, i), cells, cells == 1 ? 1 : 0, text, 261, 274, exitCode);
  if (exitCode != 3) f.valueText = text.substr(0, kInputTextMax);
}

void EditChoiceInForm(const TFormLayout& L, TInputField& f, int i, bool dropDown, uint8_t& exitCode) {
  TFieldChoiceList& list = *f.choiceList;
  list.Column = int16_t(FieldColumn(L, f));
  list.Row = int16_t(FieldRow(L, i));
  list.Width = int16_t(FieldCells(L, f));
  list.Chosen = int16_t(std::clamp(RoundValue(f.value), 1, kChoiceOptions));
  RunFieldChoiceList(list, dropDown);
  f.value = std::clamp(float(list.Chosen), f.lowerLimit, std::max(f.lowerLimit, f.upperLimit));
  exitCode = list.ExitCode;
}

// Waits for a key or a click when no field can be edited.
void WaitOnForm(uint8_t& exitCode) {
  exitCode = 0;
  WaitForMouseRelease();
  while (exitCode == 0) {
    PollMouseButtons();
    if (RedrawRequested() || CloseRequested) exitCode = 3;
    else if (MouseButtonState == 2) exitCode = 2;
    else if (MouseButtonState == 1) exitCode = 9;
    else if (MouseButtonState >= 4) exitCode = 3;
    if (exitCode != 0) break;
    ReadFormExitKey(exitCode, 2);
  }
}

// The nearest editable field from start in direction step (start included);
// 0 when there is none before the end of the list.
int FindEditable(const TInputField (&fields)[kInputFieldEntries], int n, int start, int step) {
  for (int k = start; k >= 1 && k <= n; k += step)
    if (IsEditableField(fields[k - 1])) return k;
  return 0;
}

}  // namespace

void LayOutInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                     int placement, TInputFormLayout& layout) {
  TFormLayout L;
  L.n = std::min(count & 0x3F, kInputFieldsMax);
  L.placement = placement;
  LayOutForm(L, title, fields);
  layout = TInputFormLayout{};
  layout.frame = L.frame;
  layout.titleBox = GetDialogTitleBox(L.frame);
  for (int i = 0; i < L.n; ++i) {
    layout.captionBoxes[i] = FieldCaptionBox(L, i);
    layout.valueBoxes[i] = FieldValueBox(L, i);
  }
}

// --- the run ----------------------------------------------------------------------------------------

uint8_t EditInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                      int placement, int arrowButton, uint8_t& exitCode) {
  exitCode = 3;
  const bool outsideEnds = (count & kFormEndsOnOutsideClick) != 0;
  if ((count & 0x7F) == 0 || (count & 0x3F) == 0) {
    WaitForMouseRelease();
    return exitCode;
  }
  const TCommandCode commandWord = CommandWord;
  if (CursorShown) EraseMouseCursor();
  const bool redrawAtStart = RedrawRequested();
  bool redrawHandled = false;

  TFormLayout L;
  L.n = std::min(count & 0x3F, kInputFieldsMax);
  L.placement = placement;
  L.arrowButton = arrowButton;
  LayOutForm(L, title, fields);

  // The copy Esc puts back.
  std::string savedTexts[kInputFieldsMax];
  float savedValues[kInputFieldsMax];
  for (int i = 0; i < L.n; ++i) {
    savedTexts[i] = fields[i].valueText;
    savedValues[i] = fields[i].value;
  }
  const bool anyEditable = FindEditable(fields, L.n, 1, 1) != 0;

  int current = 1;
  bool firstOpen = true;
  OpenPopupFrame(L.frame);
  for (;;) {
    DrawForm(L, title, fields);
    current = 1;
    exitCode = 2;
    bool ended = false;
    while (!ended) {
      // The current field is one with an editor: others are passed over in
      // the direction of travel.
      if (!IsEditableField(fields[current - 1]) && anyEditable) {
        const bool back = exitCode == 4 || exitCode == 7;
        int next = FindEditable(fields, L.n, current, back ? -1 : 1);
        if (next == 0 && !back && exitCode == 2) {
          current = L.n + 1;  // Enter passed the last field
          break;
        }
        if (next == 0) next = FindEditable(fields, L.n, current, back ? 1 : -1);
        current = next;
      }
      TInputField& f = fields[current - 1];
      const int i = current - 1;
      DrawPictureArea(L, fields, current);
      if (!anyEditable) {
        WaitOnForm(exitCode);
      } else {
        switch (f.kind) {
          case 'I':
          case 'S': EditNumberInForm(L, f, i, exitCode); break;
          case 'L':
            EditNumberInForm(L, f, i, exitCode);
            if (exitCode == 9) {
              int16_t layer = int16_t(std::clamp(RoundValue(f.value), -32768, 32767));
              if (ChooseLayerHook(layer)) f.value = float(layer);
              exitCode = 0;  // the field stays current
            }
            break;
          case 'W':
            EditNumberInForm(L, f, i, exitCode);
            if (exitCode == 9) exitCode = 11;
            break;
          case 'T': EditTextInForm(L, f, i, exitCode); break;
          case 'B':
          case 'D': EditYesNoInForm(L, f, i, exitCode); break;
          case 'A': EditChoiceInForm(L, f, i, !(current == 1 && firstOpen), exitCode); break;
          default: break;
        }
      }
      firstOpen = false;
      DrawFieldValue(L, f, i);

      if (RedrawRequested()) {
        if (SettingsWindowFlags & 1) {
          exitCode = 3;
          break;
        }
        exitCode = 0;
        redrawHandled = true;
        DrawForm(L, title, fields);
        continue;
      }

      // A left click that ended the edit.
      if (MouseButtonState == 2) {
        if (IsClickInside(L.okBox)) {
          exitCode = 8;
        } else if (IsClickInside(L.cancelBox)) {
          exitCode = 3;
        } else if (IsClickInside(L.arrowBox)) {
          exitCode = 10;
        } else if (L.placement != 0 && MouseX > L.frame.left && MouseX < L.frame.right &&
                   MouseY > L.frame.top && MouseY < L.frame.top + kTitleStripHeight) {
          const int oldLeft = L.frame.left, oldTop = L.frame.top;
          DragPopupFrame(L.frame);
          const int dx = L.frame.left - oldLeft, dy = L.frame.top - oldTop;
          MoveBox(L.okBox, dx, dy);
          MoveBox(L.cancelBox, dx, dy);
          MoveBox(L.arrowBox, dx, dy);
          exitCode = 0;
        } else if (L.hasPicture && L.toolIndex >= 0 && MouseX > L.frame.right - 110 && MouseX < L.frame.right - 6 &&
                   MouseY > PictureAreaBottom(L) - 143 && MouseY < PictureAreaBottom(L) - 1) {
          exitCode = 11;
        } else if (MouseX > L.frame.left && MouseX < L.frame.right && MouseY >= 16 * FirstFieldRow(L) &&
                   MouseY < 16 * (FirstFieldRow(L) + L.n)) {
          const int picked = (MouseY / 16 - FirstFieldRow(L)) + 1;
          if (picked >= 1 && picked <= L.n && IsEditableField(fields[picked - 1])) {
            current = picked;
            exitCode = 0;
          }
        } else if (outsideEnds && (MouseX < L.frame.left || MouseX > L.frame.right || MouseY < L.frame.top ||
                                   MouseY > L.frame.bottom)) {
          break;
        }
      }
      CommandWord = commandWord;

      switch (exitCode) {
        case 2: ++current; break;
        case 4:
        case 7:
          if (const int previous = FindEditable(fields, L.n, current - 1, -1); previous != 0) current = previous;
          break;
        case 5:
        case 6:
          if (const int next = FindEditable(fields, L.n, current + 1, 1); next != 0) current = next;
          break;
        case 11: {
          // The tool field, or the tool number field being edited.
          int target = L.toolIndex;
          if (target < 0 && fields[current - 1].kind == 'W') target = current - 1;
          if (target >= 0) {
            TInputField& tool = fields[target];
            ToolChooserNumber = int16_t(std::clamp(RoundValue(tool.value), -32768, 32767));
            if (ToolChooserHook != nullptr) ToolChooserHook();
            tool.value = float(ToolChooserNumber);
            DrawFieldValue(L, tool, target);
          }
          exitCode = 0;
          break;
        }
        default: break;
      }
      if (exitCode == 3 || exitCode == 8 || exitCode == 9 || exitCode == 10) ended = true;
      if (f.kind == 'D' && f.value == 1.0f && IsEditableField(f)) ended = true;
      if (current > L.n) ended = true;
      if (CloseRequested && !ended) {
        exitCode = 3;
        ended = true;
      }
    }

    ClosePopupFrame(L.frame);
    if (RedrawRequested() && !(SettingsWindowFlags & 1) && !CloseRequested) {
      // Drawn again at the same place with the values as they stand.
      OpenPopupFrame(L.frame);
      redrawHandled = true;
      continue;
    }
    break;
  }
  if (redrawAtStart || redrawHandled) RedrawState = kRedrawAfterRebuild;

  for (int i = 0; i < kInputFieldEntries; ++i) fields[i].decimals = 0;
  for (int i = 0; i < L.n; ++i) {
    if (fields[i].kind == 'A') {
      delete fields[i].choiceList;
      fields[i].choiceList = nullptr;
    }
  }
  if (exitCode > 8 && current >= 1 && current <= L.n) fields[current - 1].decimals = exitCode;

  uint8_t changed = 0;
  for (int i = 0; i < L.n; ++i)
    if (fields[i].valueText != savedTexts[i] || fields[i].value != savedValues[i]) changed = 1;
  if (exitCode == 3) {
    for (int i = 0; i < L.n; ++i) {
      fields[i].valueText = savedTexts[i];
      fields[i].value = savedValues[i];
    }
    changed = 0;
  }
  TInputField& result = fields[kInputResultEntry];
  result.lowerLimit = float(current);
  result.width = changed;
  result.decimals = exitCode;
  if (!outsideEnds) WaitForMouseRelease();
  return exitCode;
}

// --- wrappers ---------------------------------------------------------------------------------------

uint8_t ShowInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                      int placement, int pictureWidth, int pictureHeight, const std::string& pictureName) {
  const int n = std::min(count & 0x7F, kInputFieldsMax);
  for (int i = 0; i < n; ++i) {
    fields[i].pictureName = pictureName.substr(0, kInputPictureNameMax);
    fields[i].pictureWidth = int16_t(pictureWidth);
    fields[i].pictureHeight = int16_t(pictureHeight);
    fields[i].toolField = 0;
  }
  uint8_t exitCode = 3;
  return EditInputForm(title, fields, count, placement == 1 ? 5 : placement, 0, exitCode);
}

uint8_t RunInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count) {
  return ShowInputForm(title, fields, count, 1, 0, 0, "");
}

uint8_t RunInputFormWithPicture(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                                int pictureWidth, int pictureHeight, const std::string& pictureName) {
  return ShowInputForm(title, fields, count, 1, pictureWidth, pictureHeight, pictureName);
}

void EditFourValues(const std::string& title, int count, const std::string (&captions)[4], float (&values)[4],
                    uint8_t& exitCode) {
  count = std::clamp(count, 0, 4);
  TInputField fields[kInputFieldEntries];
  for (int i = 0; i < count; ++i) {
    TInputField& f = fields[i];
    f.caption = captions[i];
    f.kind = 'S';
    f.value = values[i];
    f.upperLimit = kInputUpperLimit;
    f.lowerLimit = kInputLowerLimit;
    f.width = 8;
    f.decimals = 3;
  }
  exitCode = RunInputForm(title, fields, uint8_t(count));
  for (int i = 0; i < count; ++i) values[i] = fields[i].value;
}

// --- the picture card ---------------------------------------------------------------------------------

void ShowPictureCard(int x, int y, const std::string& pictureName, TPopupFrame& frame,
                     const std::string& upperCaption, const std::string& lowerCaption, int width, int height) {
  const int upper = upperCaption.empty() ? 0 : 16;
  const int lower = lowerCaption.empty() ? 0 : 16;
  frame = TPopupFrame{};
  frame.left = int16_t(x);
  frame.top = int16_t(y);
  frame.right = int16_t(x + width + 28);
  frame.bottom = int16_t(y + height + 28 + upper + lower);
  frame.lines = int16_t(LinesForHeight(frame.bottom - frame.top + 2));
  if (CursorShown) EraseMouseCursor();
  OpenPopupFrame(frame);
  const int x1 = frame.left, y1 = frame.top, x2 = frame.right, y2 = frame.bottom;
  DrawDialogPanel(x1, y1, x2, 6, "", y2);
  FillColorRect(x1 + 2, y1 + 2, x2 - 2, y2 - 2, plat::Rgb(220, 220, 220));
  FillColorRect(x1 + 8, y1 + 8, x2 - 8, y2 - 8, plat::Rgb(255, 255, 255));
  DrawNamedPicture(pictureName, x + 14, y + 14 + upper, width, height, 0);
  SetPenColor(1);
  auto centred = [&](const std::string& text, int ty) {
    const int w = MeasureTextWidthSized(text, 7, 16);
    DrawTextSized((x1 + x2) / 2 - w / 2, ty, text, 16, 7);
  };
  if (!upperCaption.empty()) centred(upperCaption, y + 6);
  if (!lowerCaption.empty()) centred(lowerCaption, y2 - 24);
  SetRopCopy();
}
