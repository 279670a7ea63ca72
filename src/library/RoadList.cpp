// The road list file: one line per known road, "Name,extraA,extraB,Path," with
// CR LF, most recently added first.

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr int kMaxRoadListLines = 1000;

// A road's name is display text taken from its file name; a comma in it would
// shift every field after it when the list is read back, so it is written as
// an underscore.
std::string nameForList(const std::string& name) {
  std::string out = name;
  for (char& c : out) {
    if (c == ',' || c == '\r' || c == '\n') c = '_';
  }
  return out;
}

RoadLibraryData parseRoadListLine(const std::string& line) {
  RoadLibraryData entry;
  std::size_t c1 = line.find(',');
  entry.Name = line.substr(0, c1);
  if (c1 == std::string::npos) return entry;
  std::size_t c2 = line.find(',', c1 + 1);
  entry.extraA = parseDecimal(line.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1));
  if (c2 == std::string::npos) return entry;
  std::size_t c3 = line.find(',', c2 + 1);
  entry.extraB = parseDecimal(line.substr(c2 + 1, c3 == std::string::npos ? std::string::npos : c3 - c2 - 1));
  if (c3 == std::string::npos) return entry;
  // The path is the rest of the line without its closing comma, so a folder
  // or file name holding a comma still opens the right file.
  std::string path = line.substr(c3 + 1);
  if (!path.empty() && path.back() == ',') path.pop_back();
  entry.Path = path;
  return entry;
}

}  // namespace

bool CInputRoadLibrary::loadRoadList(const std::string& rawPath) {
  std::string path = trimWhiteSpace(rawPath);
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
  std::string text;
  if (!readTextFileAsAnsi(path, text)) return false;
  text = text.substr(0, text.find('\0'));

  RecordList<RoadLibraryData> entries;
  forEachLine(text, kMaxRoadListLines, [&](const std::string& line) {
    entries.append(parseRoadListLine(line));
  });
  roadList = std::move(entries);
  return true;
}

bool CInputRoadLibrary::saveRoadList(const std::string& rawPath) const {
  std::string path = trimWhiteSpace(rawPath);
  if (path.empty()) return false;
  std::string text;
  for (const auto& entry : roadList) {
    text += nameForList(entry.Name);
    text += ',';
    text += formatFixed(entry.extraA, 4);
    text += ',';
    text += formatFixed(entry.extraB, 4);
    text += ',';
    text += entry.Path;
    text += ",\r\n";
  }
  return writeTextFileAtomically(path, text);
}

void CInputRoadLibrary::insertRoadEntry(int index, const RoadLibraryData& entry) {
  roadList.insertAt(index < 0 ? 0 : static_cast<std::size_t>(index), entry);
}

}  // namespace trazmark
