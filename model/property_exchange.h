// Property exchange of the drawing files: the property section of a ".SLD"
// becomes the object property store, or is merged into it object by object,
// and the object-number list records which object numbers were taken and
// which new numbers replace them.
#pragma once

#include <cstdint>

#include "platform/files.h"

// The object-number list: a count, up to 5000 object numbers and as many
// replacement numbers. One list at a time.
constexpr int32_t kObjectNumberListMax = 5000;
struct TObjectNumberList {
  int32_t count = 0;
  int32_t numbers[kObjectNumberListMax] = {};
  int32_t replacements[kObjectNumberListMax] = {};
};
extern TObjectNumberList* ObjectNumberList;
void AllocObjectNumberList();
void FreeObjectNumberList();
// Adds the object number of a contour-start z (skipped: none, listed, list full).
void AddObjectNumberToList(float z);
// The bytes start..end of the open drawing become the store (append false)
// or are merged into it object by object with new numbers where taken.
void CopyDrawingProperties(plat::TPasFile& file, int32_t start, int32_t end, bool append);
