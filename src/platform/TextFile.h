#pragma once
// Reading and writing the program's plain-text files (RP, RE, LE, IP, XY, curve
// files, stake lists, road list, VR).

#include <string>

namespace trazmark {

/// Reads the whole file as raw bytes. Returns false (bytes untouched) when it
/// cannot be opened or read, or is a folder.
bool readFileBytes(const std::string& path, std::string& bytes);

/// Reads a whole plain-text file and returns its text in the ANSI code page.
/// File bytes that are valid UTF-8 are taken as UTF-8; any other bytes are taken
/// as code page 936, so files written by older systems keep their names.
/// A UTF-8 byte-order mark is dropped. Returns false when the file cannot be
/// opened or read.
bool readTextFileAsAnsi(const std::string& path, std::string& text);

/// Writes the bytes of `text` (ANSI code page, written as they are) to `path`.
/// They go to a temporary file of a unique name in the same folder, which is
/// flushed to disk and renamed over `path` only after the whole write
/// succeeded: a failed write returns false, removes the temporary file and
/// leaves the previous file byte-identical. An existing file keeps its mode;
/// a symbolic link is followed (the file it names is replaced, the link
/// stays); a file this user may not write is refused (false, untouched).
/// When the temporary file cannot be made because the user may not write the
/// folder, an existing file the user may write is written in place instead
/// (`writeFileInPlace`); only then can a failed write leave it damaged.
/// On false, errno says why.
bool writeTextFileAtomically(const std::string& path, const std::string& text);

/// Writes the bytes of `text` over the existing regular file `path`: truncates
/// it, writes, flushes to disk. Fails (errno set) when the file does not exist,
/// is no regular file, or any step fails; a failure after the truncation
/// leaves the file incomplete.
bool writeFileInPlace(const std::string& path, const std::string& text);

}  // namespace trazmark
