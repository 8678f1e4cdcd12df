// Drawing files (".SLD"): the format, writing and the recent drawings list.
// The commands and questions around them are in commands/drawing_file_commands.h.
//
// TDrawingFile, untyped, little-endian, floats 4-byte IEEE in mm:
//   OFFSET SIZE DESCRIPTION (head, 379 bytes: the text job head)
//        0    1 frame flag (first byte of the layout area; 0 = no frame)
//      1..8     layout area minimum corner x, y
//        9    1 type of the maximum corner (5)
//    10..17     layout area maximum corner x, y
//    18..33     margins left, top, right, bottom
//       34    1 layout switches (1 margin frame, 2 centre lines, 4 origin cross)
//       35    2 text line count (records of the text section)
//    37..76     text job values
//       77    4 vector section offset
//       81    4 parameter section offset (end of the vector section)
//       85    4 tool section offset
//       89    4 frame section offset
//       93    4 text job number field
//       97    4 property section offset
//      101    4 property section end
//   105..168    16 reserved offsets, written equal to the property offset
//   169..173    text job values
//      174    1 format version (written as 9)
//   175..378    file note: 4 lines of a length byte and up to 50 characters
// Sections, in this order: text lines (160 bytes each, from 379), vector
// records (13 bytes; per layer with records a type-128 record x = layer),
// parameter block 1 (443 bytes), tool records 0 .. highest layer (140 bytes),
// the frame's 13-byte records, the property store text of the objects met.
//
// A save writes a new file beside the target and puts it in the target's
// place only when the whole file was written; a failed save leaves the old
// drawing as it was.
#pragma once

#include <cstdint>
#include <string>

constexpr int kDrawingHeadSize = 379;
constexpr int kHeadVectorOffset = 77;
constexpr int kHeadParamOffset = 81;
constexpr int kHeadToolOffset = 85;
constexpr int kHeadFrameOffset = 89;
constexpr int kHeadNumberField = 93;
constexpr int kHeadPropertyOffset = 97;
constexpr int kHeadPropertyEnd = 101;
constexpr int kHeadReservedOffsets = 105;
constexpr int kHeadLineCount = 35;
constexpr int kHeadVersion = 174;
constexpr int kHeadNote = 175;
constexpr uint8_t kDrawingFormatVersion = 9;
constexpr int kTextParamsSize = 160;
constexpr int kDrawingToolRecordSize = 140;
constexpr int kRecentDrawingCount = 10;
constexpr int kRecentNameSize = 256;
constexpr const char* kTextJobFileName = "HS01.TMP";
constexpr const char* kFrameFileName = "RAHMEN.TMP";

// Writes a ".SLD": mode 255 the whole drawing; 1 and 2 the source vector
// file as the vector section (2 also parameters, tools and frame). True when
// the whole file was written and is in the target's place.
bool WriteSldDrawing(const std::string& source, const std::string& target, int mode);
// True when there is something to save; flushes the vector store first.
bool PrepareDrawingForSave();
bool ExportSldDrawingToFile(const std::string& source, const std::string& target, int mode);
// Writes the text job head in memory to the start of "HS01.TMP" (created
// with the head alone when missing).
void WriteTextJobHeadToFile();

// A name block of the parameter file (256 bytes: length byte and text),
// e.g. 9 the drawing folder, 11 the export folder, 26 the drawing name.
std::string ReadParamNameBlock(int16_t block);
void WriteParamNameBlock(int16_t block, const std::string& text);

// --- saved state ------------------------------------------------------------------------
// The drawing as it stood after the last save or open, kept as a fingerprint
// in "GESPEICH.TMP" (8 bytes, little-endian) so that it outlives the run.
// The fingerprint covers every drawing layer (the store counted with the
// current layer), the text job, the frame and the properties. The order of
// the contours within a layer does not count: marking and unmarking move
// contours without changing the drawing.
constexpr const char* kSavedStateFileName = "GESPEICH.TMP";

uint64_t ComputeDrawingFingerprint();
// Notes the drawing as it stands as saved (after a save or an open).
void RecordDrawingSaved();
// True when the drawing is as it was last saved or opened; false when the
// note is missing or unreadable.
bool IsDrawingSaved();

// --- recent drawings (parameter block 64) ---------------------------------------------
// Extension exactly ".SLD", ".LG1" or ".H2R"; with check the file must exist.
bool IsDrawingFileName(const std::string& name, bool check);
void AddRecentDrawing(const std::string& name, bool check);
// Entry i (0-based) of the list; empty when none.
std::string GetRecentDrawing(int i);
std::string FormatRecentDrawingEntry(const std::string& name);
// The folder part of a name with its last backslash.
std::string GetDrawingFolder(const std::string& name);
