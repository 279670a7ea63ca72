// The data views of the program, one factory per kind of road data. A kind
// without an entry shows the page saying that its view is not available yet.

#include "shell/DataViewRegistry.h"

namespace trazmark {

void registerDataViews(CDataViewRegistry& registry) {
  (void)registry;
  // Each data view registers here as it is built, for example:
  //   registry.registerKind(kKindBrokenChain, [](CDataViewHost& host, QWidget* parent) {
  //     return new CRoadChainView(host, parent);
  //   });
}

}  // namespace trazmark
