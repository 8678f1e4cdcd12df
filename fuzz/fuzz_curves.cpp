// libFuzzer target: ConvertCurvesToLines on hostile vector files
// (ConvertCurveFile of curve_inputs.h).
#include "curve_inputs.h"
#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzinput::StartFuzzTarget(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzinput::StartFuzzInput();
  fuzzinput::ConvertCurveFile(data, size);
  return 0;
}
