#include "cli/CliArgs.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace trazmark::cli {

bool parseNumber(const std::string& text, double& value) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end && begin != end && std::isfinite(value);
}

CliArgs::CliArgs(std::vector<std::string> args, std::vector<std::string> valueOptions,
                 std::vector<std::string> repeatable, std::vector<std::string> flagOptions) {
  auto contains = [](const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // A lone "-" or a negative number is a positional argument (stations may be negative).
    double ignored;
    bool isOption = a.size() > 1 && a[0] == '-' && !parseNumber(a, ignored);
    if (!isOption) {
      positional_.push_back(a);
      continue;
    }
    std::string name = a;
    std::string inlineValue;
    bool hasInline = false;
    if (std::size_t eq = a.find('='); eq != std::string::npos && a.rfind("--", 0) == 0) {
      name = a.substr(0, eq);
      inlineValue = a.substr(eq + 1);
      hasInline = true;
    }
    if (contains(flagOptions, name)) {
      // "--prismoidal=no" would otherwise switch the flag on.
      if (hasInline) {
        error_ = "option '" + name + "' takes no value";
        return;
      }
      options_.emplace(name, "");
      continue;
    }
    if (!contains(valueOptions, name)) {
      error_ = "unknown option '" + name + "'";
      return;
    }
    if (!contains(repeatable, name) && options_.count(name)) {
      error_ = "option '" + name + "' given twice";
      return;
    }
    if (hasInline) {
      options_.emplace(name, inlineValue);
    } else if (i + 1 < args.size()) {
      options_.emplace(name, args[++i]);
    } else {
      error_ = "option '" + name + "' needs a value";
      return;
    }
  }
}

std::optional<std::string> CliArgs::value(const std::string& option) const {
  auto it = options_.find(option);
  if (it == options_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> CliArgs::values(const std::string& option) const {
  std::vector<std::string> out;
  auto [b, e] = options_.equal_range(option);
  for (auto it = b; it != e; ++it) out.push_back(it->second);
  return out;
}

bool CliArgs::has(const std::string& option) const { return options_.count(option) > 0; }

double CliArgs::number(const std::string& option, double fallback) {
  auto text = value(option);
  if (!text) return fallback;
  double v = 0;
  if (!parseNumber(*text, v)) {
    if (error_.empty()) error_ = "option '" + option + "': '" + *text + "' is not a number";
    return fallback;
  }
  return v;
}

}  // namespace trazmark::cli
