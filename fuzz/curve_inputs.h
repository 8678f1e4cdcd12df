// One input of the curve conversion, shared by the libFuzzer target and the
// corpus replay test. The first byte chooses the options (bits 0-1) and the
// curve points per span (bits 2-7, plus one); the rest is taken as a vector
// file and converted. The run must end with whole records in the output.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/defaults.h"
#include "fuzz_inputs.h"
#include "platform/files.h"
#include "view/curves_to_lines.h"
#include "view/screen_scheme.h"

namespace fuzzinput {

// True when the conversion wrote records.
inline bool ConvertCurveFile(const uint8_t* data, size_t size) {
  if (size < 1) return false;
  const uint8_t saved = CurvePointCount;
  CurvePointCount = uint8_t(1 + (data[0] >> 2));
  WriteInput("FUZZ.LG1", data + 1, size - 1);
  const int64_t written = ConvertCurvesToLines("FUZZ.LG1", "FUZZOUT.TMP", 7, uint8_t(data[0] & 3));
  CurvePointCount = saved;
  ErrorCode = 0;
  return written > 0;
}

}  // namespace fuzzinput
