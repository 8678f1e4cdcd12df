// The file open and save dialogs, the file note and the note editor.
//
// Sections: filters and names; the file note; the note editor; the preview
// and the library; the dialog (layout, drawing, input); RunFileDialog.
#include "ui/file_dialogs.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

#include "frame/codepage.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/window.h"
#include "model/drawing_file.h"
#include "model/text_job.h"
#include "ui/common_dialogs.h"
#include "ui/file_list.h"
#include "ui/file_previews.h"
#include "ui/panels.h"
#include "view/character_cells.h"

TFileDialogRequest* ActiveFileDialogRequest = nullptr;

namespace {

std::string Upper(std::string s) {
  UpperCaseString(s);
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::vector<std::string> SplitBars(const std::string& filter) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : filter) {
    if (c == '|') {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

// The next key already in the buffer, taken without pumping (a pump here
// would let the next input in before a question this key may raise);
// 0 when the buffer is empty.
uint8_t TakeBufferedKey() {
  if (KeyCount <= 0) return 0;
  const uint8_t key = KeyBuffer[0];
  memmove(KeyBuffer, KeyBuffer + 1, sizeof KeyBuffer - 1);
  --KeyCount;
  return key;
}

bool IsAbsolutePath(const std::string& name) {
  return (name.size() >= 2 && name[1] == ':') || (!name.empty() && name[0] == '\\');
}

std::string WithBackslash(const std::string& folder) {
  return (!folder.empty() && folder.back() != '\\') ? folder + "\\" : folder;
}

std::string FolderForExists(const std::string& folder) {
  return folder.size() > 3 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
}

}  // namespace

// --- filters and names ---------------------------------------------------------------------------

std::string GetFileDialogTitle(int mode) {
  switch (mode) {
    case 1: return GetMessageText(739, -12);
    case 2: return GetMessageText(3375, -20);
    case 3: return GetMessageText(3373, -20);
    default: return GetMessageText(598, -29);
  }
}

// --- the data kinds --------------------------------------------------------------------------

namespace {

// Where a kind's filter comes from, and whether its open dialog starts with
// the preview on.
enum class TKindFilter : uint8_t { kFixed, kOwnExtension, kOwnExtensionOrAll };
enum class TKindPreview : uint8_t { kNever, kAlways, kByExtension };

struct TFileKindRow {
  int kind;
  TKindFilter source;
  const char* filter;    // kFixed: "description|pattern|..." ending with "|"
  const char* accepted;  // kFixed: extensions back to back
  TKindPreview preview;
};

// Kind 0 lists the caller's own extension, kind 10 too unless it names none
// (or ".*"); every kind outside the table lists all files.
constexpr TFileKindRow kFileKinds[] = {
    {0, TKindFilter::kOwnExtension, nullptr, nullptr, TKindPreview::kByExtension},
    {1, TKindFilter::kFixed, "Marvek-Data LG1, H2R|*.lg1;*.h2r|LG1|*.lg1|H2R|*.h2r|",
     ".LG1.H2R", TKindPreview::kAlways},
    {2, TKindFilter::kFixed, "LG1|*.lg1|",
     ".LG1", TKindPreview::kAlways},
    {3, TKindFilter::kFixed, "H2R|*.h2r|",
     ".H2R", TKindPreview::kAlways},
    {4, TKindFilter::kFixed, "Marvek-Data SLD, LG1, H2R|*.sld;*.lg1;*.h2r|SLD|*.sld|LG1|*.lg1|H2R|*.h2r|",
     ".SLD.LG1.H2R", TKindPreview::kAlways},
    {5, TKindFilter::kFixed, "PLI|*.pli|",
     ".PLI", TKindPreview::kAlways},
    {6, TKindFilter::kFixed, "HRL|*.hrl|",
     ".HRL", TKindPreview::kAlways},
    {7, TKindFilter::kFixed, "PCX|*.pcx|",
     ".PCX", TKindPreview::kAlways},
    {8, TKindFilter::kFixed, "PCX, TIF, BMP|*.pcx;*.tif;*.bmp|PCX|*.pcx|TIF|*.tif|BMP|*.bmp|",
     ".PCX.TIF.BMP", TKindPreview::kAlways},
    {9, TKindFilter::kFixed, "Postscript Vector EPS, AI|*.eps;*.ai|EPS|*.eps|AI |*.ai|",
     ".EPS.AI ", TKindPreview::kNever},
    {10, TKindFilter::kOwnExtensionOrAll, nullptr, nullptr, TKindPreview::kNever},
    {11, TKindFilter::kFixed, "WZB|*.wzb|",
     ".WZB", TKindPreview::kNever},
    {12, TKindFilter::kFixed, "PFB|*.pfb|",
     ".PFB", TKindPreview::kNever},
    {13, TKindFilter::kFixed, "Marvek Relief HRP(packed), HRL(unpackep)|*.hrp;*.hrl|HRP|*.hrp|HRl|*.hrl|",
     ".HRP.HRL", TKindPreview::kAlways},
    {14, TKindFilter::kFixed, "Marvek Project PRO, SLD, LG1, H2R|*.pro;*.sld;*.lg1;*.h2r|PRO|*.pro|SLD|*.sld|LG1|*.lg1|H2R|*.h2r|",
     ".PRO.SLD.LG1.H2R", TKindPreview::kAlways},
    {15, TKindFilter::kFixed, "PCX, BMP, GIF, JPG|*.pcx;*.bmp;*.gif;*.jpg|PCX|*.pcx|BMP|*.bmp|GIF|*.gif|JPG|*.jpg|",
     ".PCX.BMP.GIF.JPG", TKindPreview::kAlways},
    {16, TKindFilter::kFixed, "HRL, HRP, PCX, BMP, GIF, JPG|*.hrl;*.hrp;*.pcx;*.bmp;*.gif;*.jpg;*.jpeg|HRL|*.hrl|HRP|*.hrp|"
         "PCX|*.pcx|BMP|*.bmp|GIF|*.gif|JPG|*.jpg;*.jpeg|",
     ".HRL.HRP.PCX.BMP.GIF.JPG.JPEG", TKindPreview::kAlways},
    {17, TKindFilter::kFixed, "AKV|*.akv|",
     ".AKV", TKindPreview::kNever},
    {18, TKindFilter::kFixed, "Relief HRL, HRP, HRS, RLF|*.hrl;*.hrp;*.hrs;*.rlf|HRL|*.hrl|HRP|*.hrp|HRS|*.hrs|RLF|*.rlf|",
     ".HRL.HRP.HRS.RLF", TKindPreview::kAlways},
    {19, TKindFilter::kFixed, "HPGL PLT, HPG|*.plt;*.hpg|PLT|*.plt|HPG|*.hpg|",
     ".PLT.HPG", TKindPreview::kNever},
    {20, TKindFilter::kFixed, "Prograv SOR|*.sor|",
     ".SOR", TKindPreview::kAlways},
    {21, TKindFilter::kFixed, "BMP, GIF, JPG|*.bmp;*.gif;*.jpg|BMP|*.bmp|GIF|*.gif|JPG|*.jpg|",
     ".PCX.BMP.GIF.JPG", TKindPreview::kNever},
    {22, TKindFilter::kFixed, "BMP, GIF, JPG, PCX, STL, DXF, HRL, HRP, RLF|*.bmp;*.gif;*.jpg;*.pcx;*.stl;*.dxf;*.hrl;*.hrp;*.rlf|"
         "BMP - Windows Bitmap|*.bmp|GIF - CompuServ Bitmap|*.gif|JPG - JPEG Bitmap|*.jpg|"
         "PCX - Paintbrush Bitmap|*.pcx|STL - Stereolithographie|*.stl|DXF - AutoCAD 3D-Face|*.dxf|"
         "HRL - Marvek Relief unpackt|*.hrl|HRP - Marvek Relief packt|*.hrp|RLF - LANG Relief|*.rlf|",
     ".BMP.GIF.JPG.PCX.STL.DXF.HRL.HRP.HRS.RLF", TKindPreview::kAlways},
    {23, TKindFilter::kFixed, "CNC, MES|*.cnc;*.mes|CNC - WinPC-NC ISO-Daten|*.cnc|MES - WinPC-NC Tasterdat|*.mes|",
     ".CNC.MES", TKindPreview::kNever},
    {24, TKindFilter::kFixed, "NC, DXF|*.nc;*.dxf|NC  - NCGraf ISO-St\x81tzp.|*.nc |DXF - NCGraf DXF-St\x81tzp.|*.dxf|",
     ".NC .DXF", TKindPreview::kNever},
    {25, TKindFilter::kFixed, "ASC DXF IBL MF|*.asc;*.dxf;*.ibl;*.mf|ASC - ASCII-St\x81tzp.|*.asc|DXF - DXF-St\x81tzpkt.|*.dxf|"
         "IBL - St\x81tzpunkte|*.ibl|MF  - Scantech Meta|*.mf |",
     ".ASC.DXF.IBL.MF ", TKindPreview::kNever},
    {26, TKindFilter::kFixed, "JPG AVI mpg MOV|*.jpg;*.avi;*.mpg;*.mov|JPG - JPEG Bitmap|*.jpg|AVI - AVI-Movie|*.avi|"
         "mpg - mgg-Movie|*.mpg|MOV - MOV-Movie|*.MOV|",
     ".JPG.AVI.MPG.MOV", TKindPreview::kNever},
    {27, TKindFilter::kFixed, "BMP, GIF, JPG, PCX, HRL, HRP, RLF|*.bmp;*.gif;*.jpg;*.pcx;*.hrl;*.hrp;*.rlf|BMP - Windows Bitmap|*.bmp|"
         "GIF - CompuServ Bitmap|*.gif|JPG - JPEG Bitmap|*.jpg|PCX - Paintbrush Bitmap|*.pcx|"
         "HRL - Marvek Relief unpackt|*.hrl|HRP - Marvek Relief packt|*.hrp|RLF - LANG Relief|*.rlf|",
     ".BMP.GIF.JPG.PCX.HRL.HRP.HRS.RLF", TKindPreview::kAlways},
};
constexpr int kFileKindCount = static_cast<int>(sizeof kFileKinds / sizeof kFileKinds[0]);

constexpr const char* kAllFilesFilter = "*.*|*.*|";
constexpr const char* kAllFilesAccepted = ".*  ";

// Extensions whose files the preview of kind 0 can show.
constexpr const char* kKindZeroPreviewExtensions[] = {".SLD", ".LG1", ".H2R", ".HRL", ".HRP", ".HRS", ".RLF", ".SOR", ".STL"};

// The row of a kind, nullptr outside the table.
const TFileKindRow* FindFileKind(int kind) {
  if (kind < 0 || kind >= kFileKindCount) return nullptr;
  const TFileKindRow& row = kFileKinds[kind];
  assert(row.kind == kind && "the kinds stand in order");
  return &row;
}

}  // namespace

bool IsPreviewKind(int kind, const std::string& extension) {
  const TFileKindRow* row = FindFileKind(kind);
  if (row == nullptr) return false;
  switch (row->preview) {
    case TKindPreview::kNever: return false;
    case TKindPreview::kAlways: return true;
    case TKindPreview::kByExtension: {
      const std::string e = Upper(extension);
      for (const char* p : kKindZeroPreviewExtensions)
        if (e == p) return true;
      return false;
    }
  }
  return false;
}

TFileFilter BuildFileFilter(int kind, const std::string& e) {
  TFileFilter f;
  f.filter = kAllFilesFilter;
  f.accepted = kAllFilesAccepted;
  const TFileKindRow* row = FindFileKind(kind);
  const bool own = row != nullptr && (row->source == TKindFilter::kOwnExtension ||
                                      (row->source == TKindFilter::kOwnExtensionOrAll && !e.empty() && e != ".*"));
  if (own) {
    f.filter = e.substr(std::min<size_t>(1, e.size()), 3) + "|*" + e + "|";
    f.accepted = e;
  } else if (row != nullptr && row->source == TKindFilter::kFixed) {
    f.filter = row->filter;
    f.accepted = row->accepted;
  }
  f.preview = IsPreviewKind(kind, e);
  return f;
}

std::string DefaultExtensionOfPattern(const std::string& pattern) {
  std::string ext = pattern.size() > 2 ? pattern.substr(2) : std::string();
  const size_t semi = ext.find(';');
  if (semi != std::string::npos) ext.resize(semi);
  while (!ext.empty() && ext.back() == ' ') ext.pop_back();
  return ext == "*" ? std::string() : ext;
}

std::string ApplyDefaultExtension(const std::string& name, const std::string& defaultExt) {
  std::string ext;
  GetFileNamePart(name, 'E', ext);
  std::string out = name;
  if (ext == ".") out = name + defaultExt;
  else if (ext.empty()) out = name + "." + defaultExt;
  if (out.size() > size_t(kFileDialogNameMax)) out.resize(kFileDialogNameMax);
  return out;
}

void CheckChosenExtension(std::string& fileName, const std::string& accepted) {
  if (fileName.empty()) return;
  std::string folder, ext, name;
  SplitFileName(fileName, folder, 255, ext, 255, name, 255);
  ext = Upper(ext);
  fileName = folder + name + ext;
  const std::string list = accepted;
  for (size_t at = 0; at < list.size();) {
    const std::string five = list.substr(at, 5);
    size_t length = five.size();
    for (size_t k = 1; k < five.size(); ++k) {
      if (five[k] == '.') {
        length = k;
        break;
      }
    }
    std::string item = Upper(five.substr(0, length));
    at += std::max<size_t>(length, 1);
    while (!item.empty() && item.back() == ' ') item.pop_back();
    if (item == ext || (item.size() >= 2 && item[1] == '*') || item == ".???") return;
  }
  ShowTitledMessage(GetMessageText(1091, -39));
  fileName.clear();
}

// --- the file note ---------------------------------------------------------------------------------

std::string FileNoteToText(const TFileNote& note) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    const int n = std::min<int>(note.lines[i][0], kFileNoteLineMax);
    if (i > 0) text += "\r\n";
    text.append(reinterpret_cast<const char*>(note.lines[i] + 1), size_t(n));
  }
  return text;
}

void FileNoteFromText(TFileNote& note, const std::string& text) {
  memset(&note, 0, sizeof note);
  const std::vector<std::string> lines = SplitLines(text);
  for (size_t i = 0; i < 4 && i < lines.size(); ++i) {
    const size_t n = std::min<size_t>(lines[i].size(), kFileNoteLineMax);
    note.lines[i][0] = uint8_t(n);
    memcpy(note.lines[i] + 1, lines[i].data(), n);
  }
}

std::string ReadFileNoteText(const std::string& fileName, const std::string& lowerCaseExtension) {
  const std::string ext = Lower(lowerCaseExtension);
  if (ext != ".sld" && ext != ".akv" && ext != ".wzb") return std::string();
  if (fileName.empty() || !plat::FileExists(fileName)) return std::string();
  const int64_t offset = ext == ".sld" ? 175 : 0;
  if (plat::FileSizeBytes(fileName) < offset + int64_t(sizeof(TFileNote))) return std::string();
  std::vector<uint8_t> bytes(size_t(offset) + sizeof(TFileNote));
  if (!ReadFileBytes(fileName, bytes.data(), int32_t(bytes.size()))) return std::string();
  TFileNote note;
  memcpy(&note, bytes.data() + offset, sizeof note);
  for (const auto& line : note.lines)
    if (line[0] > kFileNoteLineMax) return std::string();
  return FileNoteToText(note);
}

// --- the note editor ---------------------------------------------------------------------------------

bool AcceptNoteLines(std::vector<std::string>& lines, const std::string& messageTitle,
                     const std::string& messageText) {
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  bool tooMuch = lines.size() > 4;
  for (const std::string& line : lines) tooMuch = tooMuch || line.size() > size_t(kFileNoteLineMax);
  if (tooMuch) {
    PlayMessageBeep(0);
    if (RunMessageBox(messageTitle, messageText, 4) == 0) return false;
  }
  lines.resize(4);
  for (std::string& line : lines)
    if (line.size() > size_t(kFileNoteLineMax)) line.resize(kFileNoteLineMax);
  return true;
}

namespace {

struct TNoteForm {
  int left = 0, top = 0;
  TBox memo{}, ok{}, cancel{};
};

void DrawNoteButton(const TBox& b, const std::string& caption) {
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(260));
  DrawRaisedEdge(b.x1, b.y1, b.x2, b.y2);
  SetPenColor(274);
  DrawScreenText((b.x1 + b.x2) / 2 - 4 * int(caption.size()), b.y1 + 8, caption);
}

void DrawNoteMemo(const TNoteForm& form, const std::vector<std::string>& lines, size_t current) {
  FillColorRect(form.memo.x1, form.memo.y1, form.memo.x2, form.memo.y2, GetColorRef(261));
  DrawBevelFrame(form.memo.x1, form.memo.y1, form.memo.x2, form.memo.y2);
  const size_t first = current >= 6 ? current - 6 : 0;
  for (size_t i = first; i < lines.size() && i < first + 7; ++i) {
    const int y = form.memo.y1 + 4 + int(i - first) * 16;
    SetPenColor(i == current ? 274 : 272);
    DrawScreenText(form.memo.x1 + 4, y + 3, lines[i].substr(0, 52) + (i == current ? "_" : ""));
  }
}

bool HitBox(const TBox& b, int x, int y) { return x >= b.x1 && x <= b.x2 && y >= b.y1 && y <= b.y2; }

}  // namespace

bool EditFileNote(std::string& text, const std::string& okCaption, const std::string& cancelCaption,
                  const std::string& messageTitle, const std::string& formCaption, const std::string& messageText) {
  const std::string ok = okCaption.empty() ? "OK" : okCaption;
  const std::string cancel = cancelCaption.empty() ? "Abbrechen" : cancelCaption;
  const std::string title = messageTitle.empty() ? "Abfrage" : messageTitle;
  const std::string question = messageText.empty()
      ? "Die Dateinotiz ist auf 4 x 50 Zeichen beschr\x84nkt. \x9A" "bersch\x81ssige Zeichen entfernen?"
      : messageText;
  const std::string caption = formCaption.empty() ? "Dateinotiz-Eingabe - maximal 4 x 50 Zeichen" : formCaption;

  TNoteForm form;
  form.left = std::max(0, (MaxX + 1 - 442) / 2);
  form.top = std::max(0, (MaxY + 1 - 210) / 2);
  const int body = form.top + 26;
  form.memo = TBox{1, int16_t(form.left + 8), int16_t(body + 8), int16_t(form.left + 433), int16_t(body + 121)};
  form.ok = TBox{1, int16_t(form.left + 112), int16_t(body + 136), int16_t(form.left + 193), int16_t(body + 161)};
  form.cancel = TBox{1, int16_t(form.left + 248), int16_t(body + 136), int16_t(form.left + 329), int16_t(body + 161)};

  TPopupFrame frame{};
  frame.left = int16_t(form.left);
  frame.right = int16_t(form.left + 442);
  frame.top = int16_t(form.top);
  frame.bottom = int16_t(body + 178);
  frame.lines = int16_t(LinesForHeight(210) + 1);
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(form.left, form.top, form.left + 442, caption, body + 178);
  DrawNoteButton(form.ok, ok);
  DrawNoteButton(form.cancel, cancel);

  std::vector<std::string> lines = SplitLines(text);
  size_t current = lines.size() - 1;
  DrawNoteMemo(form, lines, current);
  WaitForMouseRelease();
  int result = 0;  // 1 OK, 2 cancelled
  while (result == 0) {
    if (CloseRequested) {
      result = 2;
      break;
    }
    int16_t x = 0, y = 0;
    PollMousePosition(x, y);
    if (MouseButtonState == 2 && (HitBox(form.ok, x, y) || HitBox(form.cancel, x, y))) {
      const bool okHit = HitBox(form.ok, x, y);
      WaitForMouseRelease();
      if (!okHit) {
        result = 2;
      } else {
        std::vector<std::string> checked = lines;
        if (AcceptNoteLines(checked, title, question)) {
          lines = checked;
          result = 1;
        } else {
          DrawNoteMemo(form, lines, current);
        }
      }
      continue;
    }
    if (KeyCount > 0) {
      const uint8_t key = TakeBufferedKey();
      if (key == 0) {
        const uint8_t scan = TakeBufferedKey();
        if (scan == 72 && current > 0) --current;
        if (scan == 80 && current + 1 < lines.size()) ++current;
      } else if (key == 27) {
        result = 2;
      } else if (key == 13) {
        lines.insert(lines.begin() + long(current) + 1, std::string());
        ++current;
      } else if (key == 8) {
        if (!lines[current].empty()) {
          lines[current].pop_back();
        } else if (lines.size() > 1) {
          lines.erase(lines.begin() + long(current));
          if (current > 0) --current;
        }
      } else if (key >= 32 && lines[current].size() < 255) {
        lines[current] += char(key);
      }
      if (result == 0) DrawNoteMemo(form, lines, current);
      continue;
    }
    WaitForWindowMessage();
  }
  ClosePopupFrame(frame);
  WaitForMouseRelease();
  if (result != 1) return false;
  text = lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n" + lines[3];
  return true;
}

// --- the preview and the library ----------------------------------------------------------------------

namespace {
bool PreviewBusy = false;
}

void PaintFilePreview(const plat::TRect& rect, const std::string& fileName) {
  if (fileName.empty() || PreviewBusy) return;
  PreviewBusy = true;
  std::string ext;
  GetFileNamePart(fileName, 'E', ext);
  ext = Upper(ext);
  std::string folder, bare, ignored;
  SplitFileName(fileName, folder, 255, ignored, 255, bare, 255);
  const std::string name = folder + bare + ext;
  const TBox box{1, 0, 0, int16_t(rect.right - rect.left), int16_t(rect.bottom - rect.top)};
  SetClipWindow(rect.left, rect.top, rect.right, rect.bottom);
  if (ext == ".SLD") DrawDrawingPreview(name, box, 261, false);
  else if (ext == ".H2R" || ext == ".PLI") DrawVectorFilePreview(name, box, 261, false);
  else if (ext == ".HRL") DrawReliefPreview(name, box);
  else if (ext == ".HRS") DrawFloatReliefPreview(name, box);
  else if (ext == ".PCX") DrawPcxPreview(name, box);
  else if (ext == ".BMP") DrawPicturePreview(name, 0, box);
  else if (ext == ".GIF") DrawPicturePreview(name, 1, box);
  else if (ext == ".JPG" || ext == ".JPEG") DrawPicturePreview(name, 2, box);
  else if (ext == ".SOR") DrawSorPreview(name, box);
  else if (ext == ".STL") DrawStlPreview(name, box, 261, false);
  SetClipWindow(0, 0, MaxX + 1, MaxY + 1);
  if (ext == ".HRP") {
    DrawPackedReliefThumbnail(name, TBox{1, int16_t(rect.left - 1), int16_t(rect.top - 1), int16_t(rect.right),
                                         int16_t(rect.bottom)});
  } else if (ext == ".PRO") {
    DrawProjectPreview(name, TBox{1, int16_t(rect.left), int16_t(rect.top), int16_t(rect.right),
                                  int16_t(rect.bottom)});
  }
  PreviewBusy = false;
}

bool BrowseFileLibrary(const std::string& folder, const std::string& pattern, std::string& result) {
  WaitForMouseRelease();
  if (ChooseFileFromList(folder, pattern, result, kFileDialogNameMax)) return true;
  result.clear();
  return false;
}

// --- the dialog ------------------------------------------------------------------------------------------

namespace {

constexpr int kDialogWidth = 600;
constexpr int kDialogHeight = 445;
constexpr int kListRows = 12;

struct TDialogEntry {
  std::string name;
  bool folder = false;
};

struct TDialogRun {
  TFileDialogRequest* req = nullptr;
  std::string folder;  // with a trailing backslash
  std::string name;    // the name field
  bool nameSelected = false;  // the whole name is selected: typing replaces it
  std::vector<TDialogEntry> entries;
  int top = 0;
  int selected = -1;
  std::vector<std::string> descriptions, patterns, defaultExts;
  int filterIndex = 1;
  bool previewOn = false;
  std::string memo;
  bool closedByProject = false, closedByLibrary = false;
  int result = 0;  // 0 running, 1 OK, 2 cancelled
  // layout
  int left = 0, top0 = 0;
  TBox list{}, nameBox{}, typeBox{}, okBox{}, cancelBox{}, checkBox{}, memoBox{}, paintBox{}, editBox{},
      projectBox{}, libraryBox{};
  bool editEnabled = false, projectEnabled = false, libraryEnabled = false;
};

TBox At(const TDialogRun& run, int x1, int y1, int x2, int y2) {
  return TBox{1, int16_t(run.left + x1), int16_t(run.top0 + y1), int16_t(run.left + x2), int16_t(run.top0 + y2)};
}

// The controls' boxes relative to the dialog's top left corner. Buttons are
// wide enough for their captions in the character-cell font the dialog draws
// with ("Zeichnung öffnen", "Bibliothek" whole).
struct TControlBox {
  int x1, y1, x2, y2;
};
constexpr TControlBox kControlBoxes[] = {
    {8, 52, 400, 52 + kListRows * 16 + 4},  // list
    {110, 258, 400, 278},                   // name
    {110, 284, 400, 304},                   // type
    {410, 258, 556, 280},                   // OK
    {410, 284, 556, 306},                   // cancel
    {168, 314, 180, 326},                   // preview check box
    {6, 334, 286, 404},                     // memo
    {292, 312, 417, 437},                   // preview
    {6, 409, 96, 429},                      // change
    {101, 409, 191, 429},                   // project
    {196, 409, 286, 429},                   // library
};
static_assert(sizeof kControlBoxes / sizeof kControlBoxes[0] == kDialogLibrary + 1);

void LayOut(TDialogRun& run) {
  run.left = std::max(0, (MaxX + 1 - kDialogWidth) / 2);
  run.top0 = std::max(0, (MaxY + 1 - kDialogHeight) / 2);
  TBox* const boxes[] = {&run.list,     &run.nameBox,  &run.typeBox,  &run.okBox,
                         &run.cancelBox, &run.checkBox, &run.memoBox, &run.paintBox,
                         &run.editBox,  &run.projectBox, &run.libraryBox};
  for (int i = 0; i <= kDialogLibrary; ++i) {
    const TControlBox& c = kControlBoxes[i];
    *boxes[i] = At(run, c.x1, c.y1, c.x2, c.y2);
  }
}

bool MatchesPattern(const std::string& pattern, const std::string& name) {
  std::string one;
  for (size_t i = 0; i <= pattern.size(); ++i) {
    if (i == pattern.size() || pattern[i] == ';') {
      while (!one.empty() && one.back() == ' ') one.pop_back();
      if (!one.empty() && plat::WildcardMatch(one, name)) return true;
      one.clear();
    } else {
      one += pattern[i];
    }
  }
  return false;
}

std::string CurrentPattern(const TDialogRun& run) {
  const size_t i = size_t(run.filterIndex - 1);
  return i < run.patterns.size() ? run.patterns[i] : "*.*";
}

std::string CurrentDefaultExt(const TDialogRun& run) {
  const size_t i = size_t(run.filterIndex - 1);
  return i < run.defaultExts.size() ? run.defaultExts[i] : std::string();
}

void ListFolder(TDialogRun& run) {
  run.entries.clear();
  run.top = 0;
  run.selected = -1;
  if (run.folder.size() > 3) run.entries.push_back(TDialogEntry{"..", true});
  plat::TSearchRec rec;
  std::vector<TDialogEntry> files;
  int found = FindFirstEntry(run.folder + "*.*", plat::kAttrDirectory, rec);
  const std::string pattern = CurrentPattern(run);
  while (found == 0) {
    if (rec.attr & plat::kAttrDirectory) run.entries.push_back(TDialogEntry{rec.name, true});
    else if (MatchesPattern(pattern, rec.name)) files.push_back(TDialogEntry{rec.name, false});
    found = FindNextEntry(rec);
  }
  FindCloseEntry(rec);
  run.entries.insert(run.entries.end(), files.begin(), files.end());
}

std::string CurrentPath(const TDialogRun& run) {
  if (run.name.empty()) return run.folder;
  return IsAbsolutePath(run.name) ? run.name : run.folder + run.name;
}

void DrawButton(const TBox& b, const std::string& caption, bool enabled) {
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(260));
  DrawRaisedEdge(b.x1, b.y1, b.x2, b.y2);
  SetPenColor(enabled ? 274 : 272);
  const int width = MeasureScreenTextWidth(caption);
  DrawScreenText((b.x1 + b.x2 + 1 - width) / 2, (b.y1 + b.y2) / 2 - 5, caption);
}

void DrawField(const TBox& b, const std::string& text, bool caret, bool selected = false) {
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(261));
  DrawBevelFrame(b.x1, b.y1, b.x2, b.y2);
  std::string shown = text + (caret && !selected ? "_" : "");
  while (!shown.empty() && MeasureScreenTextWidth(shown) > b.x2 - b.x1 - 8) shown.erase(shown.begin());
  if (selected && !shown.empty())
    FillColorRect(b.x1 + 3, b.y1 + 3, b.x1 + 4 + MeasureScreenTextWidth(shown), b.y2 - 3, GetColorRef(512));
  SetPenColor(selected ? 261 : 274);
  DrawScreenText(b.x1 + 4, b.y1 + 6, shown);
}

void DrawNameField(const TDialogRun& run) { DrawField(run.nameBox, run.name, true, run.nameSelected); }

void DrawList(const TDialogRun& run) {
  const TBox& b = run.list;
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(261));
  DrawBevelFrame(b.x1, b.y1, b.x2, b.y2);
  for (int row = 0; row < kListRows; ++row) {
    const int i = run.top + row;
    if (i >= int(run.entries.size())) break;
    const int y = b.y1 + 2 + row * 16;
    if (i == run.selected) FillColorRect(b.x1 + 2, y, b.x2 - 2, y + 15, GetColorRef(512));
    std::string text = run.entries[size_t(i)].folder ? "[" + run.entries[size_t(i)].name + "]"
                                                      : run.entries[size_t(i)].name;
    while (!text.empty() && MeasureScreenTextWidth(text) > b.x2 - b.x1 - 10) text.pop_back();
    SetPenColor(i == run.selected ? 261 : 274);
    DrawScreenText(b.x1 + 4, y + 3, text);
  }
}

void DrawMemo(const TDialogRun& run) {
  const TBox& b = run.memoBox;
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(261));
  DrawBevelFrame(b.x1, b.y1, b.x2, b.y2);
  const std::vector<std::string> lines = SplitLines(run.memo);
  SetPenColor(274);
  for (size_t i = 0; i < lines.size() && i < 4; ++i) DrawTextSized(b.x1 + 3, b.y1 + 4 + int(i) * 16 + 3, lines[i], 12, 5);
}

void PaintPreviewBox(TDialogRun& run) {
  const TBox& b = run.paintBox;
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(261));
  DrawBevelFrame(b.x1, b.y1, b.x2, b.y2);
  if (run.req->mode == 0) run.memo.clear();
  const std::string path = CurrentPath(run);
  if (path.size() > 4 && !run.name.empty()) {
    std::string ext;
    GetFileNamePart(path, 'E', ext);
    ext = Lower(ext);
    const plat::TRect inner{b.x1 + 1, b.y1 + 1, b.x2, b.y2};
    if (run.previewOn && !ext.empty()) {
      if (run.req->previewExtensions.find(ext + ".") != std::string::npos ||
          (run.req->previewExtensions.size() >= ext.size() &&
           run.req->previewExtensions.compare(run.req->previewExtensions.size() - ext.size(), ext.size(), ext) == 0)) {
        PaintFilePreview(inner, path);
      } else if ((ext == ".lg1" || ext == ".rlf") && plat::FileExists(path)) {
        SetClipWindow(inner.left, inner.top, inner.right, inner.bottom);
        const plat::TRect r{0, 0, inner.right - inner.left, inner.bottom - inner.top};
        if (ext == ".lg1") DrawLg1StreamPreview(plat::WindowDc(), r, path);
        else DrawRlfStreamPreview(plat::WindowDc(), r, path);
        SetClipWindow(0, 0, MaxX + 1, MaxY + 1);
      }
    }
    if (run.req->mode == 0) {
      std::string text = ReadFileNoteText(path, ext);
      std::string dos;
      for (char c : text) dos += char(MapAnsiCharToOem(uint8_t(c)));
      run.memo = dos;
    }
  }
  DrawMemo(run);
}

void DrawCheckBox(const TDialogRun& run) {
  const TBox& b = run.checkBox;
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(run.req->previewAllowed ? 261 : 260));
  DrawBevelFrame(b.x1, b.y1, b.x2, b.y2);
  if (run.previewOn) {
    SetPenColor(274);
    DrawScreenLine(b.x1 + 3, b.y1 + 6, b.x1 + 5, b.y2 - 2);
    DrawScreenLine(b.x1 + 5, b.y2 - 2, b.x2 - 2, b.y1 + 2);
  }
  SetPenColor(run.req->previewAllowed ? 274 : 272);
  DrawScreenText(b.x2 + 6, b.y1 + 3, run.req->previewText.empty() ? "Vorschau" : run.req->previewText);
}

void DrawDialog(TDialogRun& run) {
  const TFileDialogRequest& req = *run.req;
  DrawGreyDialogPanel(run.left, run.top0, run.left + kDialogWidth, req.title, run.top0 + kDialogHeight);
  SetPenColor(274);
  const std::string lookIn = req.mode == 1 ? req.lookInSaveText : req.lookInOpenText;
  DrawScreenText(run.left + 8, run.top0 + 36, lookIn);
  std::string folder = run.folder;
  while (!folder.empty() && MeasureScreenTextWidth(folder) > kDialogWidth - 120) folder.erase(folder.begin());
  FillColorRect(run.left + 110, run.top0 + 30, run.left + kDialogWidth - 8, run.top0 + 48, GetColorRef(260));
  SetPenColor(274);
  DrawScreenText(run.left + 110, run.top0 + 36, folder);
  DrawScreenText(run.left + 8, run.top0 + 264, req.nameLabelText);
  DrawScreenText(run.left + 8, run.top0 + 290, req.typeLabelText);
  DrawList(run);
  DrawNameField(run);
  const size_t fi = size_t(run.filterIndex - 1);
  DrawField(run.typeBox, fi < run.descriptions.size() ? run.descriptions[fi] : std::string(), false);
  DrawButton(run.okBox, req.mode == 1 ? req.okSaveText : req.okOpenText, true);
  DrawButton(run.cancelBox, req.cancelText, true);
  DrawEtchedLine(run.left + 4, run.top0 + 309, run.left + kDialogWidth - 4);
  SetPenColor(274);
  DrawScreenText(run.left + 8, run.top0 + 317, req.captionText.empty() ? "Notiz:" : req.captionText);
  DrawCheckBox(run);
  DrawButton(run.editBox, req.changeText.empty() ? "\x8E" "ndern" : req.changeText, run.editEnabled);
  DrawButton(run.projectBox, req.projectText.empty() ? "Projekt" : req.projectText, run.projectEnabled);
  DrawButton(run.libraryBox, req.libraryText.empty() ? "Bibliothek" : req.libraryText, run.libraryEnabled);
  PaintPreviewBox(run);
}

void ApplyRequest(TDialogRun& run) {
  TFileDialogRequest& req = *run.req;
  run.previewOn = req.previewAllowed && req.previewOn;
  run.filterIndex = req.filterIndex;
  run.closedByProject = run.closedByLibrary = false;
  const std::vector<std::string> pieces = SplitBars(req.filter);
  run.descriptions.clear();
  run.patterns.clear();
  run.defaultExts.clear();
  for (size_t i = 0; i + 1 < pieces.size(); i += 2) {
    run.descriptions.push_back(pieces[i]);
    run.patterns.push_back(Lower(pieces[i + 1]));
    run.defaultExts.push_back(DefaultExtensionOfPattern(run.patterns.back()));
  }
  if (run.filterIndex < 1 || run.filterIndex > int(run.patterns.size())) run.filterIndex = 1;

  std::string folder, name;
  const std::string start = req.fileName;
  const size_t slash = start.find_last_of('\\');
  folder = slash == std::string::npos ? std::string() : start.substr(0, slash + 1);
  name = slash == std::string::npos ? start : start.substr(slash + 1);
  if (name.find('*') != std::string::npos) name.clear();
  folder = folder.empty() ? plat::CurrentFolder() : WithBackslash(GetFullPath(folder));
  if (!plat::FolderExists(FolderForExists(folder))) folder = plat::CurrentFolder();
  run.folder = WithBackslash(folder);
  run.name = name;
  run.nameSelected = !name.empty();
  run.memo = req.note != nullptr ? FileNoteToText(*req.note) : std::string();
  if (req.note != nullptr) {
    std::string dos;
    for (char c : run.memo) dos += char(MapAnsiCharToOem(uint8_t(c)));
    run.memo = dos;
  }
  run.editEnabled = req.mode == 1 && req.note != nullptr;
  run.projectEnabled = !req.projectFolder.empty() && plat::FolderExists(FolderForExists(req.projectFolder));
  run.libraryEnabled = req.libraryBrowser != nullptr;
  ListFolder(run);
}

void EnterEntry(TDialogRun& run, int i) {
  const TDialogEntry& e = run.entries[size_t(i)];
  if (e.name == "..") {
    const std::string trimmed = run.folder.substr(0, run.folder.size() - 1);
    run.folder = trimmed.substr(0, trimmed.find_last_of('\\') + 1);
  } else {
    run.folder += e.name + "\\";
  }
  ListFolder(run);
  DrawDialog(run);
}

void SelectEntry(TDialogRun& run, int i) {
  run.selected = i;
  if (i >= 0 && !run.entries[size_t(i)].folder) {
    run.name = run.entries[size_t(i)].name;
    run.nameSelected = true;
  }
  if (run.selected < run.top) run.top = run.selected;
  if (run.selected >= run.top + kListRows) run.top = run.selected - kListRows + 1;
  DrawList(run);
  DrawNameField(run);
  PaintPreviewBox(run);
}

void NextFilter(TDialogRun& run) {
  if (run.patterns.empty()) return;
  run.filterIndex = run.filterIndex % int(run.patterns.size()) + 1;
  if (run.req->mode == 1 && !run.name.empty()) {
    std::string ext;
    GetFileNamePart(run.name, 'E', ext);
    if (!ext.empty() && ext != ".") run.name = run.name.substr(0, run.name.size() - ext.size()) + "." + CurrentDefaultExt(run);
  }
  ListFolder(run);
  DrawDialog(run);
}

// OK: the chosen name into the request, or the dialog stays open.
void PressOk(TDialogRun& run) {
  std::string name = run.name;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) {
    if (run.selected >= 0 && run.entries[size_t(run.selected)].folder) EnterEntry(run, run.selected);
    return;
  }
  std::string path = IsAbsolutePath(name) ? name : run.folder + name;
  if (plat::FolderExists(FolderForExists(WithBackslash(path)))) {
    run.folder = WithBackslash(GetFullPath(path));
    run.name.clear();
    run.nameSelected = false;
    ListFolder(run);
    DrawDialog(run);
    return;
  }
  if (name.find_first_of("*?") != std::string::npos) {
    PlayMessageBeep(0);
    return;
  }
  path = ApplyDefaultExtension(path, CurrentDefaultExt(run));
  const std::string folder = GetFileFolder(path);
  if (!folder.empty() && !plat::FolderExists(FolderForExists(folder))) {
    ShowTitledMessage(GetMessageText(49, -39));
    return;
  }
  if (run.req->mode == 0 && !plat::FileExists(path)) {
    ShowTitledMessage(path + "\r\n" + GetMessageText(49, -39));
    return;
  }
  if (run.req->mode == 1 && plat::FileExists(path) && AskYesNo(path + "\r\n" + GetMessageText(4012, -39)) != 1) return;
  run.req->fileName = path;
  if (run.req->mode == 1 && run.req->note != nullptr) {
    std::string win = run.memo;
    ConvertOemStringToAnsi(win);
    FileNoteFromText(*run.req->note, win);
  }
  run.result = 1;
}

void HandleKey(TDialogRun& run, uint8_t key) {
  if (key == 0) {
    const uint8_t scan = TakeBufferedKey();
    const int n = int(run.entries.size());
    int i = run.selected;
    if (scan == 72) i = std::max(0, i - 1);
    else if (scan == 80) i = std::min(n - 1, i + 1);
    else if (scan == 73) i = std::max(0, i - kListRows);
    else if (scan == 81) i = std::min(n - 1, std::max(i, 0) + kListRows);
    else return;
    if (n > 0 && i >= 0) SelectEntry(run, i);
    return;
  }
  if (key == 27) {
    run.result = 2;
  } else if (key == 13) {
    PressOk(run);
  } else if (key == 8) {
    if (run.nameSelected) run.name.clear();
    else if (!run.name.empty()) run.name.pop_back();
    run.nameSelected = false;
    DrawNameField(run);
  } else if (key >= 32) {
    if (run.nameSelected) run.name.clear();
    run.nameSelected = false;
    if (run.name.size() < 255) run.name += char(key);
    DrawNameField(run);
  }
}

void HandleClick(TDialogRun& run, int x, int y) {
  if (HitBox(run.list, x, y)) {
    const int row = (y - run.list.y1 - 2) / 16;
    const int i = run.top + row;
    if (row >= 0 && row < kListRows && i < int(run.entries.size())) {
      if (run.entries[size_t(i)].folder) EnterEntry(run, i);
      else SelectEntry(run, i);
    }
  } else if (HitBox(run.typeBox, x, y)) {
    NextFilter(run);
  } else if (HitBox(run.okBox, x, y)) {
    PressOk(run);
  } else if (HitBox(run.cancelBox, x, y)) {
    run.result = 2;
  } else if (HitBox(run.checkBox, x, y) && run.req->previewAllowed) {
    run.previewOn = !run.previewOn;
    DrawCheckBox(run);
    PaintPreviewBox(run);
  } else if (HitBox(run.editBox, x, y) && run.editEnabled) {
    const TFileDialogRequest& req = *run.req;
    std::string text = run.memo;
    if (EditFileNote(text, req.noteOkText, req.cancelText, req.noteMessageTitle, req.noteFormCaption,
                     req.noteMessageText)) {
      run.memo = text;
    }
    DrawMemo(run);
  } else if (HitBox(run.projectBox, x, y) && run.projectEnabled) {
    run.req->fileName = run.req->projectFolder;
    run.closedByProject = true;
    run.result = 2;
  } else if (HitBox(run.libraryBox, x, y) && run.libraryEnabled) {
    std::string path = CurrentPath(run);
    if (plat::FolderExists(FolderForExists(path))) path = WithBackslash(path);
    run.req->fileName = path;
    run.closedByLibrary = true;
    run.result = 1;
  }
}

// One showing of the dialog: true when it closed with OK or by the Library button.
bool ExecuteFileDialog(TDialogRun& run) {
  ApplyRequest(run);
  LayOut(run);
  if (MaxX + 1 < kDialogWidth || MaxY + 1 < kDialogHeight) return false;
  TPopupFrame frame{};
  frame.left = int16_t(run.left);
  frame.right = int16_t(run.left + kDialogWidth);
  frame.top = int16_t(run.top0);
  frame.bottom = int16_t(run.top0 + kDialogHeight);
  frame.lines = int16_t(LinesForHeight(kDialogHeight) + 1);
  OpenPopupFrame(frame);
  DrawDialog(run);
  WaitForMouseRelease();
  run.result = 0;
  while (run.result == 0) {
    if (CloseRequested) {
      run.result = 2;
      break;
    }
    // The mouse first: a press is seen by the pump that brings it.
    int16_t x = 0, y = 0;
    PollMousePosition(x, y);
    if (MouseButtonState == 2) {
      HandleClick(run, x, y);
      WaitForMouseRelease();
      continue;
    }
    if (KeyCount > 0) {
      HandleKey(run, TakeBufferedKey());
      continue;
    }
    WaitForWindowMessage();
  }
  run.req->previewOn = run.previewOn;
  run.req->filterIndex = run.filterIndex;
  ClosePopupFrame(frame);
  return run.result == 1;
}

}  // namespace

TBox GetFileDialogBox(int control) {
  TDialogRun run;
  LayOut(run);
  const TBox boxes[] = {run.list, run.nameBox, run.typeBox, run.okBox, run.cancelBox, run.checkBox,
                        run.memoBox, run.paintBox, run.editBox, run.projectBox, run.libraryBox};
  return control >= 0 && control <= kDialogLibrary ? boxes[control] : TBox{0, 0, 0, 0, 0};
}

bool ExecuteFileDialogLoop(TFileDialogRequest& request) {
  ActiveFileDialogRequest = &request;
  bool chosen = false;
  for (;;) {
    TDialogRun run;
    run.req = &request;
    const bool ok = ExecuteFileDialog(run);
    if (run.closedByLibrary && request.libraryBrowser != nullptr) {
      std::string result;
      if (request.libraryBrowser(GetFileFolder(request.fileName), CurrentPattern(run), result)) {
        request.fileName = result;
        chosen = true;
        break;
      }
      continue;
    }
    if (run.closedByProject && !CloseRequested) continue;
    chosen = ok;
    break;
  }
  ActiveFileDialogRequest = nullptr;
  return chosen;
}

// --- RunFileDialog -------------------------------------------------------------------------------------------

void SetFileDialogTexts(TFileDialogRequest& request) {
  request.okOpenText = GetMessageText(598, -29);
  request.okSaveText = request.lookInSaveText = GetMessageText(739, -12);
  request.cancelText = GetMessageText(668, -12);
  request.typeLabelText = GetMessageText(3295, -12);
  request.nameLabelText = GetMessageText(3296, -12);
  request.lookInOpenText = GetMessageText(3304, -12);
  request.captionText = GetMessageText(2824, -29);
  request.previewText = GetMessageText(3297, -12);
  request.changeText = GetMessageText(3298, -12);
  request.projectText = GetMessageText(3299, -12);
  request.libraryText = GetMessageText(2044, -20);
  request.noteOkText = GetMessageText(192, -8);
  request.noteMessageTitle = GetMessageText(1170, -39);
  request.noteFormCaption = GetMessageText(3305, -39);
  request.noteMessageText = GetMessageText(3306, -39);
}

void RunFileDialog(const std::string& startPath, const std::string& extension, int kind, std::string& fileName,
                   int mode) {
  const std::string previousFolder = plat::CurrentFolder();
  const std::string start = (mode == 1 && !fileName.empty()) ? fileName : startPath;
  const TFileFilter filter = BuildFileFilter(kind, extension);

  TFileDialogRequest request;
  request.title = GetFileDialogTitle(mode);
  request.mode = mode == 1 ? 1 : 0;
  request.fileName = start.substr(0, kFileDialogNameMax);
  request.filter = filter.filter;
  request.filterIndex = 1;
  request.previewOn = mode != 1 && filter.preview;
  request.previewAllowed = request.previewOn;
  request.libraryBrowser = BrowseFileLibrary;
  request.projectFolder = plat::ProgramFolder() + "PROJECT\\";
  TFileNote note{};
  const bool withNote = mode == 1 && (filter.filter == "SLD|*.SLD|" || kind == 11 || kind == 17);
  if (withNote) {
    LoadTextJobHead();
    memcpy(&note, TextJobHead + 175, sizeof note);
    for (auto& line : note.lines)
      if (line[0] > kFileNoteLineMax) line[0] = kFileNoteLineMax;
    request.note = &note;
  }
  SetFileDialogTexts(request);

  if (ExecuteFileDialogLoop(request)) {
    fileName = request.fileName.substr(0, 255);
    if (withNote) {
      // The note goes back to the text job head, which the save writes.
      memcpy(TextJobHead + 175, &note, sizeof note);
      WriteTextJobHeadToFile();
    }
  } else {
    fileName.clear();
  }
  plat::SetCurrentFolder(previousFolder);
  CheckChosenExtension(fileName, filter.accepted);
  WaitForMouseRelease();
}
