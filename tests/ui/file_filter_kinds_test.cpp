// The filters of every data kind, compared with the recorded list in
// tests/fixtures/ui/file_filters.txt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ui/file_dialogs.h"

namespace {

const std::string kGolden = std::string(TORV_FIXTURES_DIR) + "/ui/file_filters.txt";

// Bytes outside printable ASCII (and the backslash) as \xHH.
std::string Escaped(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

// One line per kind and extension: kind, extension, filter, accepted
// extensions and the preview switch, separated by tabs. The kinds run past
// both ends of the list; the extensions are the ones a kind treats apart.
std::vector<std::string> FilterLines() {
  std::vector<std::string> lines;
  for (int kind = -2; kind <= 30; ++kind) {
    for (const char* ext : {"", ".*", ".SLD", ".sld", ".STL", ".HRS", ".DXF", ".NC", ".jpeg"}) {
      const TFileFilter f = BuildFileFilter(kind, ext);
      std::ostringstream line;
      line << kind << '\t' << Escaped(ext) << '\t' << Escaped(f.filter) << '\t' << Escaped(f.accepted) << '\t'
           << (f.preview ? "preview" : "-") << '\t' << (IsPreviewKind(kind, ext) ? "preview" : "-");
      lines.push_back(line.str());
    }
  }
  return lines;
}

TEST(FileFilterKinds, EveryKindGivesTheRecordedFilter) {
  const std::vector<std::string> actual = FilterLines();
  if (std::getenv("TORV_RECORD_GOLDENS") != nullptr) {
    std::ofstream out(kGolden, std::ios::binary);
    for (const std::string& line : actual) out << line << "\n";
  }
  std::ifstream in(kGolden);
  ASSERT_TRUE(in) << kGolden;
  std::vector<std::string> expected;
  for (std::string line; std::getline(in, line);) expected.push_back(line);
  ASSERT_EQ(expected.size(), actual.size()) << kGolden;
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(expected[i], actual[i]);
}

}  // namespace
