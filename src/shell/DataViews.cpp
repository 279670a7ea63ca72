// The data views of the program, one factory per kind of road data. A kind
// without an entry shows the page saying that its view is not available yet.

#include "crosssection/qt/RoadSectionView.h"
#include "editors/qt/RoadFlatView.h"
#include "platform/qt/ShellIds.h"
#include "shell/DataViewRegistry.h"
#include "vertical/qt/RoadVerCurveView.h"

namespace trazmark {

void registerDataViews(CDataViewRegistry& registry) {
  registry.registerKind(kKindFlatCurve, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadFlatView(host, parent);
  });
  registry.registerKind(kKindVerCurve, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadVerCurveView(host, parent);
  });
  registry.registerKind(kKindCrossSection, [](CDataViewHost& host, QWidget* parent) {
    return new CRoadSectionView(host, parent);
  });
}

}  // namespace trazmark
