// TEMPORARY STAND-IN: see machining_services_standin.h.
#include "paths/machining_services_standin.h"

#include <cstring>
#include <vector>

#include "frame/defaults.h"
#include "frame/param_file.h"

bool HasDefinedTools(int16_t n) {
  constexpr int kTools = 200;
  std::vector<TToolRecord> table(kTools);
  GetParamBlock(15, table.data(), uint16_t(sizeof(TToolRecord) * kTools));
  TToolRecord empty;
  memset(&empty, 0, sizeof empty);
  for (int i = 0; i <= n && i < kTools; ++i)
    if (memcmp(&table[i], &empty, sizeof empty) != 0) return true;
  return false;
}
