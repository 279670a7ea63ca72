#pragma once
// Writing curve files, and the text rules shared by the files of the horizontal
// methods (RP, RE).
//
// A curve file describes an alignment as a start chainage, a start point and
// the straights, arcs and spirals in road order, one record per line:
//
//   CURVE FILE(RP) Ver1.0        (or "CURVE FILE(RE) Ver1.0")
//   METRES
//   DEGREES
//   START CHAINAGE,<%.4f>
//   HORIZ
//   RN,<road name>
//   PT,<Y east>,<X north>,
//   R.,<length>,<azimuth, degrees>,
//   CC,<length>,<signed radius>,
//   CL,<length>,<clothoid parameter A>,
//
// The two kinds differ only in the title and in the decimals of the azimuth
// and parameter fields. Every line ends with CR LF. The engine reads both.

#include <string>
#include <vector>

namespace trazmark {

/// The two kinds of curve file: written by the intersection-point method (RP)
/// and by the element method (RE).
enum class CurveFileKind { RP, RE };

/// Collects the lines of one curve file in memory and writes them in one go.
class CCurveFileWriter {
 public:
  explicit CCurveFileWriter(CurveFileKind kind);

  /// Title block, "START CHAINAGE", "HORIZ" and the road-name record.
  /// @param startChainage mileage of the start point (metres)
  /// @param roadName road name; commas and line breaks in it are replaced (see
  ///   `sanitizeFieldText`) so that the record reads back as one field.
  void writeHeader(double startChainage, const std::string& roadName);
  /// "PT": the start point, written east first.
  /// @param x north (metres)  @param y east (metres)
  void writeStartPoint(double x, double y);
  /// "R.": a straight.
  /// @param length metres  @param azimuthDegrees decimal degrees, clockwise from north
  void writeLine(double length, double azimuthDegrees);
  /// "CC": a circular arc.
  /// @param length metres  @param radius metres, positive turning right, negative left
  void writeArc(double length, double radius);
  /// "CL": a spiral; its radii come from its neighbours when the file is read.
  /// @param length metres  @param parameter clothoid parameter A = sqrt(length * radius)
  void writeSpiral(double length, double parameter);

  CurveFileKind kind() const { return kind_; }
  /// The text written so far (ANSI code page, CR LF line ends).
  const std::string& text() const { return text_; }
  /// Writes the collected text to `path` (temporary file and rename).
  bool save(const std::string& path) const;

 private:
  void appendLine(const char* format, double a, double b);

  CurveFileKind kind_;
  std::string text_;
};

// ---- Text rules shared by the method files -------------------------------

/// Most lines a method text file reader takes (see `forEachLine` in
/// platform/TextFields.h for the line rules).
constexpr int kMethodFileMaxLines = 1000;

/// Splits `data` at every comma (the pieces keep their spaces).
std::vector<std::string> splitCommaFields(const std::string& data);

/// A text field as it can be stored in a comma-separated line: commas become
/// semicolons and carriage returns and line feeds become spaces, so that the
/// fields after it are not shifted when the line is read back.
std::string sanitizeFieldText(const std::string& text);

/// Formats with printf in the "C" number format (the program never changes
/// LC_NUMERIC, so snprintf writes a dot).
std::string formatRecord(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// The folder of the user's settings files: $XDG_CONFIG_HOME/trazmark, or
/// $HOME/.config/trazmark when XDG_CONFIG_HOME is unset or not absolute.
/// Empty when neither variable gives an absolute path. The folder is not
/// created here.
std::string userSettingsFolder();

/// One line of a method text file (RP, RE): its 9-character tag
/// ("ROADNAME:", "CROSSPT :", "MILEAGE :", "ELEMENT :") and the text after it.
struct MethodFileLine {
  std::string tag;
  std::string data;
};

/// Reads the method text file at the trimmed `path`: at most
/// kMethodFileMaxLines lines by the common line rules, lines of 7 characters
/// or fewer skipped. False for an empty path or a file that cannot be read.
bool readMethodFileLines(const std::string& path, std::vector<MethodFileLine>& lines);

/// Writes the settings file of a computed method, `folder`/`fileName`:
/// HEAD/`methodName` with Ver "1.0.1.1" and Option/CalculateMode, Interval.
/// Creates the folder when it is missing; fails when it is empty or the file
/// cannot be written.
bool writeMethodSettings(const std::string& folder, const char* fileName, const char* methodName,
                         int calculateMode, double interval);

}  // namespace trazmark
