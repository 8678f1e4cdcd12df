// Record checks and the edit question.
//
// Many commands work only on plain 2D contours. Before they change a vector
// file they check it for records that would be lost or misread (tool records
// and path headers left from a path computation, 3D points, contour marks,
// pen-up marks, open contours) and, when the matching check of the screen
// settings is on (CheckToolRecords, Check3DPoints), ask whether to keep
// them, delete them or cancel. A cancel sets the mouse-button state to 4
// (right button), which command loops take as an abort.
//
// Record groups: tool records 150-157; path header records 1, 5, 6, 7, 9;
// 3D records 12 (and 27 where said). Missing or empty files hold nothing.
#pragma once

#include <cstdint>
#include <string>

// --- scans -----------------------------------------------------------------------------
// One of the first 500 records has type 150, 151, 155, 156 or 157.
bool CheckFileHasToolRecords(const std::string& file);
// One of the first 500 records is a contour start with z below -1000.
bool CheckFileHasObjectNumbers(const std::string& file);
// One of the first 5000 records has type 131.
bool CheckFileHasAngleRecords(const std::string& file);
// Kind of the first record an enabled check covers (flag 1 and
// CheckToolRecords: tool records, 1; flag 2 and Check3DPoints: type 12, 2;
// flag 8 and CheckToolRecords: path header records, 8); 0 for none.
int FindCheckedRecordKind(const std::string& file, int flags);
bool CheckFileHas3DPoints(const std::string& file);
// Bit 1: a record of type 12 or 27; bit 2: a record of types 150-157.
int ScanFileFor3DAndToolRecords(const std::string& file);
// Lowest z of the type-12 records minus the offset (0 minus the offset without them).
void GetLowest3DHeight(const std::string& file, double offset, double& height);
// Deepest plunge of the line points (y of the last type-156 record before
// each) and 3D points; returns the number of tool blocks (type-157 records).
int32_t GetPathDepthAndToolCount(const std::string& file, double& depth);
// Every contour ends within 0.001 mm of its start and has at least 3
// records of types 10, 11, 12; true for a file without records.
bool CheckAllContoursClosed(const std::string& file);
// Mode 0: true at the first pen-up line point. Mode 2: every pen-up line
// point becomes a contour start with z 0; true when any was found.
bool ScanPenUpMarks(const std::string& file, int mode);

// --- clean-ups (in place; the current layer file gets an undo snapshot first) ------------
void StripToolRecords(const std::string& file);  // drops 1, 5, 6, 7, 9, 150-157
void Flatten3DPoints(const std::string& file);   // 12 -> 10, z of 10 and 12 -> 0
// Contour marks -3, -5, -10, -11 are cleared silently; at another negative
// start z the user is asked once. False only when the user said no.
bool ClearContourMarks(const std::string& file, int colour);

// --- questions ----------------------------------------------------------------------------
// 4 without a question; keep 2, delete 3, cancel 1.
int AskStripToolRecords(const std::string& file);
// 3 without a question; keep 2, delete 3, cancel 1.
int AskDelete3DPoints(const std::string& file);
// Flags 1 tool records, 2 3D points, 4 contour marks; true to go on.
bool AskStripToolAnd3DRecords(const std::string& file, int colour, int flags);
