#pragma once
// Loads a road's ground on a worker thread, so that a large terrain neither
// freezes the window nor has to be waited for: the window reads the share
// done while it loads and may cancel it. Plain C++; the frame turns the
// finished load into a message on the window thread.
//
// One load at a time: starting another cancels the one under way, whose
// result is then never delivered. Every load carries a number, and the
// window takes a result only when its number is the latest.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

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
  /// Cancels a load under way and waits for its thread.
  ~CGroundLoader();
  CGroundLoader(const CGroundLoader&) = delete;
  CGroundLoader& operator=(const CGroundLoader&) = delete;

  void setLoadFunction(LoadFunction load) { load_ = std::move(load); }

  /// Starts loading what `settings` name (paths relative to `roadFolder`),
  /// cancelling a load under way. Returns the new load's number.
  std::uint64_t start(const RoadTerrainSettings& settings, const std::string& roadFolder, Finished finished);
  /// Cancels the load under way; it ends at its next progress report with
  /// `cancelled` set.
  void cancel();
  /// True from start until the load's result has been handed on.
  bool running() const { return running_.load(); }
  /// The share of the load under way that is done, 0 to 1.
  double progress() const { return progress_.load(); }
  /// The number of the latest load started (0 before the first).
  std::uint64_t latest() const { return latest_.load(); }
  /// Waits for the worker thread to end (tests; the window never waits).
  void wait();

 private:
  struct Run {
    std::atomic<bool> cancel{false};
  };

  LoadFunction load_;
  std::mutex mutex_;  // guards thread_ and run_ against start/cancel/wait racing
  std::thread thread_;
  std::shared_ptr<Run> run_;
  std::atomic<bool> running_{false};
  std::atomic<double> progress_{0};
  std::atomic<std::uint64_t> latest_{0};
};

}  // namespace trazmark
