// libFuzzer target: the contour offset chain (OffsetContours of offset_inputs.h):
// point reduction, offset engine, result writer, piece joiner.
#include "fuzz_inputs.h"
#include "offset_inputs.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzinput::StartFuzzTarget(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzinput::StartFuzzInput();
  fuzzinput::OffsetContours(data, size);
  return 0;
}
