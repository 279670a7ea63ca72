#include "platform/TextFile.h"

#include "platform/CodePage.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trazmark {

bool readFileBytes(const std::string& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string data;
  if (info.st_size > 0) data.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    data.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  bytes = std::move(data);
  return true;
}

bool readTextFileAsAnsi(const std::string& path, std::string& text) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return false;
  std::string_view content(bytes);
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
  // Files of older systems are GBK; anything that reads as UTF-8 is UTF-8.
  int filePage = isValidUtf8(content) ? kCodePageUtf8 : kCodePageGbk;
  int ansi = ansiCodePage();
  if (filePage == ansi) {
    text.assign(content);
    return true;
  }
  std::string converted;
  if (!convertCodePage(content, filePage, ansi, converted)) converted.assign(content);
  text = std::move(converted);
  return true;
}

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t put = ::write(fd, data, size);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

mode_t processUmask() {
  // Read once; no other thread of the program creates files at start-up.
  static const mode_t mask = [] {
    mode_t m = ::umask(022);
    ::umask(m);
    return m;
  }();
  return mask;
}

// close() that keeps an earlier errno when it succeeds.
bool closeKeepingError(int fd) {
  const int error = errno;
  if (::close(fd) != 0) return false;
  errno = error;
  return true;
}

}  // namespace

bool writeFileInPlace(const std::string& path, const std::string& text) {
  // Only an existing regular file: a new file needs the folder anyway, and
  // truncating a device or a pipe is no save.
  // O_NONBLOCK keeps a pipe put in the file's place from blocking the open.
  int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    closeKeepingError(fd);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return false;
  }
  bool ok = ::ftruncate(fd, 0) == 0;
  ok = ok && writeAll(fd, text.data(), text.size());
  ok = ok && ::fsync(fd) == 0;
  ok = closeKeepingError(fd) && ok;
  return ok;
}

bool writeTextFileAtomically(const std::string& requestedPath, const std::string& text) {
  if (requestedPath.empty()) return false;
  // A link is followed, so that the file it names is replaced and the link
  // stays a link; renaming over the link itself would cut the two apart.
  std::string path = requestedPath;
  struct stat linkInfo {};
  if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  }
  // A file that this user may not write is refused, as writing into it would
  // be: the rename needs only the folder's permission and would replace a
  // file the user made read-only.
  if (::faccessat(AT_FDCWD, path.c_str(), F_OK, AT_EACCESS) == 0 &&
      ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
    return false;
  // The temporary file lives beside the target so that the rename stays on
  // one file system and replaces the target in one step.
  std::string pattern = path + ".tmpXXXXXX";
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    // A folder the user cannot write may still hold a file the user can: the
    // file is then written in place, the one way left to save it.
    if (errno != EACCES && errno != EPERM) return false;
    // A new file needs the folder: the folder's refusal is the reason.
    const int folderError = errno;
    if (::faccessat(AT_FDCWD, path.c_str(), F_OK, AT_EACCESS) != 0) {
      errno = folderError;
      return false;
    }
    return writeFileInPlace(path, text);
  }
  struct stat old {};
  mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~processUmask());
  if (::fchmod(fd, mode) != 0) {
    // mkstemp's owner-only mode stays: no reason to fail the save.
  }
  bool ok = writeAll(fd, text.data(), text.size());
  ok = ok && ::fsync(fd) == 0;
  ok = closeKeepingError(fd) && ok;
  ok = ok && std::rename(pattern.c_str(), path.c_str()) == 0;
  if (!ok) {
    const int error = errno;  // the reason, not that of the clean-up
    ::unlink(pattern.c_str());
    errno = error;
    return false;
  }
  // Make the rename itself durable: flush the folder (best effort).
  std::string::size_type slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

}  // namespace trazmark
