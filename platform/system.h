// Small platform services: clock, sounds, message boxes, outside programs,
// clipboard, help pages and machine facts.
//
// Headless runs use a virtual clock: sleeping advances it instead of waiting,
// and every clock read advances it by a few microseconds so that busy-wait
// loops always end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw.h"

namespace plat {

// Milliseconds since the start of the program (virtual when headless).
uint32_t TickMs();
struct TLocalTime { int year, month, day, weekday, hour, minute, second, millisecond; };
// Local date and time; headless: the real start time plus the virtual time.
TLocalTime LocalTimeNow();
void SleepMs(uint32_t ms);

// Sounds by Windows alias ("SystemStart", "Ding"); true when played.
bool PlaySoundAlias(const std::string& alias);
bool StopSound();
// The standard beep; always makes a sound or its fallback (the terminal bell).
void MessageBeep(int type);
// How many beeps MessageBeep has given since the start (tests read it).
int BeepCount();

// Message boxes, drawn into the window's frame buffer and modal through the
// window's input (headless: answered by the script and written to the
// transcript). Texts are in the Windows code page. Style bits as Windows:
// 0 OK, 3 Yes/No/Cancel, 4 Yes/No; icons 0x10 hand, 0x20 question,
// 0x30 exclamation, 0x40 asterisk. Result: 1 OK, 2 Cancel, 6 Yes, 7 No.
enum TBoxResult : int { kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7 };
int MessageBox(const std::string& caption, const std::string& text, uint32_t style);

// Outside programs: the command line is split into arguments (double quotes
// group) and started without a shell. RunCommandLine returns at once (true
// when started); RunCommandLineAndWait returns the exit code or -1.
// SplitCommandLine gives the arguments: blanks and tabs separate, double
// quotes group (and are removed), "" is an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
bool RunCommandLine(const std::string& commandLine);
int RunCommandLineAndWait(const std::string& commandLine);

// Clipboard: text (Windows code page) and pictures.
bool SetClipboardText(const std::string& winText);
bool GetClipboardText(std::string& winText);
bool ClipboardHasPicture();
bool GetClipboardPicture(TPixelBlock& out);
bool SetClipboardPicture(const TPixelBlock& block);

// Opens a help page or document (host path or URL) with the desktop's opener.
bool OpenWithDesktop(const std::string& target);

uint64_t TotalPhysicalMemory();
std::string ExecutableHostPath();

}  // namespace plat
