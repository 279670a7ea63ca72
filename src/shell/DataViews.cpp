// The data views of the program, one factory per kind of road data. A kind
// without an entry shows the page saying that its view is not available yet.

#include "shell/DataViewRegistry.h"

#include "editors/qt/RoadFlatView.h"
#include "platform/qt/ShellIds.h"

namespace trazmark {

void registerDataViews(CDataViewRegistry& registry) {
  registry.registerKind(kKindFlatCurve, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadFlatView(host, parent);
  });
  // Each data view registers here as it is built, for example:
  //   registry.registerKind(kKindBrokenChain, [](CDataViewHost& host, QWidget* parent) {
  //     return new CRoadChainView(host, parent);
  //   });
}

}  // namespace trazmark
