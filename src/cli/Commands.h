#pragma once
#include <string>
#include <vector>

namespace trazmark::cli {

/// `plan FILE -o PLAN.png [--size WxH]`: the plan map drawn offscreen.
int cmdPlan(const std::vector<std::string>& args);

}  // namespace trazmark::cli
