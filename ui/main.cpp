#include <cstdio>

#include "cli/cli.h"

int main(int argc, char** argv) {
  if (tf::cli::WantsCommandLine(argc, argv)) return tf::cli::Run(argc, argv);
  std::fputs(tf::cli::Usage(), stderr);
  return 2;
}
