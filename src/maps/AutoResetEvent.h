#pragma once
// An event that lets exactly one wait through per signal and then resets
// itself, so that several wakes in a row give at most one pending redraw.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace trazmark {

class AutoResetEvent {
 public:
  explicit AutoResetEvent(bool signalled = false) : signalled_(signalled) {}

  void set() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      signalled_ = true;
    }
    cv_.notify_one();
  }

  void reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = false;
  }

  /// Waits until signalled and consumes the signal.
  void wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
  }

  /// Waits at most `timeout`; returns whether the signal was consumed.
  bool waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
    signalled_ = false;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_;
};

}  // namespace trazmark
