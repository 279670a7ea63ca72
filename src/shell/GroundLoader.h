#pragma once
// Loads a road's ground on a worker thread, so that a large terrain neither
// freezes the window nor has to be waited for: the window reads the share
// done while it loads and may cancel it. Plain C++; the frame turns the
// finished load into a message on the window thread.
//
// One load at a time: starting another cancels the one under way, whose
// result is then never delivered. Every load carries a number, and the
// window takes a result only when its number is the latest.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "shell/BackgroundJob.h"
#include "terrain/RoadGround.h"

namespace trazmark {

/// What a load ended with.
struct GroundLoadResult {
  std::uint64_t number = 0;                     ///< the load's number (see start)
  std::shared_ptr<const CRoadGround> ground;    ///< the ground; null when the load failed or was cancelled
  bool cancelled = false;
  std::string error;                            ///< a failure's one line, naming the file
};

class CGroundLoader {
 public:
  /// Called on the worker thread when a load ends (not for a load that a
  /// newer one or the destructor cancelled); it must only hand the result on.
  using Finished = std::function<void(GroundLoadResult)>;
  /// The load itself, replaceable by tests: CRoadGround::load by default.
  using LoadFunction = std::function<bool(CRoadGround& ground, const RoadTerrainSettings& settings,
                                          const std::string& roadFolder, std::string& error,
                                          const LoadProgress& progress)>;

  CGroundLoader();
  CGroundLoader(const CGroundLoader&) = delete;
  CGroundLoader& operator=(const CGroundLoader&) = delete;

  void setLoadFunction(LoadFunction load) { load_ = std::move(load); }

  /// Starts loading what `settings` name (paths relative to `roadFolder`),
  /// cancelling a load under way. Returns the new load's number.
  std::uint64_t start(const RoadTerrainSettings& settings, const std::string& roadFolder, Finished finished);
  /// Cancels the load under way; it ends at its next progress report with
  /// `cancelled` set.
  void cancel() { job_.cancel(); }
  /// True from start until the load's result has been handed on.
  bool running() const { return job_.running(); }
  /// The share of the load under way that is done, 0 to 1.
  double progress() const { return job_.progress(); }
  /// The number of the latest load started (0 before the first).
  std::uint64_t latest() const { return job_.latest(); }
  /// Waits for the worker thread to end (tests; the window never waits).
  void wait() { job_.wait(); }

 private:
  LoadFunction load_;
  // Declared last, so that its thread ends (the destructor cancels and waits)
  // before anything it might use.
  CBackgroundJob<CRoadGround> job_;
};

}  // namespace trazmark
