// The data views of the program, one factory per kind of road data. A kind
// without an entry shows the page saying that its view is not available yet.

#include "crosssection/qt/RoadSlopeView.h"
#include "crosssection/qt/RoadSuperHighView.h"
#include "editors/qt/RoadChainView.h"
#include "platform/qt/ShellIds.h"
#include "shell/DataViewRegistry.h"

namespace trazmark {

void registerDataViews(CDataViewRegistry& registry) {
  registry.registerKind(kKindBrokenChain, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadChainView(host, parent);
  });
  registry.registerKind(kKindSlope, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadSlopeView(host, parent);
  });
  registry.registerKind(kKindSuperHigh, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadSuperHighView(SuperValueKind::kSlope, host, parent);
  });
  registry.registerKind(kKindSuperWiden, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadSuperHighView(SuperValueKind::kWidth, host, parent);
  });
}

}  // namespace trazmark
