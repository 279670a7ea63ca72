// `locate`: the station and offset of plane points, one from the command line
// or a whole file of named points.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/RoadDesign.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark::cli {

bool readNamedPoints(const std::string& path, std::vector<NamedPoint>& points, std::string& error) {
  std::string text;
  if (!readTextFileAsAnsi(path, text)) {
    error = path + ": cannot read the points file";
    return false;
  }
  std::size_t lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
      line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
      const std::size_t comma = line.find(',', start);
      fields.push_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    if (fields.size() == 4 && fields[3].empty()) fields.pop_back();
    NamedPoint p;
    p.line = lineNumber;
    const std::string where = path + " line " + std::to_string(lineNumber);
    if (fields.size() != 3) {
      error = where + ": expected NAME,X,Y";
      return false;
    }
    p.name = std::string(fields[0]);
    if (!parseNumber(trimWhiteSpace(std::string(fields[1])), p.x) ||
        !parseNumber(trimWhiteSpace(std::string(fields[2])), p.y)) {
      error = where + ": X and Y must be numbers";
      return false;
    }
    points.push_back(std::move(p));
  }
  if (points.empty()) {
    error = path + ": no points (expected NAME,X,Y lines)";
    return false;
  }
  return true;
}

namespace {

// "%.4f": to_chars rounds exactly as printf does, many times faster.
void appendFixed4(std::string& out, double v) {
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
  if (r.ec == std::errc() && std::isfinite(v)) {
    out.append(buf, r.ptr);
  } else {
    out += formatFixed(v, 4);
  }
}

void appendLocation(std::string& out, const StationLocation& l) {
  if (l.status == StationLocation::kOutside) {
    out += "outside,";
    out += formatFixed(l.distance, 4);
    return;
  }
  appendFixed4(out, l.displayedMileage);
  out += ',';
  appendFixed4(out, l.offset);
  out += ',';
  appendFixed4(out, l.continuousMileage);
}

}  // namespace

int cmdLocate(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"--points", "--chain"}, {"--chain"});
  if (!args.ok()) return fail(args.error());
  const auto& pos = args.positional();
  const bool fromFile = args.has("--points");
  if (pos.empty() || (fromFile && pos.size() != 1) || (!fromFile && pos.size() != 3))
    return fail("locate: expected FILE X Y, or FILE --points CSV");
  std::vector<NamedPoint> points;
  std::string error;
  if (fromFile) {
    if (!readNamedPoints(*args.value("--points"), points, error)) return fail("locate: " + error);
  } else {
    NamedPoint p;
    if (!parseNumber(pos[1], p.x) || !parseNumber(pos[2], p.y))
      return fail("locate: X and Y must be numbers");
    points.push_back(p);
  }
  CRoadDesign design;
  if (!loadDesign(pos[0], args, design, error)) return fail(error);

  std::string out;
  out.reserve(points.size() * 48);
  for (const NamedPoint& p : points) {
    const StationLocation l = design.locate(p.x, p.y);
    if (l.status == StationLocation::kInvalid) {
      const std::string which = fromFile ? "point '" + p.name + "' (line " +
                                               std::to_string(p.line) + "): "
                                         : std::string();
      return fail("locate: " + which + l.error);
    }
    if (fromFile) {
      out += p.name;
      out += ',';
    }
    appendLocation(out, l);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace trazmark::cli
