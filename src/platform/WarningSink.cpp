#include "platform/WarningSink.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace trazmark {
namespace {

std::mutex& sinkMutex() {
  static std::mutex m;
  return m;
}

WarningSink& currentSink() {
  static WarningSink sink;
  return sink;
}

}  // namespace

WarningSink setWarningSink(WarningSink sink) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  return std::exchange(currentSink(), std::move(sink));
}

void showWarning(const std::string& text, const std::string& caption) {
  WarningSink sink;
  {
    std::lock_guard<std::mutex> lock(sinkMutex());
    sink = currentSink();
  }
  if (sink) {
    sink(text, caption);
  } else {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
}

}  // namespace trazmark
