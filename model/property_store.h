// The object property store.
//
// Objects of the drawing (contours, single points) carry machining or relief
// properties outside their vector records, in the text file "EIGENSCH.TMP"
// of the program folder. An object is tied to its line by an object number
// coded into the z of its contour-start record: z = -(n + 1000), n 1..31999.
//
// Store layout (lines ended by CR LF), per object:
//   "#" + the object number in at least 6 digits with leading zeros
//   at most one property line of up to 128 characters:
//     6-letter kind keyword, a blank, the value fields separated by blanks
//     (numbers with up to 3 decimals, integers, letters, texts in quotes)
// An object line directly followed by another object line (or the end)
// has no property line. Objects keep the place where they were first written.
//
// Every rewrite first moves the store to "EIGENSCH.BAK" and writes a new
// store from it; when the backup cannot be read back, the rewrite is given up
// and the backup becomes the store again, so the old store is never lost.
#pragma once

#include <cstdint>
#include <string>

constexpr const char* kPropertyStoreName = "EIGENSCH.TMP";
constexpr const char* kPropertyBackupName = "EIGENSCH.BAK";
constexpr const char* kPropertyAppendName = "EIGENSCH.DAT";
constexpr const char* kObjectReliefWorkName = "ROSICH.TMR";
constexpr int kPropertyLineMax = 128;
constexpr int32_t kHighestObjectNumber = 31999;

// Property kinds: the code named by the first 6 characters of a line.
using TPropertyKind = int16_t;
constexpr int kPropertyKindCount = 42;
struct TPropertyKindName {
  TPropertyKind code;
  const char* keyword;  // Windows code page
};
extern const TPropertyKindName PropertyKindNames[kPropertyKindCount];

// One property line (at most 128 characters).
struct TPropertyLines {
  std::string line;
};

// --- object numbers ----------------------------------------------------------------
// z of a contour start for object n (only n > 0 is coded; else z is unchanged).
void EncodeObjectNumberInZ(int32_t n, float& z);
// n = -(z + 1000) rounded when 0 < n < 32000, else -1.
int32_t DecodeObjectNumberFromZ(float z);
std::string FormatObjectNumber(int32_t n);
void BuildObjectNumberLine(int32_t n, std::string& out, int maxLength);

// --- the store ----------------------------------------------------------------------
void CreateEmptyPropertyStore();
// Highest object number in the store + 1 (1 when empty); creates a missing store.
int32_t GetNextObjectNumber();
void ClearPropertyLines(TPropertyLines& buffer);
void ReadObjectPropertyLine(int32_t n, TPropertyLines& buffer);
TPropertyKind GetObjectPropertyKind(int32_t n);
// The kind of a property line (0 when its keyword is unknown).
TPropertyKind PropertyKindOfLine(const std::string& line);
// An empty buffer or one beginning with key becomes key + " " + value (cut to 128).
void SetPropertyLine(TPropertyLines& buffer, const std::string& key, const std::string& value);
// Rewrites the store with object n's line replaced (appended when n is new).
void WriteObjectProperties(int32_t n, const TPropertyLines& buffer);
// Rewrites the store without object n.
void DeleteObjectProperties(int32_t n);
void StoreReliefPropertyText(int32_t n, const std::string& text);

// --- parsing the value text -----------------------------------------------------------
// The rest of the line after key (beginning with the blank), cut to maxLength;
// empty when the line does not begin with key.
void GetPropertyField(const std::string& line, const std::string& key, std::string& out, int maxLength);
bool IsNumberChar(char c);
float TakeNextNumberFromText(std::string& text, int maxLength);
uint8_t TakeNextByteFromText(std::string& text, int maxLength);
int16_t TakeNextIntegerFromText(std::string& text, int maxLength);
void TakeNextWordFromText(std::string& text, int maxLength, std::string& out);
std::string QuotePropertyText(const std::string& text);

// --- per-object relief copies -----------------------------------------------------------
// "RO" + 6 digits + ".TMR" in the folder of the layer files.
std::string BuildObjectReliefName(int32_t n);
// n > 0: "ROSICH.TMR" becomes object n's copy when it exists, else the copy is deleted.
void StoreObjectReliefCopy(int32_t n);

// --- contours of a vector file -------------------------------------------------------------
constexpr int kClassClosed = 1;
constexpr int kClassSinglePoint = 2;
constexpr int kClassOpen = 4;
// Bit set of the contour kinds of the file; number gets an object number or
// cut-out mark shared by the contours (see the store's documentation).
int ClassifyContoursInFile(const std::string& name, int mode, int32_t& number);
int IsSingleContourFile(const std::string& name);
// Gives every contour of the file the property line key + " " + value.
void AssignPropertiesToContours(const std::string& name, const std::string& key, const std::string& value,
                                bool keepReliefCopy);
// Sets the cut-out mark of every contour start of the file: z = -1 (mode 1),
// -2 (mode 2), 0 (mode 3) or -4 (mode 4); the object numbers of the marked
// contours are lost. Needs contours in the vector store (message 82), for
// modes 1 and 2 only closed ones (message 1395); the store then goes back
// into the current layer file.
void MarkContourStarts(const std::string& name, int mode);
