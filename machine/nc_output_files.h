// The NC output file name rules and the two dialect pre-passes that
// transform a job before the NC writer reads it.
#pragma once

#include <cstdint>
#include <string>

constexpr int16_t kNcFolderBlock = 11;       // folder of the last NC file
constexpr int16_t kMsgNcDigitsName = 382;     // the name must be digits
constexpr int16_t kMsgNcONumberName = 1505;   // the name must be "O" and digits

// The name part of a file name: without folder and extension.
std::string GetNcFileNamePart(const std::string& name);
// The folder part of a file name, up to and including the last "\".
std::string GetNcFileFolderPart(const std::string& name);

// Names of digits only (dialects 14 and 32); a refused name shows one OK box.
bool IsDigitsFileName(const std::string& name);
// "O" or "o" and up to four digits (dialect 62); a refused name shows one OK box.
bool IsONumberFileName(const std::string& name);
// The checks and bookkeeping after the file dialog: applies the dialect's
// name rule; an accepted name is stored as the last NC file (block 14) and
// its folder as the start folder (block 11). Returns the name, or "" when
// it was refused.
std::string AcceptNcOutputFileName(const std::string& name, int dialect);

// Asks for the NC file in the file dialog (save mode, the dialect's
// extension, the folder of the last NC file) and applies
// AcceptNcOutputFileName; name is "" when cancelled or refused.
void ChooseNcOutputFile(std::string& name, int maxLength, int dialect);

// Writes the job turned by a quarter turn ((x, y) -> (-y, x) for the point
// records 10, 11, 12 and 27 and the arc centre records 19) into targetName;
// every other record is copied.
// The turned job is drawn in the cleared graphic window, fitted to the
// turned extent of the source's extent records (the view stays as it is
// when the first 13 records hold none).
void RotateJobForDialect46(const std::string& sourceName, const std::string& targetName);
// Rewrites the job file with a pair of centre records (132: rotary angle of
// the centre and centre Y; 134: centre X and Y) before every contour and an
// end record 130 after it.
void AddContourCentreRecords(const std::string& fileName, float rotaryScale);
