// The default bytes of every parameter block, compared byte for byte with the
// recorded image in tests/fixtures/params/param_defaults.hex.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frame/param_file.h"
#include "frame/system_services.h"
#include "machine/nc_settings.h"
#include "model/layer_files.h"
#include "platform/files.h"
#include "support/work_folder.h"

namespace {

const std::string kGolden = std::string(TORV_FIXTURES_DIR) + "/params/param_defaults.hex";

// The folder names in the defaults depend on where the test runs; the work
// folder's name has a fixed length and stands in the golden as this text.
std::string FolderPlaceholder(size_t length) {
  const std::string mark = "<work folder>";
  std::string s;
  while (s.size() < length) s += mark;
  s.resize(length);
  return s;
}

// The bytes of a block (the head for -1) with every copy of folder replaced
// by the placeholder.
std::vector<uint8_t> BlockBytes(int16_t block, const std::string& folder) {
  const int32_t from = GetParamBlockOffset(block);
  const int32_t to = block == kParamHeadBlock ? kParamHeadSize : GetParamBlockOffset(static_cast<int16_t>(block + 1));
  std::string bytes(reinterpret_cast<const char*>(ParamImage->bytes) + from, static_cast<size_t>(to - from));
  const std::string placeholder = FolderPlaceholder(folder.size());
  for (size_t at = bytes.find(folder); at != std::string::npos; at = bytes.find(folder, at + folder.size())) {
    bytes.replace(at, folder.size(), placeholder);
  }
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

struct TGoldenBlock {
  std::string name;  // "variant V block B"
  std::vector<uint8_t> bytes;
};

// One block per section: "# variant V block B", then hex bytes, with "0*N"
// for a run of N zeros, 32 items a line.
std::string FormatBlock(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ostringstream out;
  out << "# " << name << "\n";
  int items = 0;
  for (size_t i = 0; i < bytes.size();) {
    size_t run = 0;
    while (i + run < bytes.size() && bytes[i + run] == 0) ++run;
    char item[32];
    if (run >= 4) {
      std::snprintf(item, sizeof item, "0*%zu", run);
      i += run;
    } else {
      std::snprintf(item, sizeof item, "%02x", bytes[i]);
      ++i;
    }
    out << (items % 32 == 0 ? "" : " ") << item;
    if (++items % 32 == 0) out << "\n";
  }
  if (items % 32 != 0) out << "\n";
  return out.str();
}

// Reads sections written by FormatBlock.
std::vector<TGoldenBlock> ParseSections(std::istream& in) {
  std::vector<TGoldenBlock> blocks;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("# variant", 0) == 0) {
      blocks.push_back({line.substr(2), {}});
      continue;
    }
    if (line.empty() || line[0] == '#' || blocks.empty()) continue;
    std::istringstream items(line);
    std::string item;
    while (items >> item) {
      if (item.rfind("0*", 0) == 0) {
        blocks.back().bytes.insert(blocks.back().bytes.end(), std::stoul(item.substr(2)), 0);
      } else {
        blocks.back().bytes.push_back(static_cast<uint8_t>(std::stoul(item, nullptr, 16)));
      }
    }
  }
  return blocks;
}

// The defaults of every block for one program variant, as golden sections:
// all blocks for the usual variant, the blocks with variant-dependent bytes
// (0 and 3) for the others.
std::vector<TGoldenBlock> MakeDefaults(int variant) {
  VariantNumber = static_cast<int16_t>(variant);
  HighestLayer = 3;
  FillParamDefaults();
  // The NC settings block is written by its own module; written here as well
  // so that the image is whole however the start sequence reaches it.
  WriteNcSettingsDefaults();
  const std::string folder = plat::CurrentFolder();
  std::vector<TGoldenBlock> blocks;
  for (int b = kParamHeadBlock; b < kParamBlockCount; ++b) {
    if (variant != 0 && b != 0 && b != 3) continue;
    blocks.push_back({"variant " + std::to_string(variant) + " block " + std::to_string(b),
                      BlockBytes(static_cast<int16_t>(b), folder)});
  }
  return blocks;
}

class ParamDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work_.Entered());
    savedVariant_ = VariantNumber;
    savedHighest_ = HighestLayer;
    savedImage_ = ParamImage;
    ParamImage = new TParameterImage;
  }
  void TearDown() override {
    delete ParamImage;
    ParamImage = savedImage_;
    VariantNumber = savedVariant_;
    HighestLayer = savedHighest_;
  }

  torvtest::TWorkFolder work_;
  int16_t savedVariant_ = 0;
  uint8_t savedHighest_ = 0;
  TParameterImage* savedImage_ = nullptr;
};

TEST_F(ParamDefaultsTest, EveryBlockMatchesTheRecordedBytes) {
  std::vector<TGoldenBlock> written;
  for (int variant : {0, 7, 12, 18}) {
    for (TGoldenBlock& b : MakeDefaults(variant)) written.push_back(std::move(b));
  }
  if (std::getenv("TORV_RECORD_GOLDENS") != nullptr) {
    std::ofstream out(kGolden, std::ios::binary);
    out << "# The parameter defaults as FillParamDefaults writes them; see README.md.\n";
    for (const TGoldenBlock& b : written) out << FormatBlock(b.name, b.bytes);
  }
  std::ifstream in(kGolden);
  ASSERT_TRUE(in) << kGolden;
  const std::vector<TGoldenBlock> expected = ParseSections(in);
  ASSERT_EQ(expected.size(), written.size()) << "sections in " << kGolden;
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(expected[i].name, written[i].name);
    ASSERT_EQ(expected[i].bytes.size(), written[i].bytes.size()) << expected[i].name;
    for (size_t at = 0; at < expected[i].bytes.size(); ++at) {
      EXPECT_EQ(int(expected[i].bytes[at]), int(written[i].bytes[at])) << expected[i].name << " byte " << at;
    }
  }
}

}  // namespace
