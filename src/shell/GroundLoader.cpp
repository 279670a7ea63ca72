#include "shell/GroundLoader.h"

#include <algorithm>
#include <cmath>

namespace trazmark {

CGroundLoader::CGroundLoader()
    : load_([](CRoadGround& ground, const RoadTerrainSettings& settings, const std::string& roadFolder,
               std::string& error, const LoadProgress& progress) {
        return ground.load(settings, roadFolder, error, progress);
      }) {}

CGroundLoader::~CGroundLoader() {
  // A load ended by the destructor is stale: nobody is left to tell.
  latest_.fetch_add(1);
  cancel();
  wait();
}

std::uint64_t CGroundLoader::start(const RoadTerrainSettings& settings, const std::string& roadFolder,
                                   Finished finished) {
  std::lock_guard<std::mutex> lock(mutex_);
  // The new number first, so that the load under way knows itself stale and
  // stays silent; it is cancelled and its thread ended before the new one
  // starts, so that at most one terrain is in memory twice (the shown one
  // and the new one).
  const std::uint64_t number = latest_.fetch_add(1) + 1;
  if (run_) run_->cancel.store(true);
  if (thread_.joinable()) thread_.join();
  auto run = std::make_shared<Run>();
  run_ = run;
  progress_.store(0);
  running_.store(true);
  thread_ = std::thread([this, run, number, settings, roadFolder, finished = std::move(finished)] {
    GroundLoadResult result;
    result.number = number;
    auto ground = std::make_shared<CRoadGround>();
    const LoadProgress progress = [this, run](double fraction) {
      if (std::isfinite(fraction)) progress_.store(std::clamp(fraction, 0.0, 1.0));
      return !run->cancel.load();
    };
    std::string error;
    const bool loaded = load_(*ground, settings, roadFolder, error, progress);
    if (run->cancel.load()) {
      result.cancelled = true;
    } else if (loaded) {
      result.ground = std::move(ground);
      progress_.store(1);
    } else {
      result.error = error;
    }
    // A load that a newer one replaced says nothing: its result is stale.
    const bool superseded = latest_.load() != number;
    if (!superseded && finished) finished(std::move(result));
    if (!superseded) running_.store(false);
  });
  return number;
}

void CGroundLoader::cancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (run_) run_->cancel.store(true);
}

void CGroundLoader::wait() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (thread_.joinable()) thread_.join();
}

}  // namespace trazmark
