// Program body, start sequence, main loop, screen rebuild, the save-or-discard
// question and the exit procedure.
//
// Sections: globals; program body and folders; start sequence; screen layout;
// delay calibration; journal opening; companion files; main loop; quit and
// rebuild; save-or-discard; exit procedure.
#include "app/program_start.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/hook_setup.h"
#include "cad/cad_services_standin.h"
#include "cad/layout_limits_dialog.h"
#include "cad/selection_handles.h"
#include "ui/prompt_line.h"
#include "commands/command_names.h"
#include "ui/graphic_controls.h"
#include "commands/icon_panel.h"
#include "commands/drawing_file_commands.h"
#include "commands/input_wait.h"
#include "commands/menu_bar.h"
#include "commands/main_screen.h"
#include "commands/menu_services_standin.h"
#include "commands/save_leftovers.h"
#include "commands/side_menu.h"
#include "commands/start_panel.h"
#include "commands/state_icons.h"
#include "exchange/command_line_open.h"
#include "frame/checked_files.h"
#include "frame/codepage.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "app/dispatcher.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "machine/nc_output_standin.h"
#include "machine/nc_settings.h"
#include "machine/serial_port_standin.h"
#include "model/drawing_file.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "paths/compensation_settings.h"
#include "paths/path_errors.h"
#include "platform/files.h"
#include "platform/picture_codecs.h"
#include "view/screen_scheme.h"
#include "relief/core/relief_core_services_standin.h"
#include "text/font_services_standin.h"
#include "model/text_job.h"
#include "text/font_files.h"
#include "text/text_services_standin.h"
#include "ui/common_dialogs.h"
#include "ui/info_window.h"
#include "ui/pictures.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "ui/start_dialogs_standin.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/extents.h"
#include "view/redraw.h"
#include "view/scan_raster_view.h"
#include "view/view_services_standin.h"
#include "view/view_transform.h"

namespace {
TExitProc previousExitProc = nullptr;
uint8_t rememberedCursorMode = 0;  // the view's cursor mode the last redraw left

constexpr const char* kRelief0 = "RELAR0.TMR";

// Parameter block 3 (121 bytes) and block 0 (153 bytes) as raw images.
constexpr int kBlock0Size = 153;
constexpr int kBlock3Size = 121;

void ReadBlock(int16_t block, uint8_t* data, int size) {
  memset(data, 0, size_t(size));
  GetParamBlock(block, data, uint16_t(size));
}

float FloatAt(const uint8_t* data, int offset) {
  float v;
  memcpy(&v, data + offset, 4);
  return v;
}

std::string Fixed3(float v) {
  char text[48];
  snprintf(text, sizeof text, "%.3f", double(v));
  return text;
}

int64_t FileBytes(const std::string& name) { return plat::FileSizeBytes(name); }

void DeleteIfPresent(const std::string& name) {
  if (TestPlainFileExists(name)) plat::DeleteFileByName(name);
}
}  // namespace

// --- program body and folders ------------------------------------------------------
void SetUpVariant(const std::string&, int32_t code) {
  VariantOptionFlag = 1;
  VariantCode = code;
  VariantNumber = 0;
  if (code >= 16 && code <= 19) VariantNumber = 3;
  else if ((code >= 33 && code <= 36) || (code >= 38 && code <= 41) || code == 48) VariantNumber = 12;
  else if (code == 49 || code == 50) VariantNumber = 13;
}

void EnterProgramFolder() {
  std::string folder = plat::ProgramFolder();
  if (folder != GetFullPath("")) ChangeDirectory(folder);
  StoreProgramFolder();
}

void StoreProgramFolder() {
  ProgramFolderName = GetFullPath("");
  DataFolderName = ProgramFolderName;
}

void ProgramBody(int argc, char** argv) {
  srand(unsigned(time(nullptr)));
  SetUpVariant("TORV", kBuildVariantCode);
  EnterProgramFolder();
  InstallShippedFiles();
  if (argc > 1 && argv[1] != nullptr) CommandLineFileName = argv[1];
  RunStartSequence();
  OfferLeftoverSaves();
  OpenCommandLineFile();
  RunMainCommandLoop(VariantCode);
  HaltProgram(0);
}

// --- start sequence ------------------------------------------------------------------
void EnsureWorkFilesExist() {
  static const char* const kWorkFiles[] = {"VekAR1.TMP", "VekAR2.TMP", kRelief0, "EIGENSCH.TMP",
                                           "RAHMEN.TMP", "HS01.TMP",   "HS07.TMP", "VekArZw.TMP"};
  for (const char* name : kWorkFiles) EnsureFileExists(name);
  for (int n = 0; n <= HighestLayer; ++n) EnsureFileExists(BuildLayerFileName(n));
}

void EnsureProjectFolder() {
  std::string folder = DataFolderName + "PROJECT";
  if (TestFolderExists(folder)) return;
  if (CreateFolderPath(folder)) ShowPromptLine(1, "Create " + folder, 261, 274);
}

namespace {
// Every plain, archive or read-only file of the folder whose attributes are
// not the archive attribute alone gets the archive attribute alone.
void ClearReadOnlyAttributes(const std::string& folder) {
  plat::TSearchRec rec;
  int found = FindFirstEntry(folder + "*.*", plat::kAttrArchive | plat::kAttrReadOnly, rec);
  while (found == 0) {
    if (rec.attr != plat::kAttrArchive) SetFileAttrChecked(folder + rec.name, plat::kAttrArchive);
    found = FindNextEntry(rec);
  }
  FindCloseEntry(rec);
}

void SetDashPatternFromStyle(uint8_t style) {
  switch (style & 3) {
    case 0: DashPattern = 0xFFFF; break;
    case 1: DashPattern = 0x3333; break;
    case 2: DashPattern = 0x7070; break;
    default: break;  // unchanged
  }
}

void ApplyScreenSettings() {
  uint8_t block3[kBlock3Size];
  ReadBlock(3, block3, kBlock3Size);
  int16_t paletteCode;
  memcpy(&paletteCode, block3 + 50, 2);
  ApplyReliefPalette(paletteCode);
  SetDashPatternFromStyle(block3[62]);
}
}  // namespace

void CheckLayersAndSettings() {
  DrawPanelBackground();
  ShowPromptLine(1, GetMessageText(2877, -39), 261, 274);
  // Partial records cut off the record files: one message for all files.
  const TLayerRepair layers = RepairLayerFiles();
  if (layers.filesCut > 0 || layers.filesLocked > 0) {
    std::string text = GetMessageText(kMsgPartialRecordsCut, -39);
    if (layers.filesCut > 0) text += "\r\n" + std::to_string(layers.filesCut) + " " + GetMessageText(kMsgFilesCut, -39);
    if (layers.filesLocked > 0)
      text += "\r\n" + std::to_string(layers.filesLocked) + " " + GetMessageText(kMsgFilesNotCut, -39);
    ShowTitledMessage(text);
  }
  int32_t textRepairs = 0;
  RepairTextParameters(textRepairs);
  if (textRepairs > 0)
    ShowTitledMessage(GetMessageText(1234, -39) + "\r\n" + std::to_string(textRepairs) + " " +
                      GetMessageText(278, -39));
  DelayMs(200);
  ClearDrawingArea();
}

void ShowColourDepthNotice() {
  static const int16_t kVariants[] = {0, 1, 3, 4, 5, 6, 7, 12, 13, 14};
  bool listed = false;
  for (int16_t v : kVariants) listed = listed || v == VariantNumber;
  if (!listed || DisplayBitsPerPixel >= 16) return;
  uint8_t block0[kBlock0Size];
  ReadBlock(0, block0, kBlock0Size);
  if (block0[32] >= 3) return;
  block0[32]++;
  PutParamBlock(0, block0, kBlock0Size);
  ShowTitledMessage(GetMessageText(760, -39) + "\r\n" + GetMessageText(761, -39) + "\r\n" +
                    GetMessageText(762, -39) + "\r\n" + GetMessageText(763, -39));
}

void ShowStartScreenPause() {
  ClearKeyBuffer();
  for (int pass = 0; pass < 2001; ++pass) {
    DelayMs(5);
    int16_t x, y;
    PollMousePosition(x, y);
    if (KeyCount > 0 || GetMouseButtonState() != 0) break;
  }
  if (PollKeyPressed()) ReadNextKey();
}

void RunStartSequence() {
  InitGrayBitmapHeader();
  ErrorCode = 0;
  ViewKind = 254;
  CursorMode = 0;
  // A new parameter file gets the NC settings defaults as well.
  InstallFrameHooks();
  LoadParamFile();
  // The program keeps its texts in the DOS code page; the screen and the
  // system take the Windows code page. No stored setting switches the
  // conversion off, so without this every umlaut would show garbled.
  CodePageConversion = 1;
  PaletteSize = 245;
  InstallModelHooks();
  InstallViewHooks();
  InstallCommandHooks();
  InstallCadHooks();
  RepaintHook = RebuildScreen;
  ChoicePopupHook = RunChoicePopup;
  WindowTitleHook = [] { UpdateWindowTitle(kVersionThousandths); };
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  if (DisplayBitsPerPixel <= 8) PaletteSize = 235;
  ApplyScreenSettings();
  PollKeyPressed();
  OpenMessageFile();
  // The menu text file comes with the menus; until it stands beside the
  // program there is nothing to open.
  if (TestPlainFileExists(ProgramFolderName + kMenuTextFileName)) OpenMenuTextFile();
  LayOutScreen();
  ClearReadOnlyAttributes(DataFolderName);
  ClearReadOnlyAttributes(DataFolderName + "PROJECT\\");
  previousExitProc = ExitProc;
  ExitProc = ShutDownProgram;
  CaptureMouse();
  ViewSetFlag = 0;
  FitViewToExtent(LayoutArea);
  UpdateWindowTitle(kVersionThousandths);
  if (DrawingArea.used)
    DrawColourGradientBar(DrawingArea.x1 + 1, DrawingArea.y1 + 1, DrawingArea.x2, DrawingArea.y2);
  ShowStartInfoPanel(GetProgramTitle());
  ResetGlyphEditorView();
  if (!TestPlainFileExists("TORVHZE.PAR")) RebuildFontIndexFile(1);
  InitDataFileSlots();
  BuildMainMenuBar(0);
  CursorMode = 4;
  ClearKeyBuffer();
  ClearVectorStore();
  CreateMissingLayerFiles();
  ShowAllLayers();
  CalibrateDelayLoop();
  ForgetLoadedFont();
  ReinitFontCache();
  EnsureWorkFilesExist();
  CheckFontFilesPresent();
  ClickTracking = 0;
  PollGraphicCursor();
  WaitForMouseRelease();
  ReleaseMouseCapture();
  OpenCommandJournal();
  LoadTextJobHead();
  LoadScanSettings();
  ToolLayersPresent = AnyLayerFileHasRecords(1) ? 1 : 0;
  PathLayersPresent = AnyLayerFileHasRecords(2) ? 1 : 0;
  EnsureProjectFolder();
  CheckLayersAndSettings();
  ShowColourDepthNotice();
  ShowStartScreenPause();
}

// --- screen layout --------------------------------------------------------------------
// --- delay calibration ------------------------------------------------------------------
void CalibrateDelayLoop() {
  uint32_t best = 0;
  for (int m = 0; m < 3; ++m) {
    uint16_t h, mi, s, hs, last;
    GetTimeOfDay(h, mi, s, last);
    int changes = 0;
    uint32_t passes = 0;
    while (changes < 3) {
      GetTimeOfDay(h, mi, s, hs);
      if (hs != last) {
        ++changes;
        last = hs;
      }
      if (changes > 0) ++passes;
    }
    uint32_t count = passes / 110;
    if (count < 1) count = 1;
    if (m == 0 || count < best) best = count;
  }
  DelayLoopCount = best;
}

// --- journal -------------------------------------------------------------------------------
namespace {
void TrimJournalLines();

// Cuts the journal to its last 400 lines (through "MENUREC.BAK").
void TrimJournal() {
  // Failures of the trim are judged on their own: an error code left by an
  // earlier step of the start must not stop it half-way.
  TErrorCode earlier = ErrorCode;
  ErrorCode = 0;
  TrimJournalLines();
  if (ErrorCode == 0) ErrorCode = earlier;
}

void TrimJournalLines() {
  constexpr int kKeep = 400;
  TFileRec f;
  AssignFileChecked(f, kJournalFileName);
  if (ResetTextChecked(f) == 0) return;
  int count = 0;
  std::string line;
  while (!plat::EofText(f)) {
    ReadLineChecked(f, line, 255);
    ++count;
  }
  CloseFileChecked(f);
  if (count <= kKeep) return;

  if (TestPlainFileExists("MENUREC.BAK")) {
    TFileRec old;
    AssignFileChecked(old, "MENUREC.BAK");
    EraseFileChecked(old);
  }
  RenameFileChecked(f, "MENUREC.BAK");
  if (ErrorCode != 0) return;
  TFileRec in, out;
  AssignFileChecked(in, "MENUREC.BAK");
  if (ResetTextChecked(in) == 0) return;
  AssignFileChecked(out, kJournalFileName);
  RewriteTextChecked(out);
  for (int j = 0; j < count && !plat::EofText(in); ++j) {
    ReadLineChecked(in, line, 255);
    if (j >= count - kKeep) plat::WriteLine(out, line);
  }
  CloseFileChecked(out);
  CloseFileChecked(in);
  // Keep the old journal when the new one could not be written whole.
  if (ErrorCode == 0) EraseFileChecked(in);
}

void LogSettingParameters() {
  uint8_t block3[kBlock3Size], block0[kBlock0Size];
  ReadBlock(3, block3, kBlock3Size);
  ReadBlock(0, block0, kBlock0Size);
  auto cut = [](std::string s) { return s.substr(0, std::min<size_t>(s.size(), 80)); };
  WriteJournalLine(9800, cut("EPar KA=" + std::to_string(block3[8]) + " SA=" + std::to_string(block3[9]) +
                             " EX=" + Fixed3(FloatAt(block3, 0)) + " EY=" + Fixed3(FloatAt(block3, 4)) +
                             " CK=" + Fixed3(FloatAt(block3, 53))));
  uint16_t fl;
  memcpy(&fl, block3 + 58, 2);
  WriteJournalLine(9801, cut("EPar FR=" + Fixed3(float(block3[57])) + " FL=" + std::to_string(fl) +
                             " KT=" + Fixed3(FloatAt(block0, 27))));
}

void LogPathParameters() {
  uint8_t block0[kBlock0Size];
  ReadBlock(0, block0, kBlock0Size);
  auto bit = [&](int byte, int n) { return std::to_string((block0[byte] >> n) & 1); };
  WriteJournalLine(9802, "FPar LF=" + bit(100, 3) + " FS=" + bit(100, 2) + " FK=" + bit(101, 3) + " KF=" +
                             bit(101, 4));
}
}  // namespace

void OpenCommandJournal() {
  EnsureFileExists(kJournalFileName);
  TrimJournal();
  LogDatedJournalLine("Start " + GetVersionText() + ": ");
  WriteJournalLine(0, "AktVerz=" + DataFolderName);
  LogSettingParameters();
  LogPathParameters();
  LogCompensationSettings();
  LogTextParameters();
}

// --- companion files ---------------------------------------------------------------------
namespace {
struct TCompanionFile {
  const char* name;
  const char* label;
};
// The data files that ship with this build of the program: the build writes
// them beside the executable. Fonts and help come with their own subsystems
// and join this list then.
const TCompanionFile kCompanionFiles[] = {
    {kMessageFileName, "Meldungen"},
    {kMenuTextFileName, "Men\x81texte"},
    {kPictureTableName, "Bilder der Dialoge"},
    {kProgramPictureTableName, "Programmbilder"},
    {plat::kResourceFileName, "Symbolbilder"},
};

std::string PaddedCut(const std::string& s, size_t n) {
  std::string r = s.substr(0, std::min(s.size(), n));
  r.resize(n, ' ');
  return r;
}
}  // namespace

void InstallShippedFiles() {
  const std::string shipped = plat::ExecutableFolder();
  if (plat::HostPathOf(shipped) == plat::HostPathOf(ProgramFolderName)) return;
  for (const TCompanionFile& entry : kCompanionFiles) {
    if (TestPlainFileExists(ProgramFolderName + entry.name)) continue;
    if (!TestPlainFileExists(shipped + entry.name)) continue;
    // A failed copy leaves no file behind; the check of the program files
    // then reports it missing.
    plat::CopyFileByName(shipped + entry.name, ProgramFolderName + entry.name);
  }
}

void CheckProgramFiles() {
  std::vector<std::string> lines;
  int missing = 0;
  for (const TCompanionFile& entry : kCompanionFiles) {
    bool present = false;
    plat::TSearchRec rec;
    int found = FindFirstEntry(ProgramFolderName + entry.name, plat::kAttrArchive, rec);
    while (found == 0 && !present) {
      present = rec.size > 10;
      found = FindNextEntry(rec);
    }
    FindCloseEntry(rec);
    if (!present) ++missing;
    std::string line = PaddedCut(std::string("\"") + entry.name + "\"", 20) + " " + PaddedCut(entry.label, 40) +
                       " : " + (present ? " 1 = vorhanden" : " 0 = fehlt");
    if (lines.size() < 20) lines.push_back(line.substr(0, 80));
  }
  if (missing == 0) return;
  PlayDingOrBeep();
  ShowTitledMessage(std::string("Zur korrekten \"Minimal-Installation\"\r\n") +
                    "fehlen Dateien. Die Pr\x81" "fergebnisse\r\n" +
                    "entnehmen Sie bitte der folgenden Liste.");
  TFileRec report;
  AssignFileChecked(report, "FehlerDatei.TXT");
  RewriteTextChecked(report);
  for (const std::string& line : lines) plat::WriteLine(report, line);
  CloseFileChecked(report);
  EditTextFileIfExists("FehlerDatei.TXT");
}

// --- main loop --------------------------------------------------------------------------------
namespace {
void ShutDownIfCloseRequested() {
  if (CloseRequested) ShutDownProgram();
}
}  // namespace

void RunMainCommandLoop(int32_t variantCode) {
  UpdateWindowTitle(kVersionThousandths);
  ScreenModeWord = 0;
  ResetDrawingArea();
  PollKeyPressed();
  LoadCurrentTextLine(1);
  RecountAllLayerRecords();
  EraseMouseCursor();
  CursorMode = 0;
  ViewKind = 255;
  RedrawWithExtent(LayoutArea, 2);
  rememberedCursorMode = CursorMode;
  RedrawState = 0;
  ErrorCode = 0;
  ShowSideMenu(2);
  RunStartScreen();
  ClearClipboardFile();
  CheckProgramFiles();

  while (CommandWord < kQuitCommand) {
    ShutDownIfCloseRequested();
    ReportGlobalError();
    if (CommandWord != kQuitCommand) {
      UpdateLayerPathFlag();
      // Warn when the drive cannot take another copy of the current layer.
      if (IsDiskTooFullForLayer(GetDiskFreeClamped(0), LayerRecordCounts[CurrentLayer])) ShowMessageNumber(59);
      EraseMouseCursor();
      CursorMode = rememberedCursorMode;
      SavedCursorMode = rememberedCursorMode;
      UpdateGraphicDragState();
      if ((ClickTracking & 2) == 0 && (DragState & 2) == 0) RestoreGraphicArea();
    }
    WaitForMenuCommand();
    RestoreGraphicArea();
    // The screen is whole here: a repaint while the command runs shows as a
    // redraw request to its dialogs.
    RedrawState = 0;
    CommandRunning = true;
    DispatchMainCommand(variantCode);
    CommandRunning = false;
    rememberedCursorMode = CursorMode;
    ShutDownIfCloseRequested();
  }
}

bool IsDiskTooFullForLayer(int64_t freeBytes, int32_t records) {
  return freeBytes <= int64_t(records) * 13;
}

// --- quit and rebuild -----------------------------------------------------------------------
void BuildMainMenuBar(uint8_t) {
  ClearMenuTablePointers();
  LayOutIconPanel();
  EnsureMenuTables();
  ShowSideMenu(-1);
  DrawMenuBar(0);
  ShowSideMenu(2);
}

void RunOptionsMenuAndRebuild() {
  if (!RunProgramOptionsMenu()) return;
  DrawMenuBar(0);
  ShowSideMenu(2);
}

void AskQuitProgram() {
  WaitForMouseRelease();
  ClearKeyBuffer();
  EraseMouseCursor();
  CommandWord = AskYesNoMessage(10) ? kQuitCommand : 0;
}

void RebuildScreen() {
  ChangeDirectory(DataFolderName);
  int16_t colour = CurrentColor;
  LayOutScreen();
  LayOutIconPanel();
  SetArrowCursor();
  UpdateWindowTitle(kVersionThousandths);
  if (RedrawState == 201) {
    BuildMainMenuBar(0);
    RedrawState = 0;
  }
  EnsureMenuTables();
  DrawMenuBar(ScreenModeWord == 1 ? 44 : 0);
  if (RedrawState == 255) return;
  LoadSideMenu(SideMenuNumber);
  DrawSideMenuByStyle();
  if (ViewKind != 0 && ViewKind != 253 && ViewKind != 254) RedrawCurrentView(ViewKind);
  ClearDrawingArea();
  DrawCoordinateBox(false);
  CommandWord = 0;
  RedrawState = 2;
  CursorMode = 4;
  SetDrawColorAndMode(13, colour);
  RedrawSelectionHandles();
}

// --- save-or-discard question -------------------------------------------------------------------
namespace {
bool AnyLayerHasRecords() { return CheckAnyLayerFileFilled(0); }
bool ReliefHasData() { return FileBytes(kRelief0) > 64; }

void ClearWorkAndRefresh(uint16_t flags, uint8_t options) {
  CurrentLayer = 0;
  ClearWorkFiles(flags);
  if (flags & kClearTexts) TextLineCount = 0;
  UpdateLayerPathFlag();
  if (options == 1) ShowLayoutLimitsDialog();
}
}  // namespace

uint16_t AskWorkFilesToClear(int8_t mode) {
  if (mode < 0) return 0xFFFF;
  // Choosing single parts needs the input form; until it exists, mode 1
  // clears what mode 0 clears.
  return 0xF7FF;
}

int ConfirmClearWork(int8_t mode, uint8_t options) {
  bool exitStyle = (options & 2) != 0;
  uint8_t dialogOption = uint8_t(options & ~2);
  FlushVectorStoreIntoFile(BuildLayerFileName(CurrentLayer));

  bool drawing = AnyLayerHasRecords();
  bool texts = TextLineCount > 0;
  bool relief = mode == -1 && ReliefHasData();
  // A drawing as last saved or opened loses nothing: no question about it.
  if ((drawing || texts) && IsDrawingSaved()) {
    if (!relief && !exitStyle) ClearWorkAndRefresh(AskWorkFilesToClear(mode), dialogOption);
    drawing = texts = false;
  }
  if (!drawing && !texts && !relief) return 2;

  WaitForMouseRelease();
  std::vector<std::string> parts;
  if (drawing) parts.push_back(GetMessageText(738, -39));
  if (texts) parts.push_back(GetMessageText(2885, -39));
  if (relief) parts.push_back(GetMessageText(697, -39));
  std::string names;
  if (parts.size() == 3) names = parts[0] + ", " + parts[1] + " + " + parts[2];
  else if (parts.size() == 2) names = parts[0] + " + " + parts[1];
  else names = parts[0];

  int answer;
  if (exitStyle) {
    answer = AskYesNo(names + "\r\n" + GetMessageText(40, -39)) ? 1 : 2;
  } else {
    int16_t choice = 0;
    AskWithPictureButtons(GetProgramTitle(), names, GetMessageText(4002, -16), "Speichern",
                          GetMessageText(4003, -16), "Loeschen", GetMessageText(4004, -16), "Abbruch", 0, 0, choice);
    answer = choice == 0 ? 3 : choice;  // cancelled: as the third button
  }

  if (answer == 1) {
    if (!exitStyle) {
      if (SaveDrawing(1)) ClearWorkAndRefresh(AskWorkFilesToClear(mode), dialogOption);
      return answer;
    }
    // At exit only what was really saved is cleared: a cancelled relief save
    // keeps the relief, an unsaved drawing keeps the drawing.
    bool drawingSaved = (drawing || texts) && SaveDrawing(1);
    bool reliefSaved = false;
    if (relief) {
      ShowPromptLine(1, GetMessageText(1042, -39), 261, 274);
      reliefSaved = SaveReliefWithFileDialog();
    }
    uint16_t flags = 0;
    if (drawingSaved) flags |= uint16_t(0xFFFF & ~kClearRelief);
    if (reliefSaved) flags |= kClearRelief;
    if (flags != 0) ClearWorkAndRefresh(flags, dialogOption);
  } else if (answer == 2) {
    ClearWorkAndRefresh(AskWorkFilesToClear(mode), dialogOption);
  }
  return answer;
}

namespace {
void AskAndClearTextLines(int16_t question, void (*clear)()) {
  if (TextLineCount <= 0) return;
  WaitForMouseRelease();
  if (!AskYesNo(GetMessageText(question, -39) + "\r\n" + GetMessageText(1019, -39))) return;
  TakeUndoSnapshot(8);
  clear();
  RedrawCurrentView(2);
}
}  // namespace

void ConfirmClearTextLines() { AskAndClearTextLines(3307, ResetTextJobFile); }
void ConfirmClearTextLinesKeepHead() { AskAndClearTextLines(3308, ResetTextLinesKeepHead); }

// --- exit procedure ---------------------------------------------------------------------------

void ShutDownProgram() {
  static const char* const kReliefCopies[] = {"RELAR0.BAK", "RELAR1.TMR", "RELAR1.BAK", "RELAR2.TMR",
                                              "RELAR2.BAK"};
  for (const char* name : kReliefCopies) DeleteIfPresent(name);
  ExitProc = previousExitProc;
  CloseRequested = false;

  if (StoreParked && FileBytes(kScratchStoreName) >= 2) LoadStoreFromScratchFile();
  FlushVectorStoreIntoFile(BuildLayerFileName(CurrentLayer));

  // The view extent at byte 14 of block 3 stays as loaded until the view
  // module keeps a view of its own.
  uint8_t block3[kBlock3Size];
  ReadBlock(3, block3, kBlock3Size);

  uint8_t block0[kBlock0Size];
  ReadBlock(0, block0, kBlock0Size);
  uint32_t ms, seconds;
  memcpy(&ms, block0 + 49, 4);
  memcpy(&seconds, block0 + 53, 4);
  seconds += ms / 1000;
  ms = 0;
  memcpy(block0 + 49, &ms, 4);
  memcpy(block0 + 53, &seconds, 4);
  PutParamBlock(0, block0, kBlock0Size);

  if (block3[88] == 0) ConfirmClearWork(-1, 2);
  OpenParamImage(0);

  FreePlateAndSignBuffers();
  CloseSerialPort();
  LogDatedJournalLine("Ende: ");

  EnsureFileExists("RELAR0.BAK");
  CloseOpenDataFileSlots();
  FreeLoadedFont();
  FreePointMarkerTable();
  DeletePLayerFilesFrom(0);
  CloseMachineConnection();

  CloseMenuTextFile();
  CloseMessageFile();
  FreeMenuTables();
  ReleaseUndoSlots();
  ReleaseMouseCapture();
  ReleaseWindowAndHalt();
}
