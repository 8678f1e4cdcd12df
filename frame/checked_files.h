// Checked file access and the command journal.
//
// Every file operation of the program goes through one of the wrappers
// below. A wrapper performs one operation and fetches its I/O result at
// once; on failure it reports the number on screen and in the journal
// (CheckIoResult), sets ErrorCode to the wrapper's code and appends its own
// journal line (a double quote and its text). It never stops the program:
// it returns its failure result and the caller tests ErrorCode or the count.
//
//   wrapper                 code  journal text on failure
//   AssignFileChecked       1004  " -> Assign() <name>"; empty name: 1007, Assign("leer")
//   ResetFileChecked        1001  " -> Reset()"
//   RewriteFileChecked      1008  " -> Rewrite()"
//   ResetTextChecked        1003  " -> ResetTX()"
//   RewriteTextChecked      1002  " -> RewriteT()"
//   CloseFileChecked        1004  " -> Close()"
//   EraseFileChecked        1005  " -> Erase()"
//   RenameFileChecked       1006  " -> ReName(<new name>)"
//   MoveFileChecked         1006  " -> ReNameFile(<old name>,<new name>)"
//   SetFileAttrChecked      1009  " -> SetFAttr()"
//   GetFilePosChecked       1010  " -> FilePos()"
//   GetFileSizeChecked      1010  " -> FileSize()"
//   ReadBlockChecked        1011  " -> BlockRead()"
//   ReadBlockLongChecked    1011  " -> BlockRdL()"
//   WriteBlockChecked       1011  " -> BlockWrite()"
//   WriteBlockLongChecked   1011  " -> BlockWrL()"
//   ReadLineChecked         1007  " -> ReadLn()"
//   ReadLfLineChecked       1007  " -> ReadLnU()"
//   ReadCrLineChecked       1007  " -> ReadLnU()"
//
// A short read or write is no failure: the count comes back smaller.
//
// The journal "MENUREC.TXT" (current folder) gets one line per entry:
// "#", the code in at least 4 digits with leading zeros, " : ", the text and
// CR LF, at most 80 characters with the line end kept.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

using TFileRec = plat::TPasFile;

constexpr const char* kJournalFileName = "MENUREC.TXT";
constexpr int kJournalLineMax = 80;  // characters, CR LF included

// The pending I/O result, reset to 0. A non-zero result is drawn at (8, 20)
// of the main window ("IOResult:" and the number, colour 12) and journalled
// ("IOResult " and the number, code 0). ErrorCode is left alone.
int CheckIoResult();

// Names longer than 255 characters are cut to 255.
void AssignFileChecked(TFileRec& f, const std::string& name);
// Opens an existing file with the file mode given (0 read only, 2 read and
// write); the global file mode is 2 again afterwards.
void ResetFileChecked(TFileRec& f, uint32_t recSize, uint8_t fileMode);
void RewriteFileChecked(TFileRec& f, uint32_t recSize);
// Opens a text file for reading; 1 on success, 0 on failure.
int ResetTextChecked(TFileRec& f);
void RewriteTextChecked(TFileRec& f);
void CloseFileChecked(TFileRec& f);
void EraseFileChecked(TFileRec& f);
void RenameFileChecked(TFileRec& f, const std::string& newName);
// Moves a file by name; an existing file of the new name is erased first.
void MoveFileChecked(const std::string& oldName, const std::string& newName);
void SetFileAttrChecked(const std::string& name, uint32_t attr);
// Record position and size; 0 on failure.
int32_t GetFilePosChecked(TFileRec& f);
int32_t GetFileSizeChecked(TFileRec& f);
// Records transferred (at most count); 0 on failure.
uint16_t ReadBlockChecked(TFileRec& f, void* buffer, uint16_t count);
int32_t ReadBlockLongChecked(TFileRec& f, void* buffer, int32_t count);
uint16_t WriteBlockChecked(TFileRec& f, const void* buffer, uint16_t count);
int32_t WriteBlockLongChecked(TFileRec& f, const void* buffer, int32_t count);

// Text lines: at most maxLen characters are kept, the rest of the line is
// skipped. ReadLineChecked accepts CR LF or LF line ends. ReadLfLineChecked
// ends a line at LF and drops CR; ReadCrLineChecked ends it at CR and drops
// LF. Both stop after 255 characters even within a line.
void ReadLineChecked(TFileRec& f, std::string& s, int maxLen);
void ReadLfLineChecked(TFileRec& f, std::string& s, int maxLen);
void ReadCrLineChecked(TFileRec& f, std::string& s, int maxLen);
// Mode 1 CR line ends, mode 2 LF line ends, any other mode ReadLineChecked.
void ReadLineByMode(TFileRec& f, int mode, std::string& s, int maxLen);

// Appends one line to the journal, creating it when it is missing. ErrorCode
// is the same afterwards, also when the journal cannot be opened (the line
// is then lost; the failure shows on screen only).
void WriteJournalLine(uint16_t code, const std::string& text);
