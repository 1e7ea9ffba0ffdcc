// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target over the inputs named on the command line, for builds without libFuzzer:
// each argument is a file (one input) or a folder (each regular file in it, in name order, is
// one input). The name of each input is printed before it runs, so a crash names its input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(const fs::path &argument) {
  std::error_code error;
  if (!fs::is_directory(argument, error)) return {argument};
  std::vector<fs::path> files;
  for (const fs::directory_entry &entry : fs::directory_iterator(argument, error))
    if (entry.is_regular_file(error)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

bool RunOne(const fs::path &file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  std::fprintf(stderr, "input %s (%zu bytes)\n", file.c_str(), bytes.size());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;  // libFuzzer options are meaningless here
    for (const fs::path &file : Inputs(argv[i])) {
      if (!RunOne(file)) return 1;
      ++count;
    }
  }
  if (count == 0) {
    std::fprintf(stderr, "no inputs\n");
    return 1;
  }
  std::fprintf(stderr, "%zu inputs ran without a fault\n", count);
  return 0;
}
