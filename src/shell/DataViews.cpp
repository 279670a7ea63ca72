// The data views of the program, one factory per kind of road data. A kind
// without an entry shows the page saying that its view is not available yet.

#include "crosssection/qt/RoadSectionView.h"
#include "crosssection/qt/RoadSlopeView.h"
#include "crosssection/qt/RoadSuperHighView.h"
#include "editors/qt/RoadChainView.h"
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
