// Runs a program with the given standard input and environment changes and
// collects what it printed; shared by the tests that drive binaries.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tf::test {

struct ProcessResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// `env` entries with a value set the variable, entries with nullopt unset it.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input,
                         const std::map<std::string, std::optional<std::string>>& env = {},
                         const std::string& cwd = {});

}  // namespace tf::test
