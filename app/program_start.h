// The spine of the program: the program body, the variant set-up, the start
// sequence, the main command loop, the screen rebuild, the save-or-discard
// question and the exit procedure that runs once however the program ends.
#pragma once

#include <cstdint>
#include <string>

#include "frame/main_window.h"
#include "frame/program_state.h"

// --- entry points ----------------------------------------------------------------------
// The program entry; args are the command-line arguments after the program name.
[[noreturn]] void ProgramBody(int argc, char** argv);
void SetUpVariant(const std::string& text, int32_t code);
void EnterProgramFolder();
void StoreProgramFolder();
void RunStartSequence();
void RunMainCommandLoop(int32_t variantCode);
// The exit procedure: installed at start, also run by the close message.
[[noreturn]] void ShutDownProgram();
void AskQuitProgram();
void RebuildScreen();
void CalibrateDelayLoop();
void OpenCommandJournal();
// A program folder of its own (TORV_HOME) gets each shipped data file it
// lacks copied from beside the executable; a file it has, in any case of its
// name, is the user's and stays as it is.
void InstallShippedFiles();
void CheckProgramFiles();
void ShowStartScreenPause();
void EnsureWorkFilesExist();
void EnsureProjectFolder();
void CheckLayersAndSettings();
void ShowColourDepthNotice();

// Save-or-discard question. mode 0 clear without choice, 1 let the user
// choose, -1 at exit; options bit 1 the plain Yes/No question, the rest 1 to
// open the layout limits dialog after clearing. Returns 1 save, 2 discard,
// 3 cancel (2 when nothing needed asking).
int ConfirmClearWork(int8_t mode, uint8_t options);
uint16_t AskWorkFilesToClear(int8_t mode);
// The two text-line clearing questions of the text window: all lines, or
// all lines but the job head.
void ConfirmClearTextLines();
void ConfirmClearTextLinesKeepHead();
// flags 0: the main menu bar and side menu from scratch.
void BuildMainMenuBar(uint8_t flags);
void RunOptionsMenuAndRebuild();
// True when the free bytes could not take another copy of a layer of that
// many records (13 bytes each).
bool IsDiskTooFullForLayer(int64_t freeBytes, int32_t records);
