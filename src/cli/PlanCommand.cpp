// `plan`: the plan map of an alignment drawn offscreen by the window's own
// drawing code, at full extent, and saved as a PNG picture.

#include <clocale>
#include <cstdio>
#include <string>

#include "cli/CliArgs.h"
#include "cli/Commands.h"

#ifdef TRAZMARK_WITH_MAPS
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include "alignment/RoadDesign.h"
#include "editors/AlignmentLoader.h"
#include "maps/PlanDrawing.h"
#include "platform/TextFile.h"
#endif

namespace trazmark::cli {

namespace {

int planFail(const std::string& message) {
  std::fprintf(stderr, "trazmark-cli: plan: %s\n", message.c_str());
  return 1;
}

}  // namespace

#ifdef TRAZMARK_WITH_MAPS

namespace {

// "WxH" with both sides from 16 to 16384 pixels.
bool parseSize(const std::string& text, int& width, int& height) {
  std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  double w = 0, h = 0;
  if (!parseNumber(text.substr(0, x), w) || !parseNumber(text.substr(x + 1), h)) return false;
  if (w != static_cast<int>(w) || h != static_cast<int>(h)) return false;
  if (w < 16 || h < 16 || w > 16384 || h > 16384) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

}  // namespace

int cmdPlan(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"-o", "--size"});
  if (!args.ok()) return planFail(args.error());
  if (args.positional().size() != 1 || !args.has("-o"))
    return planFail("expected FILE -o PLAN.png [--size WxH]");
  int width = 1200, height = 900;
  if (auto size = args.value("--size")) {
    if (!parseSize(*size, width, height))
      return planFail("--size '" + *size + "': expected WxH, each 16 to 16384 pixels");
  }
  // Only PNG is drawn; a picture under another extension would be PNG bytes
  // that the tools chosen by that name cannot open.
  const std::string out = *args.value("-o");
  if (fileTypeCode(out) != "PNG")
    return planFail("cannot write " + out +
                    ": only PNG pictures are written (name ending in .png)");
  const std::string& path = args.positional()[0];
  CRoadDesign design;
  AlignmentSource source;
  std::string error;
  if (!loadAlignmentFile(path, design, source, error)) return planFail(path + ": " + error);

  // Text on an image needs the font machinery of a GUI application; no
  // window is ever shown, so the offscreen platform serves on any machine.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  char qtName[] = "trazmark-cli";
  char* qtArgv[] = {qtName, nullptr};
  QGuiApplication app(qtArgc, qtArgv);
  std::setlocale(LC_NUMERIC, "C");  // the toolkit took the user's locale; numbers keep a dot

  QImage image;
  if (!renderPlanImage(design, QSize(width, height), image))
    return planFail(path + ": the alignment has no extent to draw");
  // Encoded whole first and saved through a temporary file, so a failed save
  // leaves an earlier picture of that name as it was.
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
    return planFail("cannot encode the picture");
  const std::string bytes(png.constData(), static_cast<std::size_t>(png.size()));
  if (!writeTextFileAtomically(out, bytes)) return planFail("cannot write " + out);
  return 0;
}

#else

int cmdPlan(const std::vector<std::string>&) {
  return planFail("this build has no map drawing (built without Qt)");
}

#endif

}  // namespace trazmark::cli
