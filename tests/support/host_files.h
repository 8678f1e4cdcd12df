// Whole host files read and written as bytes, for setting up the files a
// test hands to the program and reading back what it wrote.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace torvtest {

// The file's bytes; empty when it cannot be read.
inline std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the file with the bytes.
inline void WriteHostFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace torvtest
