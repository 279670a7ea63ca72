// trazmark-cli: computes an alignment without the window.
#include <cstdio>
#include <cstring>

namespace {

void printUsage(std::FILE* out) {
  std::fputs(
      "usage: trazmark-cli COMMAND [ARGS]\n"
      "  --help        show this text\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    printUsage(stdout);
    return argc < 2 ? 1 : 0;
  }
  std::fprintf(stderr, "trazmark-cli: unknown command '%s' (try --help)\n", argv[1]);
  return 2;
}
