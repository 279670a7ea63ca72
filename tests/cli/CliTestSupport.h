#pragma once
// What the command-line tests share: a scratch folder of their own for each
// test, and a run of the built trazmark-cli with its output, its error
// stream and its exit code.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace trazmark::test {

inline constexpr const char* kCliProgram = TRAZMARK_BINARY_DIR "/src/cli/trazmark-cli";

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

/// The lines of a text, without their CR LF or LF.
inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
  }
  return out;
}

/// An argument quoted for the shell.
inline std::string shellQuote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class CliFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("trazmark_cli_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  /// Runs the tool with `args`, no standard input.
  CliRun run(const std::vector<std::string>& args) const {
    std::string command = shellQuote(kCliProgram);
    for (const auto& a : args) command += " " + shellQuote(a);
    command += " >" + shellQuote(path("stdout.txt")) + " 2>" + shellQuote(path("stderr.txt")) + " </dev/null";
    const int status = std::system(command.c_str());
    CliRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = read("stdout.txt");
    r.err = read("stderr.txt");
    return r;
  }

  /// Fails the test unless the run failed with exactly one line on stderr.
  static void expectOneLineFailure(const CliRun& r, const std::string& what) {
    EXPECT_NE(r.exitCode, 0) << what;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what << ": " << r.err;
    EXPECT_EQ(r.err.rfind("trazmark-cli: ", 0), 0u) << what << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << what << ": " << r.out;
  }

  std::filesystem::path dir_;
};

}  // namespace trazmark::test
