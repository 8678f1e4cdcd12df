// Message texts, message boxes built on them, small text helpers, the
// language and menu sets, and the two system class digits of the version line.
//
// The message file "TORV.TX0" (program folder) holds every numbered text of
// the program, one 42-byte record per number:
//   OFFSET      SIZE DESCRIPTION
//   n * 42        40 text n in the DOS code page, padded with blanks
//   n * 42 + 40    2 CR LF
// At most 39 characters of a record are read. The build writes the file from
// data/messages.tsv; numbers without a text are blank records.
//
// Language set "XX": "TORV_XX.TX0" (message file), menu-file prefix + "XX" +
// ".TXT" (menu file) and the help text file with "XX" before its extension.
// A file counts as present when it holds more than 10 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

constexpr int kMessageRecordSize = 42;
constexpr int kMessageTextMax = 39;  // characters read of a record
constexpr const char* kMessageFileName = "TORV.TX0";
constexpr const char* kMenuTextFileName = "TORV.TXT";
constexpr const char* kHelpTextFileName = "TORVHILF.TXT";

// --- files (opened by the start sequence, closed by the exit procedure) -------
extern plat::TPasFile MessageFile;   // "TORV.TX0", untyped, record size 1, read only
extern plat::TPasFile MenuTextFile;  // "TORV.TXT", untyped, record size 1, read only
// Opens the file in the program folder with record size 1 in read mode
// through the checked wrappers; closing ignores a file that is not open.
void OpenMessageFile();
void CloseMessageFile();
void OpenMenuTextFile();
void CloseMenuTextFile();

// --- texts ---------------------------------------------------------------------
// Reads |length| characters of record number; a negative length also removes
// trailing blanks. A failed read sets ErrorCode through the checked read; a
// number past the end reads short and reports nothing. Characters not read
// are blanks. A negative number reads nothing (all blanks).
void GetMessageText(int16_t number, int16_t length, std::string& text);
std::string GetMessageText(int16_t number, int16_t length);
// The first 39 characters of the record, blanks kept (number unsigned).
void GetMessageTextRaw(uint16_t number, std::string& text);
// One blank followed by GetMessageText (number, length).
void GetMessageTextSpaced(int16_t number, int16_t length, std::string& text);

// --- message boxes ----------------------------------------------------------------
// OK box (style 48) captioned with the program title, after the mouse buttons
// have been released.
void ShowTitledMessage(const std::string& text);
void ShowTitledMessagePChar(const char* text);
// Yes/No box (style 52) captioned with the program title, after the mouse
// release; 1 for Yes, else 0.
uint8_t AskYesNo(const std::string& text);
uint8_t AskYesNoPChar(const char* text);
// AskYesNo of message number (39 characters); stores and returns the answer.
uint8_t AskYesNoMessage(int16_t number, uint8_t& answer);
uint8_t AskYesNoMessage(int16_t number);
// AskYesNo of first, CR LF, second; stores and returns the answer.
uint8_t AskYesNoTwoLines(const std::string& first, const std::string& second, uint8_t& answer);
// Up to 10000: OK box captioned "Error" with message n. Above 10000: the I/O
// result n - 10000 as " File-Error IOResult=" and the number in 3 places.
// Does not wait for the mouse release.
void ShowMessageNumber(int32_t n);
// The text ShowMessageNumber shows for n.
std::string MessageNumberText(int32_t n);
void ShowErrorText(const std::string& text);

// --- text helpers (length-prefixed strings of at most 255 characters) -------------
std::string MakeBlankString(int n);
// Blanks appended (right) or put in front (left) up to length n; a longer
// text comes back unchanged.
std::string PadStringRight(const std::string& text, int n);
std::string PadStringLeft(const std::string& text, int n);
void TrimLeadingBlanks(std::string& text);
void UpperCaseString(std::string& text);  // a-z only
// Drops trailing (leading) characters until the pixel width in the text
// font is at most width.
void CutTextToWidth(std::string& text, int width);
void CutTextToWidthFromLeft(std::string& text, int width);
// Keeps the characters before position (1-based) without the blanks directly
// before it.
void CutAndTrimString(std::string& text, int position);
// Appends to a zero-terminated buffer of 1024 bytes whose used length is
// length; at most 1023 characters are kept and the buffer stays terminated.
constexpr int kTextBufferSize = 1024;
void AppendToTextBuffer(char (&buffer)[kTextBufferSize], uint16_t& length, const std::string& text);

// --- language and menu sets ---------------------------------------------------------
struct TLanguageSet {
  const char* code;
  int16_t captionMessage;  // 0: the fixed caption below
  const char* captionSuffix;
  const char* fixedCaption;
  const char* picture;
};
constexpr int kLanguageSetCount = 13;
extern const TLanguageSet LanguageSets[kLanguageSetCount];

struct TMenuSetEntry {
  bool present = false;
  std::string caption;  // at most 40 characters
  std::string picture;  // at most 16 characters
};
constexpr int kMenuSetCount = 8;
// Byte of parameter block 3 holding the chosen menu set (16-bit).
constexpr int kMenuSetParamOffset = 109;

// One line of a choice popup: caption and picture name.
struct TChoiceLine {
  std::string caption;
  std::string picture;
};
// The popup list of the dialog toolkit: three title lines, the lines, shown
// at (x, y); returns the line chosen (1-based) or 0 when cancelled.
using TChoicePopupProc = int (*)(int x, int y, const std::string (&titles)[3],
                                 const std::vector<TChoiceLine>& lines);
// Slots filled by the start sequence once the dialog toolkit is up (null:
// the choice popups show nothing and the window title is not renewed).
extern TChoicePopupProc ChoicePopupHook;
extern void (*WindowTitleHook)();            // renews the window title
extern void (*HelpTopicHook)(int16_t topic);  // shows a help topic

// The caption of language set i (0-based) as the popup shows it.
std::string LanguageSetCaption(int i);
bool IsLanguageSetPresent(const std::string& code);
void ApplyLanguageSet(const std::string& code);
// The popup of the present language sets; applies the one chosen.
void ChooseLanguage();
// Applies language set i (0-based) as chosen in the popup: "00" applies "DE"
// first, then menu set 0 is taken.
void ApplyChosenLanguage(int i);

bool IsMenuSetPresent(const std::string& code);
void ApplyMenuSet(const std::string& code);
void ListMenuSets(TMenuSetEntry (&list)[kMenuSetCount]);
void SetMenuSetNumber(int16_t n);
void ChooseMenuSet();
// Applies menu set n (0-7) as chosen in the popup.
void ApplyChosenMenuSet(int n);
// The six-character prefix of the variant's menu files; empty when none.
void GetMenuFilePrefix(std::string& prefix);
// Copies source over target in blocks of 65000 bytes through the checked
// wrappers. A source that cannot be opened leaves the target untouched.
void CopyFileBlockwise(const std::string& source, const std::string& target);
// True when the file exists and holds more than 10 bytes.
bool IsSetFilePresent(const std::string& name);

// --- system class digits -------------------------------------------------------------
uint8_t GetWindowsVersionClass();
uint8_t GetDriveSizeClass();
// The class for a drive size in megabytes.
uint8_t DriveSizeClassOf(int64_t sizeMb);
// The class for a platform id and version.
uint8_t WindowsVersionClassOf(uint32_t platformId, uint32_t major, uint32_t minor);
// "1" followed by both class digits.
std::string FormatSystemClassText();
