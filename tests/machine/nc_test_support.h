// A writer state for the NC output tests: default settings, the given
// dialect and its block numbering start and limit.
#pragma once

#include <memory>

#include "machine/nc_blocks.h"
#include "machine/nc_settings.h"
#include "machine/nc_writer_state.h"

namespace nctest {

inline std::unique_ptr<TNcWriterState> MakeState(int dialect, int16_t numbering = 0) {
  auto st = std::make_unique<TNcWriterState>();
  MakeNcSettingsDefaults(st->Machine, "C:\\");
  st->Machine.BlockNumbering = numbering;
  st->Dialect = static_cast<uint8_t>(dialect);
  st->BlockNumber = GetNcBlockNumberStart(dialect);
  st->BlockNumberLimit = GetNcBlockNumberLimit(dialect);
  return st;
}

// The buffered text (nothing flushed).
inline std::string Buffered(const TNcWriterState& st) {
  return std::string(reinterpret_cast<const char*>(st.OutBuffer), st.OutCount);
}

// The buffered blocks, each line end shown as "|".
inline std::string Lines(const TNcWriterState& st) {
  const std::string t = Buffered(st);
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t.compare(i, 2, "\r\n") == 0) {
      out += '|';
      ++i;
    } else {
      out += t[i];
    }
  }
  return out;
}

}  // namespace nctest
