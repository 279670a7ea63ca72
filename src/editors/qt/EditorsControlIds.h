#pragma once
// Control identifiers of the broken chain view and its dialog: the language
// file's "IDD312_<id>" and "IDD313_<id>" elements name the controls by them.

namespace trazmark {

enum ChainControlId : int {
  kCtlChainAdd = 1040,
  kCtlChainEdit = 1041,
  kCtlChainDelete = 1042,
  kCtlChainSave = 1043,
  kCtlChainBeforeLabel = 1044,
  kCtlChainAfterLabel = 1045,
};

}  // namespace trazmark
