#include "shell/SurveyFiles.h"

#if __has_include("editors/SurveyImport.h")
#include "editors/SurveyImport.h"
#define TRAZMARK_HAVE_SURVEY_IMPORT 1
#endif

namespace trazmark {

bool convertSurveyFileToCrossPoints(const std::string& typeCode, const std::string& input,
                                    std::string& output) {
#ifdef TRAZMARK_HAVE_SURVEY_IMPORT
  if (typeCode == "IP") return convertIpSurveyFile(input, output);
  if (typeCode == "XY") return convertXySurveyFile(input, output);
#else
  (void)input;
  (void)output;
  (void)typeCode;
#endif
  return false;
}

}  // namespace trazmark
