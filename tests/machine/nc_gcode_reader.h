// Runs a script of tests/gcode/ (on the npm package gcode-toolpath, installed
// into the build folder by the ctest step "gcode_reader_install") and
// collects what it prints.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace nctest {

struct TGcodeScriptRun {
  int exitCode = -1;  // -1 when node could not be started or did not exit
  std::string out;
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
  }
};

// node tests/gcode/SCRIPT ARGS...; stderr goes to errFile, or into the
// output when errFile is empty.
inline TGcodeScriptRun RunGcodeScript(const std::string& script, const std::vector<std::string>& args,
                                      const std::filesystem::path& errFile = {}) {
  TGcodeScriptRun run;
  const std::filesystem::path modules = std::filesystem::path(TORV_BINARY_DIR) / "gcode" / "node_modules";
  EXPECT_TRUE(std::filesystem::exists(modules / "gcode-toolpath"))
      << "gcode-toolpath is not installed: run the ctest step gcode_reader_install (npm ci)";
  std::string command = "NODE_PATH='" + modules.string() + "' node '" +
                        (std::filesystem::path(TORV_SOURCE_DIR) / "tests" / "gcode" / script).string() + "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += errFile.empty() ? std::string(" 2>&1") : " 2>'" + errFile.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "node could not be started";
    return run;
  }
  char buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace nctest
