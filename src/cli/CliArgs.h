#pragma once
// A small argument reader for trazmark-cli: positional arguments and options
// with values, checked up front so every mistake gives one clear line.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trazmark::cli {

class CliArgs {
 public:
  /// @param valueOptions options that take a value ("--interval", "-o");
  ///   `repeatable` ones may be given more than once.
  /// @param flagOptions options without a value.
  CliArgs(std::vector<std::string> args, std::vector<std::string> valueOptions,
          std::vector<std::string> repeatable = {}, std::vector<std::string> flagOptions = {});

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  const std::vector<std::string>& positional() const { return positional_; }
  std::optional<std::string> value(const std::string& option) const;
  std::vector<std::string> values(const std::string& option) const;
  bool has(const std::string& option) const;

  /// A finite number from an option, or `fallback` when absent; sets the
  /// error when the text is not a number.
  double number(const std::string& option, double fallback);

 private:
  std::vector<std::string> positional_;
  std::multimap<std::string, std::string> options_;
  std::string error_;
};

/// Parses a finite decimal number written with a dot; false when the whole
/// text is not one.
bool parseNumber(const std::string& text, double& value);

}  // namespace trazmark::cli
