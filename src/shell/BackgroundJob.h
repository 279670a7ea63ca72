#pragma once
// Long work on a worker thread (the earthwork of a long road, its sheets),
// as the ground loader runs a terrain load: the window reads the share done
// while it runs and may cancel it. Plain C++; the frame turns the finished
// work into a message on the window thread.
//
// One job at a time: starting another cancels the one under way, whose
// result is then never delivered. Every job carries a number, and the window
// takes a result only when its number is the latest.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace trazmark {

template <class Value>
struct BackgroundResult {
  std::uint64_t number = 0;
  std::shared_ptr<const Value> value;  ///< null when the work failed or was cancelled
  bool cancelled = false;
  std::string error;  ///< a failure's one line
};

template <class Value>
class CBackgroundJob {
 public:
  /// Reports the share done (0 to 1); false asks the work to stop.
  using Progress = std::function<bool(double)>;
  /// The work: fills `value`, or returns false with a one-line `error`.
  using Work = std::function<bool(Value& value, std::string& error, const Progress& progress)>;
  /// Called on the worker thread when a job ends (not for one that a newer
  /// job or the destructor cancelled); it must only hand the result on.
  using Finished = std::function<void(BackgroundResult<Value>)>;

  CBackgroundJob() = default;
  /// Cancels a job under way and waits for its thread.
  ~CBackgroundJob() {
    latest_.fetch_add(1);
    cancel();
    wait();
  }
  CBackgroundJob(const CBackgroundJob&) = delete;
  CBackgroundJob& operator=(const CBackgroundJob&) = delete;

  /// Starts `work`, cancelling a job under way. Returns the new job's number.
  std::uint64_t start(Work work, Finished finished) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::uint64_t number = latest_.fetch_add(1) + 1;
    if (run_) run_->cancel.store(true);
    if (thread_.joinable()) thread_.join();
    auto run = std::make_shared<Run>();
    run_ = run;
    progress_.store(0);
    running_.store(true);
    thread_ =
        std::thread([this, run, number, work = std::move(work), finished = std::move(finished)] {
          BackgroundResult<Value> result;
          result.number = number;
          auto value = std::make_shared<Value>();
          const Progress progress = [this, run](double fraction) {
            if (std::isfinite(fraction)) progress_.store(std::clamp(fraction, 0.0, 1.0));
            return !run->cancel.load();
          };
          std::string error;
          const bool done = work(*value, error, progress);
          if (run->cancel.load()) {
            result.cancelled = true;
          } else if (done) {
            result.value = std::move(value);
            progress_.store(1);
          } else {
            result.error = error;
          }
          const bool superseded = latest_.load() != number;
          if (!superseded && finished) finished(std::move(result));
          if (!superseded) running_.store(false);
        });
    return number;
  }
  /// Cancels the job under way; it ends at its next progress report.
  void cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (run_) run_->cancel.store(true);
  }
  bool running() const { return running_.load(); }
  double progress() const { return progress_.load(); }
  std::uint64_t latest() const { return latest_.load(); }
  /// Waits for the worker thread to end (tests; the window never waits).
  void wait() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (thread_.joinable()) thread_.join();
  }

 private:
  struct Run {
    std::atomic<bool> cancel{false};
  };
  std::mutex mutex_;
  std::thread thread_;
  std::shared_ptr<Run> run_;
  std::atomic<bool> running_{false};
  std::atomic<double> progress_{0};
  std::atomic<std::uint64_t> latest_{0};
};

}  // namespace trazmark
