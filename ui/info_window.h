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
// Where the info window puts itself and its text lines (the small one for
// variant 13): its frame, the room of the texts from textLeft to textRight,
// the picture's bottom and the etched line's y (0 for none).
struct TInfoWindowLayout {
  int left = 0, top = 0, right = 0, bottom = 0, lines = 0;
  int textLeft = 0, textRight = 0, pictureBottom = 0, etchedLineY = 0;
  int lineTop = 0;  // y of line 0; line i is 14 pixels lower each
};
void LayOutInfoWindow(bool small, TInfoWindowLayout& layout);
int InfoWindowLineY(const TInfoWindowLayout& layout, int line);
// One text of the info window: its line, and sized true for the running
// times drawn 12 x 6, else the set font (DrawTextInSetFont).
struct TInfoWindowText {
  std::string text;
  int line = 0;
  bool sized = false;
};
constexpr int kInfoWindowTextMax = 9;
constexpr int kInfoWindowSizedHeight = 12;
constexpr int kInfoWindowSizedWidth = 6;
// The texts of the info window in drawing order; returns their number.
int GetInfoWindowTexts(bool small, TInfoWindowText (&texts)[kInfoWindowTextMax]);
void MarkLastJournalLineAborted(uint16_t code);
