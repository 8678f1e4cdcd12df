// libFuzzer target: ReadPackedRelief of fuzz_inputs.h.
#include <stdlib.h>

#include <string>

#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/torv_fuzz_XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 0;
  setenv("TORV_VIDEO", "headless", 1);
  plat::SetCurrentFolder(plat::DosPathOf(pattern));
  fuzzinput::PrepareReaders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzinput::ReadPackedRelief(data, size);
  return 0;
}
