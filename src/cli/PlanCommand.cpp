#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"

namespace trazmark::cli {

#ifndef TRAZMARK_WITH_MAPS
int cmdPlan(const std::vector<std::string>&) {
  std::fprintf(stderr, "trazmark-cli: plan: this build has no map drawing (built without Qt)\n");
  return 1;
}
#endif

}  // namespace trazmark::cli
