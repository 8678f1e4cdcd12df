// The program's names for itself: the window caption, the version and
// product texts, running times, the info window, and a journal helper
// (the abort mark of the last line of a command).
#pragma once

#include <cstdint>
#include <string>

constexpr const char* kVersionText = "Ver.: 7.020.9 200809";
constexpr const char* kProductLineText = "CAD/CAM  f\x81r Fr\x84s-/Graviermaschinen";
constexpr const char* kProductLineTextCam = "CAM  f\x81r Fr\x84s-/Graviermaschinen";
constexpr const char* kReliefFileName = "RELAR0.TMR";
constexpr const char* kAbortMark = ": AbbruchEsc";

// The caption text UpdateWindowTitle sets.
std::string BuildWindowTitle(int32_t versionThousandths);
void UpdateWindowTitle(int32_t versionThousandths);
void SetWindowCaptionText(const std::string& text);
// The job-kind suffix of a menu-set number (" (label)" ...; empty for others).
std::string JobKindSuffix(int16_t menuSet);
// The tool part of the caption for the tool of the given number ("" when none).
std::string ToolCaptionPart(int tool);
std::string FormatProgramTitleLine();
std::string GetVersionText();
std::string FormatVersionLine();
// "1h : 02min : 05sec".
std::string FormatRunningTime(int32_t seconds);
void FormatRunningTimeLines(std::string& first, std::string& second);
// Modal; returns when a key or a click closed it (the key is dropped).
void ShowInfoWindow();
void MarkLastJournalLineAborted(uint16_t code);
