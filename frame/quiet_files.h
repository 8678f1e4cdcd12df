// File-name helpers and quiet file helpers.
//
// Names are Windows-style paths (backslash separators, optional drive
// letter) of at most 255 characters. The folder part ends at the last "\"
// or ":"; the bare name follows it.
//
// The file helpers here never show a message or write a journal line: they
// are for places where a missing file is normal. Errors are cleared or go to
// the quiet error word (QuietIoError).
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

// --- names ------------------------------------------------------------------------
// The bare name up to its first point ("A.B.C" gives "A"); a bare name
// without a point whole.
std::string GetFileBaseName(const std::string& path);
// "D" the folder with its trailing backslash, "E" the extension from the
// last point of the bare name (with the point), "N" GetFileBaseName; any
// other letter leaves result untouched.
void ExtractFileNamePart(const std::string& path, char letter, std::string& result);
// The folder, extension and base name as above, each cut to its maximum.
void SplitPathParts(const std::string& path, std::string& folder, std::string& extension, std::string& name,
                    int maxFolder, int maxExtension, int maxName);
// Folder + GetFileBaseName + ".BAK".
std::string MakeBakFileName(const std::string& path);

// --- files -----------------------------------------------------------------------------
// Existence of exactly this file (no wild cards).
bool FileExistsPlain(const std::string& name);
// Like FileExistsPlain, but a bare name "*" or an extension ".*" searches
// for any match.
bool TestFileExistsQuiet(const std::string& name);
// Size in bytes of the first match; 0 for an empty name or no match.
int64_t GetFileByteSizeQuiet(const std::string& name);
void DeleteFileQuiet(const std::string& name);
void CreateEmptyFileQuiet(const std::string& name);
// Copies the source byte for byte in pieces of 65535 bytes; append writes
// at the target's end, otherwise the target is created new. Copying a file
// onto itself leaves it unchanged; appending a file to itself doubles it.
void CopyFileBytes(const std::string& source, const std::string& target, bool append);

// --- values --------------------------------------------------------------------------
// The text as a number; errorPosition is 0 when the whole text was a number,
// otherwise the 1-based position of the first character that is not.
long double ParseExtendedValue(const std::string& text, int& errorPosition);
// Free bytes of a drive (0 current, 1 = A: ...), at most 2147483647; -1 for
// an invalid drive.
int64_t GetDriveFreeBytes(int drive);

// --- quiet file layer ------------------------------------------------------------
// One file operation without any message or journal line; on failure
// ErrorCode (1001 open, 1008 create, 1004 close, 1011 block move) and
// QuietIoError take the I/O result.

// The error word of the quiet layer (0 = no error).
extern uint16_t QuietIoError;

void ResetFileQuiet(plat::TPasFile& f, uint32_t recSize, uint8_t fileMode);
void RewriteFileQuiet(plat::TPasFile& f, uint32_t recSize);
void CloseFileQuiet(plat::TPasFile& f);
// Moves n records; count is 0 after an error. A short transfer is no error.
void BlockReadQuiet(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count);
void BlockWriteQuiet(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count);

// --- Esc poll ----------------------------------------------------------------------
// True when the next waiting key is Esc (taken from the buffer); the Esc
// poll of long file work, with no confirmation question.
bool PollEscapeAbort();

// --- icon painter --------------------------------------------------------------------
// Draws a 16 x 16 icon row by row at (x, y + row). A step <= 0 walks its
// direction of the pattern from index 15 down, a positive one from 0 up;
// transpose exchanges the pattern's rows and columns. A pixel is black when
// show is set and its pattern byte is below 15, light grey otherwise.
void DrawArrowIcon16(const uint8_t (&pattern)[16][16], int columnStep, int rowStep, bool show, bool transpose,
                     int x, int y);
