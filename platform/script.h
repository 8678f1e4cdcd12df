// Scripted input (TORV_SCRIPT) for both backends.
//
// A script is read once into steps. A step is one batch of messages (a key
// press with its modifiers, one typed character, a mouse action), a wait or
// a screenshot. Steps are taken only while the program is waiting for input:
// after PeekWindowMessage has found the queue empty three times in a row, or
// at once by WaitWindowMessage. A wait holds the next step back until the
// program's clock has run that long (real time in a window, the virtual
// clock headless, where WaitWindowMessage moves the clock to its end at once). A click is two steps (move + button down,
// then button up), so the button is seen held for a few polls. When the
// script is used up the window gets the close message; should the program go
// on running, the close message comes again every minute, and ten minutes
// after the end the process exits with code 3 so that a test never hangs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.h"

namespace plat {

enum TStepKind : int { kStepMessages, kStepWait, kStepShot, kStepDisk };
// The answer a step gives to a message box.
enum TScriptAnswer : int { kAnswerNone, kAnswerYes, kAnswerNo, kAnswerCancel };

struct TScriptStep {
  int kind = kStepMessages;
  std::vector<TMessage> messages;
  uint32_t waitMs = 0;
  int64_t diskBytes = -1;    // disk: the free space from now on, -1 no limit
  std::string shotPath;      // host path
  int answer = kAnswerNone;  // key Enter / key y yes, key n no, key Esc cancel
  bool continuation = false; // second half of a click, further characters of a text
  int lineNo = 0;
  std::string source;        // the script line, for messages
};

// What the reader remembers from line to line.
struct TScriptParser {
  int mouseX = 0;
  int mouseY = 0;
  uint32_t buttonFlags = 0;  // buttons held by press lines (1 left, 2 right, 16 middle)
  std::string baseFolder;    // relative shot paths are relative to it
};

// Reads one script line and appends its steps. Blank lines and comments give
// no steps and true; a line that cannot be read gives false and a reason.
bool ParseScriptLine(TScriptParser& parser, const std::string& line, int lineNo,
                     std::vector<TScriptStep>& steps, std::string& error);
// Reads a whole script; unreadable lines are reported on stderr and skipped.
std::vector<TScriptStep> ParseScriptText(const std::string& text, const std::string& baseFolder);

// The working folder when the process started (relative paths of the harness).
extern std::string StartFolder;

struct TScriptState {
  bool loaded = false;
  bool active = false;        // a script drives the input
  std::vector<TScriptStep> steps;
  size_t next = 0;            // next step
  int emptyPeeks = 0;         // consecutive empty polls since the last step
  bool waiting = false;       // a wait line under way
  uint32_t waitUntil = 0;
  bool ended = false;         // script used up, close message posted
  uint32_t endedAt = 0;
  uint32_t lastCloseAt = 0;
};
extern TScriptState Script;

// Loads TORV_SCRIPT once. Headless runs always have a script (an empty one
// when none is named); SDL runs have one only when TORV_SCRIPT is set.
void EnsureScriptLoaded();
void ResetScript();
bool ScriptIsActive();
// Pacing hooks of the message functions.
void ScriptOnEmptyPeek();
void ScriptOnWait();
// The next answer for a message box. Screenshots and waits before it are
// carried out, pending halves of earlier lines posted; any other line is
// used up and counts as no answer.
int TakeScriptedAnswerKind();

}  // namespace plat
