// `import` and `export`: a road alignment to and from LandXML 1.2.

#include <cstdio>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "library/LandXmlExport.h"
#include "library/LandXmlImport.h"

namespace trazmark::cli {

int cmdImport(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"-o", "--alignment"});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1 || !args.has("-o"))
    return fail("import: expected FILE.xml -o ROAD.REC [--alignment NAME]");
  const std::string& path = args.positional()[0];
  LandXmlAlignment alignment;
  std::string error;
  if (!importLandXmlFile(path, args.value("--alignment").value_or(""), alignment, error))
    return fail(path + ": " + error);
  CInputRoadLibrary road;
  static_cast<RoadDataSet&>(road) = alignment.road;
  const std::string out = *args.value("-o");
  if (!road.writeRoadFile(out)) return fail(out + ": cannot write the road file");
  std::printf("alignment '%s': %d elements, %d broken chains, %d grade points\n",
              alignment.name.c_str(), road.elements.count() - 1, road.scissons.count(),
              road.verticalCurves.count());
  return 0;
}

int cmdExport(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"-o"});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1 || !args.has("-o"))
    return fail("export: expected ROAD.REC -o FILE.xml");
  const std::string& path = args.positional()[0];
  CRoadDesign design;
  AlignmentSource source;
  std::string error;
  if (!loadAlignmentFile(path, design, source, error)) return fail(path + ": " + error);
  std::string name = source.roadName;
  if (name.empty()) {
    name = path.substr(path.find_last_of('/') + 1);
    name = name.substr(0, name.find_last_of('.'));
  }
  const std::string out = *args.value("-o");
  if (!exportLandXmlFile(design, source.road.verticalCurves, name, out, error))
    return fail(out + ": " + error);
  return 0;
}

}  // namespace trazmark::cli
