#pragma once
// Runs a piece of a test as a user who may not write a folder.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace trazmark::test {

/// Runs `write` as a user who may not write `folder` but may write the
/// `writable` files in it, and returns its result. The super-user may write
/// any folder, so there `write` runs in a child process as the user "nobody"
/// (the `writable` files are given to that user).
inline bool runWithoutFolderRights(const std::filesystem::path& folder,
                                   const std::vector<std::filesystem::path>& writable,
                                   const std::function<bool()>& write) {
  if (::geteuid() != 0) {
    ::chmod(folder.c_str(), 0555);
    const bool ok = write();
    ::chmod(folder.c_str(), 0700);
    return ok;
  }
  const uid_t nobody = 65534;
  ::chmod(folder.c_str(), 0755);
  for (const std::filesystem::path& file : writable) {
    if (::chown(file.c_str(), nobody, nobody) != 0) return false;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) ::_exit(2);
    ::_exit(write() ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace trazmark::test
