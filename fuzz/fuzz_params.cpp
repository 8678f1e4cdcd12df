// libFuzzer target: the parameter file and the readers of its settings
// (ReadParamFile of param_inputs.h).
#include "fuzz_inputs.h"
#include "param_inputs.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzinput::StartFuzzTarget(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzinput::StartFuzzInput();
  fuzzinput::ReadParamFile(data, size);
  return 0;
}
