#pragma once
// How the plain-text point files read a line: what the survey point files of
// the terrain and the surveyed points of the as-built check share.
//
// A line's fields are separated by commas (white space around a field is
// dropped) or, in a line without a comma, by runs of spaces and tabs. Blank
// lines and lines starting with '#' are not points. A UTF-8 byte-order mark
// is no part of the first line; CR LF and LF line ends are both read.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace trazmark {

/// Most fields a point line may have: the longest format's five and a few
/// empty ones.
constexpr std::size_t kMaxPointFields = 16;

/// The fields of one line, at most kMaxPointFields (more makes `count`
/// larger than kMaxPointFields, enough to refuse the line).
struct PointLineFields {
  std::array<std::string_view, kMaxPointFields> field;
  std::size_t count = 0;
  void add(std::string_view f) {
    if (count < kMaxPointFields) field[count] = f;
    ++count;
  }
};

/// The line without the blanks (spaces, tabs, CR, VT, FF) at its ends.
std::string_view trimmedPointLine(std::string_view line);

/// True for a line that holds no point: blank, or a '#' comment.
bool isPointFileRemark(std::string_view trimmedLine);

/// Splits a trimmed line into its fields (see above).
void splitPointLine(std::string_view line, PointLineFields& out);

/// Walks the lines of a text: the line's number (from 1) and its text
/// without the line end.
class CPointFileLines {
 public:
  explicit CPointFileLines(std::string_view text);
  bool next(std::string_view& line);
  std::size_t number() const { return number_; }
  /// The share of the text read, 0 to 1.
  double share() const;

 private:
  std::string_view text_;
  std::size_t position_ = 0;
  std::size_t number_ = 0;
};

/// "line N: why".
std::string pointLineError(std::size_t line, const std::string& why);

/// True when the line has the `count` fields of the format named `format`
/// ("name,x,y,z"), empty ones after them allowed (a trailing comma); false
/// with `error` for fewer ("line N: 3 fields where name,x,y,z has 4") or more,
/// since a file of another format would otherwise be read with its columns
/// shifted.
bool checkPointFieldCount(const PointLineFields& fields, std::size_t count, const char* format,
                          std::size_t line, std::string& error);

/// Reads the coordinate in field `index` named `what` (a whole number with a
/// dot, finite, within ±kMaxTerrainCoordinate) into `value`; false with
/// `error` ("line N: the elevation is missing", "... 'abc' is not a number").
bool readPointCoordinate(const PointLineFields& fields, std::size_t index, const char* what,
                         double& value, std::size_t line, std::string& error);

}  // namespace trazmark
