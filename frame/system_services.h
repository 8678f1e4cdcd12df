// Small services every module calls: event sounds, the system message box,
// outside programs, the help page, the program title, resource pictures,
// system facts, file-name and folder helpers, number parsing and the
// clipboard picture.
//
// Strings are length-prefixed strings of at most 255 characters in the DOS
// code page; texts for the system are converted with MakeWinText first.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

// --- state ----------------------------------------------------------------------
// Variant number, fixed by the variant set-up at start (0 before it; this
// build runs as 12). Selects the program title.
extern int16_t VariantNumber;
// Scale of angles typed with "W" in number fields: the float at byte 8 of
// parameter block 14 (the rotary axis diameter), read at start.
extern float AngleInputDiameter;
// Size of the raster work file "Scan0.TMP" in pixels (width a multiple of 8).
extern int32_t ScanRasterWidth;
extern int32_t ScanRasterHeight;

// Reads AngleInputDiameter from parameter block 14 (start sequence).
void LoadAngleInputSetting();

// --- sounds -----------------------------------------------------------------------
// 0 "SystemStart", 99 "Ding", -1 stops the sound playing: 1 when the sound
// call succeeded. 10, 20, 21, 22 and every other code play nothing: 0.
uint8_t PlayEventSound(int16_t code);
void PlayMessageBeep(int type);

// --- message boxes ------------------------------------------------------------------
// A system-modal box with the exclamation icon (style OR 0x1030) owned by the
// main window. 1 for OK, Abort, Ignore or Yes; 0 for Cancel, No, Retry, closed.
uint8_t RunMessageBox(const std::string& caption, const std::string& text, uint32_t style);
// The same with a text that is already zero-terminated (not converted).
uint8_t RunMessageBoxPChar(const std::string& caption, const char* text, uint32_t style);

// --- outside programs and help --------------------------------------------------------
// Starts the command line (argument list, no shell) and returns at once.
void RunProgram(const std::string& commandLine);
// Starts the command line; with wait above 0 returns only once the user is
// back in the program's window (see system_services.cpp).
void RunProgramAndWait(const std::string& commandLine, int16_t wait);
// Opens (flag 1) the help page named by the program title in the folder
// "help\" of the program folder, "index.htm" when that is missing; nothing
// when neither exists. Flag 0 (close the viewer) has nothing to close.
void ShowWinHelp(uint8_t openFlag);
// "TORV" for variants 0, 1 and 12; empty for every other number.
std::string GetProgramTitle();
void CaptureMouse();
void ReleaseMouseCapture();
// Draws the resource picture of that name (any case; the resource table
// "Resourc1.DAT" of the program folder) at (x, y) of the main window, at most
// width x height of it, with the raster operation (SRCCOPY, SRCINVERT,
// SRCAND, SRCPAINT, NOTSRCCOPY; any other code copies). 0 when the picture is
// missing (nothing drawn), 1 otherwise.
constexpr uint32_t kRopSrcCopy = 0x00CC0020;
constexpr uint32_t kRopSrcInvert = 0x00660046;
constexpr uint32_t kRopSrcAnd = 0x008800C6;
constexpr uint32_t kRopSrcPaint = 0x00EE0086;
constexpr uint32_t kRopNotSrcCopy = 0x00330008;
uint8_t DrawResourceBitmap(int x, int y, int width, int height, uint32_t rop, const std::string& name);

// --- system information -------------------------------------------------------------
uint32_t GetTickMs();
// Total physical memory in bytes (64-bit: machines have more than 4 GiB).
uint64_t GetTotalPhysMemory();
uint64_t ReadPhysicalMemorySize();
// The version the program reports of its system: platform 2 (NT), 6.1.
void GetWindowsVersion(uint32_t& major, uint32_t& minor, uint32_t& platformId);
// The Windows folder; "C:\WINDOWS" (no such folder exists on this system, so
// programs looked for there are not found).
std::string GetWindowsFolder();
void GetProgramFileName(std::string& name, int maxLength);
bool ChangeDirectory(const std::string& path);
// No library is ever loaded on this system; the handle is accepted and ignored.
void FreeLibraryHandle(uintptr_t handle);

// --- files and folders by name -------------------------------------------------------
bool TestPlainFileExists(const std::string& name);
// Directory search; 0 means an entry was found. FindFirstEntry marks the record
// empty (time -1) first; FindNextEntry on a marked record returns -1 and
// FindCloseEntry ignores it.
int FindFirstEntry(const std::string& pattern, uint32_t attrMask, plat::TSearchRec& rec);
int FindNextEntry(plat::TSearchRec& rec);
void FindCloseEntry(plat::TSearchRec& rec);
// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateFolderPath(const std::string& path);
bool TestFolderExists(const std::string& path);
// Full path of a name ("." and ".." resolved); "" gives the current folder
// with a trailing backslash.
std::string GetFullPath(const std::string& name);
// Last position (1-based, 2 and above) of ch in s; 1 when none; 0 for "".
int FindLastChar(char ch, const std::string& s);
// The file name of a path without its extension.
std::string GetNameWithoutExt(const std::string& path);
// Folder with its trailing backslash, extension with its dot, name without
// extension, each cut to its maximum length.
void SplitFileName(const std::string& path, std::string& folder, int folderMax, std::string& extension,
                   int extensionMax, std::string& name, int nameMax);
// "D" folder, "E" extension, "N" name without extension; any other letter
// leaves out untouched.
void GetFileNamePart(const std::string& path, char letter, std::string& out);

// --- strings and numbers ----------------------------------------------------------------
// Sets the length (0..255); new characters are blanks.
void SetShortStringLength(std::string& s, int n);
// At most count characters from start (1-based; below 1 counts as 1).
std::string CopySubString(const std::string& s, int start, int count);
// Pascal Val: leading blanks, sign, digits. code 0 valid, else the 1-based
// position of the first bad character (the value is then 0).
int32_t ParseIntegerValue(const std::string& text, int16_t& code);
float ParseRealValue(const std::string& text, int16_t& code);
// A chain of numbers and operators read strictly from left to right:
// + - * x / :, "," as decimal point, "W" angle factor. code: conversion code
// of the last number, 255 when there was none (or a division by zero or an
// overflow stopped the reading).
float ParseNumberExpression(const std::string& text, int16_t& code);

// --- clipboard picture -----------------------------------------------------------------
bool ClipboardHasBitmap();
// Writes the clipboard picture as the 1-bit raster work file "Scan0.TMP"
// (rows top-down, width rounded up to 8, most significant bit first, black
// pixels set) and sets the raster size; 1 when pasted, 0 without a picture.
uint8_t PasteClipboardToRaster();
