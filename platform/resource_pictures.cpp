// Resource pictures looked up by name in the resource table.
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/picture_codecs.h"

namespace plat {

bool FindTablePicture(const std::vector<uint8_t>& table, const std::string& name, size_t& begin, size_t& end) {
  constexpr size_t kHead = 11, kEntry = 44, kNameMax = 39;
  if (table.size() < kHead || name.empty() || name.size() > kNameMax) return false;
  int32_t n;
  std::memcpy(&n, table.data() + 7, 4);
  if (n < 0) return false;
  const uint64_t dataStart = kHead + uint64_t(kEntry) * uint64_t(n);
  if (dataStart + kEntry > table.size()) return false;
  std::string wanted = name;
  for (char& c : wanted) c = char(std::toupper(static_cast<unsigned char>(c)));
  for (int32_t i = 0; i < n; ++i) {
    const uint8_t* entry = table.data() + kHead + kEntry * size_t(i);
    const size_t length = entry[0];
    if (length != wanted.size() || std::memcmp(entry + 1, wanted.data(), length) != 0) continue;
    int32_t from, to;
    std::memcpy(&from, entry + 40, 4);
    std::memcpy(&to, entry + kEntry + 40, 4);
    if (from < 0 || to < from || dataStart + uint64_t(to) > table.size()) return false;
    begin = size_t(dataStart) + size_t(from);
    end = size_t(dataStart) + size_t(to);
    return true;
  }
  return false;
}

namespace {

// The table is read once and kept while its file stays the same: menus and
// icon bars draw dozens of pictures per redraw.
struct TResourceCache {
  std::string hostPath;
  std::uintmax_t size = 0;
  std::filesystem::file_time_type written{};
  std::vector<uint8_t> bytes;
  bool valid = false;
};

const std::vector<uint8_t>* ResourceTable() {
  static TResourceCache cache;
  const std::string hostPath = HostPathOf(ProgramFolder() + kResourceFileName);
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(hostPath, error);
  if (error) {
    cache.valid = false;
    return nullptr;
  }
  const auto written = std::filesystem::last_write_time(hostPath, error);
  if (error) {
    cache.valid = false;
    return nullptr;
  }
  if (!cache.valid || cache.hostPath != hostPath || cache.size != size || cache.written != written) {
    cache.valid = ReadFileBytes(hostPath, cache.bytes);
    cache.hostPath = hostPath;
    cache.size = size;
    cache.written = written;
  }
  return cache.valid ? &cache.bytes : nullptr;
}

}  // namespace

bool LoadResourcePicture(const std::string& name, TPixelBlock& out) {
  out = TPixelBlock{};
  const std::vector<uint8_t>* found = ResourceTable();
  if (found == nullptr) return false;
  const std::vector<uint8_t>& table = *found;
  size_t begin = 0, end = 0;
  if (!FindTablePicture(table, name, begin, end)) return false;
  TDecodedPicture picture;
  if (!DecodeBmp(std::vector<uint8_t>(table.begin() + std::ptrdiff_t(begin), table.begin() + std::ptrdiff_t(end)),
                 picture))
    return false;
  out.width = picture.width;
  out.height = picture.height;
  out.pixels.resize(size_t(picture.width) * size_t(picture.height));
  for (size_t i = 0; i < out.pixels.size(); ++i) {
    const uint8_t* rgb = picture.indexed ? picture.palette.data() + 3 * size_t(picture.pixels[i]) : picture.pixels.data() + 3 * i;
    out.pixels[i] = uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | uint32_t(rgb[2]);
  }
  return true;
}

}  // namespace plat
