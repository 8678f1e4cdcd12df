// Screenshots compared pixel for pixel with golden pictures kept under
// tests/fixtures/. With TORV_RECORD_GOLDENS=1 in the environment the shots
// are written as the goldens instead (look at them before keeping them).
#pragma once

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/program_runner.h"

namespace torvtest {

// Where two pictures differ: the count and the bounding box of the pixels.
struct TPictureDiff {
  int differing = 0;
  int x1 = 0, y1 = 0, x2 = -1, y2 = -1;  // both corners included; x2 < x1 when none
};

// Pictures of the same size compared pixel for pixel.
inline TPictureDiff ComparePictures(const TPicture& a, const TPicture& b) {
  TPictureDiff diff;
  diff.x1 = a.width;
  diff.y1 = a.height;
  for (int y = 0; y < std::min(a.height, b.height); ++y)
    for (int x = 0; x < std::min(a.width, b.width); ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      ++diff.differing;
      diff.x1 = std::min(diff.x1, x);
      diff.y1 = std::min(diff.y1, y);
      diff.x2 = std::max(diff.x2, x);
      diff.y2 = std::max(diff.y2, y);
    }
  if (diff.differing == 0) diff.x1 = diff.y1 = 0;
  return diff;
}

// Writes the picture as a compressed 8-bit RGB PNG through the system's zlib
// (the program's own shots are stored uncompressed, too big to keep).
inline bool WriteCompressedPng(const TPicture& pic, const fs::path& file) {
  using TCompress2 = int (*)(uint8_t*, unsigned long*, const uint8_t*, unsigned long, int);
  using TCompressBound = unsigned long (*)(unsigned long);
  using TCrc32 = unsigned long (*)(unsigned long, const uint8_t*, unsigned);
  void* zlib = dlopen("libz.so.1", RTLD_NOW);
  if (!zlib) return false;
  auto compress2 = reinterpret_cast<TCompress2>(dlsym(zlib, "compress2"));
  auto compressBound = reinterpret_cast<TCompressBound>(dlsym(zlib, "compressBound"));
  auto crc32 = reinterpret_cast<TCrc32>(dlsym(zlib, "crc32"));
  bool ok = compress2 && compressBound && crc32;
  std::string png("\x89PNG\r\n\x1A\n", 8);
  auto be32 = [](uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  auto chunk = [&](const char* type, const std::string& data) {
    const std::string body = type + data;
    png += be32(uint32_t(data.size())) + body +
           be32(uint32_t(crc32(0, reinterpret_cast<const uint8_t*>(body.data()), unsigned(body.size()))));
  };
  if (ok) {
    const size_t stride = size_t(pic.width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((stride + 1) * size_t(pic.height));
    for (int y = 0; y < pic.height; ++y) {
      raw.push_back(0);  // no row filter
      raw.insert(raw.end(), pic.rgb.begin() + long(stride * size_t(y)), pic.rgb.begin() + long(stride * size_t(y + 1)));
    }
    unsigned long packedLen = compressBound(raw.size());
    std::string packed(packedLen, '\0');
    ok = compress2(reinterpret_cast<uint8_t*>(packed.data()), &packedLen, raw.data(), raw.size(), 9) == 0;
    packed.resize(packedLen);
    chunk("IHDR", be32(uint32_t(pic.width)) + be32(uint32_t(pic.height)) + std::string("\x08\x02\0\0\0", 5));
    chunk("IDAT", packed);
    chunk("IEND", "");
  }
  dlclose(zlib);
  if (!ok) return false;
  std::ofstream out(file, std::ios::binary);
  out << png;
  return bool(out);
}

inline bool RecordingGoldens() {
  const char* record = std::getenv("TORV_RECORD_GOLDENS");
  return record != nullptr && std::string(record) == "1";
}

// The shots of one test against the goldens of one fixture folder. A shot
// that differs is kept under its golden's name in a temporary folder that
// outlives the test, so that it can be looked at or taken as the new golden.
class TGoldenShots {
 public:
  explicit TGoldenShots(fs::path goldenFolder) : goldens_(std::move(goldenFolder)) {}

  // Empty when the shot matches its golden (or was recorded as it); else
  // what differs.
  std::string Check(const fs::path& shot) {
    const fs::path golden = goldens_ / shot.filename();
    const std::string name = shot.filename().string();
    if (!fs::exists(shot)) return name + ": the program wrote no shot";
    const TPicture actual = ReadPng(shot);
    if (!actual.error.empty()) return name + ": " + actual.error;
    if (RecordingGoldens()) {
      std::error_code ec;
      fs::create_directories(goldens_, ec);
      return WriteCompressedPng(actual, golden) ? std::string() : name + ": cannot record " + golden.string();
    }
    if (!fs::exists(golden)) return Keep(shot) + name + ": no golden " + golden.string() + " (record with TORV_RECORD_GOLDENS=1)";
    const TPicture expected = ReadPng(golden);
    if (!expected.error.empty()) return name + ": golden " + expected.error;
    if (actual.width != expected.width || actual.height != expected.height)
      return Keep(shot) + name + ": " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
             " against a golden of " + std::to_string(expected.width) + "x" + std::to_string(expected.height);
    const TPictureDiff diff = ComparePictures(actual, expected);
    if (diff.differing == 0) return {};
    return Keep(shot) + name + ": " + std::to_string(diff.differing) + " pixels differ in (" + std::to_string(diff.x1) +
           ", " + std::to_string(diff.y1) + ") .. (" + std::to_string(diff.x2) + ", " + std::to_string(diff.y2) + ")";
  }

 private:
  // Copies the shot to the keep folder; returns where it went.
  std::string Keep(const fs::path& shot) {
    if (kept_.empty()) {
      char tmpl[] = "/tmp/torv_actualXXXXXX";
      if (char* made = mkdtemp(tmpl)) kept_ = made;
    }
    if (kept_.empty()) return "";
    std::error_code ec;
    fs::copy_file(shot, kept_ / shot.filename(), fs::copy_options::overwrite_existing, ec);
    return "[actual in " + kept_.string() + "] ";
  }

  fs::path goldens_;
  fs::path kept_;
};

// A program folder of a fixed name, for runs whose screens show the folder
// (file dialogs): an exclusive lock beside it keeps runs of other build trees
// out until this one is done. The folder starts empty but for the message
// file and is removed at the end.
class TFixedFolder {
 public:
  explicit TFixedFolder(const fs::path& path) : path_(path) {
    lock_ = open((path.string() + ".lock").c_str(), O_CREAT | O_RDWR, 0600);
    if (lock_ < 0 || flock(lock_, LOCK_EX) != 0) {
      path_.clear();
      return;
    }
    std::error_code ec;
    fs::remove_all(path_, ec);
    if (!fs::create_directories(path_, ec)) {
      path_.clear();
      return;
    }
    fs::copy_file(fs::path(TORV_BINARY_DIR) / "TORV.TX0", path_ / "TORV.TX0", ec);
  }
  ~TFixedFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
    if (lock_ >= 0) close(lock_);  // releases the lock
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
  int lock_ = -1;
};

}  // namespace torvtest
