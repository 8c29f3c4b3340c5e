// A fixture for tests that run the built titlefixer binary: a scratch
// working directory, files in it, and runs without a display and without
// the user's word list.
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

namespace tf::test {

inline const std::map<std::string, std::optional<std::string>> kNoDisplay = {
    {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt},
    {"QT_QPA_PLATFORM", std::nullopt}, {"XDG_CONFIG_HOME", "/nonexistent"}};

class BinaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("tf-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }
  std::string File(const std::string& name, const std::string& bytes) {
    const auto p = m_dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  ProcessResult Run(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), TF_BINARY);
    return RunProcess(args, input, kNoDisplay, m_dir.string());
  }
  std::filesystem::path m_dir;
};

}  // namespace tf::test
