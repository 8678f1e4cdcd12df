// Property exchange of the drawing files.
#include "model/property_exchange.h"

#include <string>
#include <utility>
#include <vector>

#include "frame/checked_files.h"
#include "frame/system_services.h"
#include "model/property_store.h"

TObjectNumberList* ObjectNumberList = nullptr;

void AllocObjectNumberList() {
  delete ObjectNumberList;
  ObjectNumberList = new TObjectNumberList();
}

void FreeObjectNumberList() {
  delete ObjectNumberList;
  ObjectNumberList = nullptr;
}

void AddObjectNumberToList(float z) {
  if (ObjectNumberList == nullptr) return;
  const int32_t n = DecodeObjectNumberFromZ(z);
  TObjectNumberList& list = *ObjectNumberList;
  if (n < 1 || list.count >= kObjectNumberListMax) return;
  for (int32_t i = 0; i < list.count; ++i)
    if (list.numbers[i] == n) return;
  list.numbers[list.count++] = n;
}

void CopyDrawingProperties(plat::TPasFile& file, int32_t start, int32_t end, bool append) {
  const int32_t size = GetFileSizeChecked(file);
  if (start < 0) start = 0;
  if (end > size) end = size;
  std::string bytes;
  if (end > start) {
    bytes.resize(end - start);
    plat::Seek(file, start);
    CheckIoResult();
    const int32_t got = ReadBlockLongChecked(file, bytes.data(), end - start);
    bytes.resize(got > 0 ? got : 0);
  }
  const char* target = append ? kPropertyAppendName : kPropertyStoreName;
  if (!append && TestPlainFileExists(kPropertyStoreName)) MoveFileChecked(kPropertyStoreName, kPropertyBackupName);
  TFileRec out;
  AssignFileChecked(out, target);
  RewriteFileChecked(out, 1);
  if (out.state == plat::kFileClosed || out.state == plat::kFileUnassigned) return;
  if (!bytes.empty()) WriteBlockLongChecked(out, bytes.data(), static_cast<int32_t>(bytes.size()));
  CloseFileChecked(out);
  if (!append) return;
  // Merge the objects of the section into the store.
  std::vector<std::pair<int32_t, std::string>> objects;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t lineEnd = bytes.find('\n', pos);
    if (lineEnd == std::string::npos) lineEnd = bytes.size();
    std::string line = bytes.substr(pos, lineEnd - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = lineEnd + 1;
    int16_t code = 1;
    const bool objectLine = line.size() >= 2 && line[0] == '#';
    const int32_t n = objectLine ? ParseIntegerValue(line.substr(1, 6), code) : -1;
    if (objectLine && code == 0) {
      objects.emplace_back(n, std::string());
    } else if (!objects.empty() && objects.back().second.empty()) {
      objects.back().second = line.substr(0, kPropertyLineMax);
    }
  }
  for (const auto& [n, text] : objects) {
    if (n < 1 || n > kHighestObjectNumber) continue;
    TPropertyLines existing;
    ReadObjectPropertyLine(n, existing);
    const int32_t newNumber = existing.line.empty() ? n : GetNextObjectNumber();
    if (ObjectNumberList != nullptr && ObjectNumberList->count < kObjectNumberListMax) {
      ObjectNumberList->numbers[ObjectNumberList->count] = n;
      ObjectNumberList->replacements[ObjectNumberList->count] = newNumber;
      ++ObjectNumberList->count;
    }
    WriteObjectProperties(newNumber, TPropertyLines{text});
  }
}
