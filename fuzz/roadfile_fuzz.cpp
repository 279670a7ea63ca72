// Feeds arbitrary bytes to the road file reader. Whatever it reads must write
// out as a road file that reads back and writes again byte for byte the same:
// the first write settles every rounding and every dropped item, so any later
// difference means the file loses or changes data on a plain open and save.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/InputRoadLibrary.h"

using namespace trazmark;

namespace {

// One private folder per fuzzing process, reused for every input.
struct Scratch {
  std::string folder;
  std::string input, first, second;

  Scratch() {
    // In memory when it can be: every save is flushed to disk.
    std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    pattern += "/trazmark-roadfile-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    folder = pattern;
    input = folder + "/input.REC";
    first = folder + "/first.REC";
    second = folder + "/second.REC";
  }
  ~Scratch() {
    std::remove(input.c_str());
    std::remove(first.c_str());
    std::remove(second.c_str());
    rmdir(folder.c_str());
  }
};

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  if (std::fclose(f) != 0) std::abort();
}

std::string readBytes(const std::string& path) {
  std::string bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) std::abort();
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Scratch scratch;
  writeBytes(scratch.input, data, size);

  CInputRoadLibrary road;
  if (!road.readRoadFile(scratch.input)) return 0;
  if (!road.writeRoadFile(scratch.first)) std::abort();

  CInputRoadLibrary again;
  if (!again.readRoadFile(scratch.first)) {
    std::fputs("roadfile_fuzz: a written road file does not read back\n", stderr);
    std::abort();
  }
  if (!again.writeRoadFile(scratch.second)) std::abort();
  if (readBytes(scratch.first) != readBytes(scratch.second)) {
    std::fputs("roadfile_fuzz: the second write differs from the first\n", stderr);
    std::abort();
  }
  return 0;
}
