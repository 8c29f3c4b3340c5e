// A fixture for tests that run the built titlefixer binary: a scratch
// working directory, files in it, and runs without a display and without
// the user's configuration.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/process.h"
#include "tests/scratch.h"

namespace tf::test {

inline const std::map<std::string, std::optional<std::string>> kNoDisplay = {
    {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt},
    {"QT_QPA_PLATFORM", std::nullopt}, {"XDG_CONFIG_HOME", "/nonexistent"}};

class BinaryTest : public ScratchTest {
 protected:
  std::string File(const std::string& name, const std::string& bytes) { return Write(name, bytes); }
  ProcessResult Run(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), TF_BINARY);
    return RunProcess(args, input, kNoDisplay, Dir().string());
  }
};

}  // namespace tf::test
