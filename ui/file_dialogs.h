// The file open and save dialogs, the file note and the note editor.
//
// Every command that reads or writes a user file asks for its name through
// RunFileDialog. A data kind (0..27) gives the filter list, the accepted
// extensions and whether the preview starts switched on. The dialog is drawn
// by the program itself into the main window and runs modally on the
// window's input:
//   - a folder line, a list of the folder's sub-folders ("[..]" goes up) and
//     of the files matching the current filter pattern (click: a folder is
//     entered, a file's name goes to the name field; Up/Down move through
//     the list, PgUp/PgDn page);
//   - the name field (typed characters, Backspace), the file type line (a
//     click takes the next filter entry), OK (Enter) and cancel (Esc);
//   - the user panel: the note memo, the preview check box and preview box,
//     and the Change (note), Project and Library buttons.
//
// TFileNote, 204 bytes, the same layout wherever it is stored (at byte 175 of
// the text job head and so of every ".SLD", at byte 0 of ".WZB" and ".AKV"):
//   OFFSET SIZE DESCRIPTION
//        0   51 line 1: length byte (0..50) and 50 characters
//       51   51 line 2     102   51 line 3     153   51 line 4
// Unused characters are zero; a stored note with a length byte above 50 is
// not shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw.h"
#include "ui/panels.h"

#pragma pack(push, 1)
struct TFileNote {
  uint8_t lines[4][51];
};
#pragma pack(pop)
static_assert(sizeof(TFileNote) == 204);

constexpr int kFileNoteLineMax = 50;
constexpr int kFileDialogNameMax = 1024;
// The extensions drawn by the preview painter (others have no preview).
constexpr const char* kPreviewExtensions = ".h2r.pli.sld.hrl.hrp.hrs.sor.pcx.bmp.gif.jpg.jpeg.stl";

// The filter list, accepted extensions and preview start of a data kind.
struct TFileFilter {
  std::string filter;    // "description|pattern|..." ending with "|"
  std::string accepted;  // extensions back to back (".SLD.LG1.H2R")
  bool preview = false;  // the preview starts on in open dialogs
};

// The request RunFileDialog builds and the dialog reads while it runs.
using TLibraryBrowser = bool (*)(const std::string& folder, const std::string& pattern, std::string& result);
struct TFileDialogRequest {
  std::string title;
  int mode = 0;               // 0 open, 1 save
  std::string fileName;       // in: the start path; out: the chosen path (at most 1024)
  std::string filter;
  int filterIndex = 1;        // 1-based; written back when the dialog closes
  bool previewOn = false;     // written back when the dialog closes
  bool previewAllowed = false;
  std::string previewExtensions = kPreviewExtensions;
  TLibraryBrowser libraryBrowser = nullptr;  // null: the Library button is disabled
  std::string projectFolder;  // program folder + "PROJECT\"
  TFileNote* note = nullptr;  // the note edited in a save dialog
  // Texts of the controls and of the note editor (message file).
  std::string okOpenText, okSaveText, cancelText, typeLabelText, nameLabelText, lookInOpenText, lookInSaveText;
  std::string captionText, previewText, changeText, projectText, libraryText;
  std::string noteOkText, noteMessageTitle, noteFormCaption, noteMessageText;
};
// The request of the dialog that runs (null while none runs).
extern TFileDialogRequest* ActiveFileDialogRequest;

// --- the dialog --------------------------------------------------------------------------------
// startPath and extension as the caller keeps them; kind 0..27; fileName in
// and out: the chosen full path, or empty when cancelled or refused; mode 0
// open, 1 save, 2 and 3 open with other titles. In save mode a non-empty
// fileName is the start path.
void RunFileDialog(const std::string& startPath, const std::string& extension, int kind, std::string& fileName,
                   int mode);
// The texts of the controls and of the note editor from the message file.
void SetFileDialogTexts(TFileDialogRequest& request);
// Runs the dialog of the request until a name is chosen (true) or it is
// cancelled (false); reopens it after the Project and Library buttons.
bool ExecuteFileDialogLoop(TFileDialogRequest& request);

// The window boxes of the dialog's controls (the dialog is centred in the window).
enum TFileDialogControl : int {
  kDialogList = 0, kDialogName, kDialogType, kDialogOk, kDialogCancel, kDialogPreviewCheck, kDialogMemo,
  kDialogPreview, kDialogChange, kDialogProject, kDialogLibrary
};
TBox GetFileDialogBox(int control);
// Pixel row height of the dialog's file list.
constexpr int kFileDialogRowHeight = 16;

// --- pieces --------------------------------------------------------------------------------------
TFileFilter BuildFileFilter(int kind, const std::string& extension);
bool IsPreviewKind(int kind, const std::string& extension);
std::string GetFileDialogTitle(int mode);
// Upper-cases the name's extension; an extension the accepted list does not
// hold shows message 1091 and empties the name. An empty name stays empty.
void CheckChosenExtension(std::string& fileName, const std::string& accepted);
// The name as OK takes it: unchanged with an extension other than ".",
// + defaultExt after a bare ".", + "." + defaultExt without extension.
std::string ApplyDefaultExtension(const std::string& name, const std::string& defaultExt);
// The default extension of a pattern: from its third character up to the
// first ";" ("*.lg1;*.h2r" gives "lg1"); "*" gives an empty one.
std::string DefaultExtensionOfPattern(const std::string& pattern);

// --- the file note --------------------------------------------------------------------------------
// The note of a ".sld", ".akv" or ".wzb" file (lower-case extension given):
// four lines joined by CR LF, or empty (other extension, missing or short
// file, implausible note).
std::string ReadFileNoteText(const std::string& fileName, const std::string& lowerCaseExtension);
// Four lines joined by CR LF.
std::string FileNoteToText(const TFileNote& note);
// Zero-fills the note and stores lines 1..4 of the text (CR LF or LF), each
// cut to 50 characters.
void FileNoteFromText(TFileNote& note, const std::string& text);
// The note editor: text lines separated by CR LF; the texts may be empty
// (the form keeps its own). True and the edited text (always four lines)
// when closed with OK.
bool EditFileNote(std::string& text, const std::string& okCaption, const std::string& cancelCaption,
                  const std::string& messageTitle, const std::string& formCaption, const std::string& messageText);
// The closing rule of the note editor on OK: trailing empty lines dropped;
// more than 4 lines or a line over 50 characters asks whether to cut (false
// keeps editing); otherwise the four lines.
bool AcceptNoteLines(std::vector<std::string>& lines, const std::string& messageTitle,
                     const std::string& messageText);

// --- the preview and the library -------------------------------------------------------------------
// Draws the preview of the file into the window rectangle (background 261,
// no size labels). Does nothing for an empty name or while a preview paints.
void PaintFilePreview(const plat::TRect& rect, const std::string& fileName);
// The program's own file list on the folder and pattern; true with the result.
bool BrowseFileLibrary(const std::string& folder, const std::string& pattern, std::string& result);
