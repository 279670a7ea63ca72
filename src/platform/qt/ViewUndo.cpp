#include "platform/qt/ViewUndo.h"

#include "platform/qt/Localization.h"

namespace trazmark {

QString undoText(const char* verbKey, const char* nounKey) {
  QString verb = languageTextOr(verbKey, QString::fromLatin1(verbKey));
  if (nounKey == nullptr) return verb;
  const QString noun = languageTextOr(nounKey, QString::fromLatin1(nounKey));
  if (!verb.contains(QLatin1String("%s"))) return verb + QLatin1Char(' ') + noun;
  return verb.replace(QLatin1String("%s"), noun);
}

}  // namespace trazmark
