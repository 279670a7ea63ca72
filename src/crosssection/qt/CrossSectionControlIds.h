#pragma once
// Control identifiers of the slope, superelevation and widening views and
// their dialogs: the language file's "IDD<dialog>_<id>" elements name the
// controls by them.

namespace trazmark {

enum CrossSectionControlId : int {
  // Buttons of the views and pages.
  kCtlXsNew = 1060,
  kCtlXsEdit = 1061,
  kCtlXsDelete = 1062,
  kCtlXsSave = 1063,
  kCtlSlopeSteps = 1064,
  kCtlSlopeStepsDone = 1065,
  // Superelevation and widening dialog.
  kCtlSuperModeLabel = 1070,
  kCtlSuperNameLabel = 1071,
  kCtlSuperValueLabel = 1072,
  kCtlSuperMileageLabel = 1073,
  // Slope dialog.
  kCtlSlopeLeft = 1080,
  kCtlSlopeRight = 1081,
  kCtlSlopeCut = 1082,
  kCtlSlopeFill = 1083,
  kCtlSlopeNameLabel = 1084,
  kCtlSlopeStartLabel = 1085,
  kCtlSlopeEndLabel = 1086,
  // Step dialog.
  kCtlStepSurface = 1090,
  kCtlStepPlatform = 1091,
  kCtlStepNameLabel = 1092,
};

}  // namespace trazmark
