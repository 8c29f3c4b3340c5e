// A fixture for tests that touch the file system or the environment: a fresh
// folder of its own (made with mkdtemp, never a fixed path) as the working
// directory, and every environment variable it changes put back afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

namespace tf::test {

class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "tf-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
    m_oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
  }
  void TearDown() override {
    for (const auto& [name, value] : m_savedEnv) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
    std::filesystem::current_path(m_oldCwd);
    std::error_code ignored;
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_dir, ignored);
  }

  const std::filesystem::path& Dir() const { return m_dir; }

  // Writes `bytes` to `p` (relative to the scratch folder), making folders.
  std::string Write(const std::filesystem::path& p, const std::string& bytes) {
    const auto full = p.is_absolute() ? p : m_dir / p;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
    return full.string();
  }

  // Sets (or, with nullopt, unsets) a variable until the test ends.
  void SetEnv(const std::string& name, const std::optional<std::string>& value) {
    if (!m_savedEnv.count(name)) {
      const char* old = std::getenv(name.c_str());
      m_savedEnv[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) ::setenv(name.c_str(), value->c_str(), 1);
    else ::unsetenv(name.c_str());
  }

 private:
  std::filesystem::path m_dir, m_oldCwd;
  std::map<std::string, std::optional<std::string>> m_savedEnv;
};

}  // namespace tf::test
