#include "shell/SurveyFiles.h"

#include <fstream>
#include <sstream>

#if __has_include("editors/SurveyImport.h")
#include "editors/SurveyImport.h"
#include "platform/TextFile.h"
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

std::string crossPointFileChangedBySurvey(const std::string& typeCode, const std::string& input) {
#ifdef TRAZMARK_HAVE_SURVEY_IMPORT
  if (typeCode != "IP" && typeCode != "XY") return {};
  const std::string rpPath = crossPointPathForSurveyFile(input);
  std::ifstream existing(rpPath, std::ios::binary);
  if (rpPath.empty() || !existing) return {};
  std::string text, rpText;
  if (!readTextFileAsAnsi(input, text)) return {};
  std::size_t slash = rpPath.find_last_of('/');
  std::string roadName = slash == std::string::npos ? rpPath : rpPath.substr(slash + 1);
  bool converts = typeCode == "IP" ? convertIpSurveyText(text, roadName, rpText)
                                   : convertXySurveyText(text, roadName, rpText);
  if (!converts) return {};  // nothing would be written
  std::ostringstream bytes;
  bytes << existing.rdbuf();
  return bytes.str() == rpText ? std::string() : rpPath;
#else
  (void)typeCode;
  (void)input;
  return {};
#endif
}

}  // namespace trazmark
