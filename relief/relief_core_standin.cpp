// TEMPORARY STAND-IN for the quiet file wrappers of the relief core module.
#include "relief/relief_core_standin.h"

#include "frame/defaults.h"

uint16_t QuietIoError = 0;

// Fetches the pending result; on failure records it and sets the code.
static bool QuietFailed(TErrorCode code) {
  const int result = plat::IoResult();
  if (result == 0) return false;
  QuietIoError = static_cast<uint16_t>(result);
  ErrorCode = code;
  return true;
}

void ResetFileQuiet(plat::TPasFile& f, uint32_t recSize, uint8_t fileMode) {
  plat::IoResult();
  plat::gFileMode = fileMode;
  plat::Reset(f, recSize);
  plat::gFileMode = 2;
  QuietFailed(1001);
}

void RewriteFileQuiet(plat::TPasFile& f, uint32_t recSize) {
  plat::IoResult();
  plat::Rewrite(f, recSize);
  QuietFailed(1008);
}

void CloseFileQuiet(plat::TPasFile& f) {
  plat::IoResult();
  plat::Close(f);
  QuietFailed(1004);
}

void BlockReadQuiet(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count) {
  plat::IoResult();
  count = 0;
  uint32_t done = 0;
  plat::BlockRead(f, buffer, n, &done);
  count = QuietFailed(1011) ? 0 : done;
}

void BlockWriteQuiet(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count) {
  plat::IoResult();
  count = 0;
  uint32_t done = 0;
  plat::BlockWrite(f, buffer, n, &done);
  count = QuietFailed(1011) ? 0 : done;
}
