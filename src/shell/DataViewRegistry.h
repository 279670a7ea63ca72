#pragma once
// The kinds of road data and the views that edit them. The frame creates every
// data view through this registry, so a new view plugs in by registering its
// factory in registerDataViews (DataViews.cpp) with no change to the frame.

#include <QString>
#include <functional>
#include <map>

#include "platform/qt/DataView.h"

class QLabel;

namespace trazmark {

class CDataViewRegistry {
 public:
  using Factory = std::function<CDataView*(CDataViewHost& host, QWidget* parent)>;

  /// Registers (or replaces) the factory of a kind.
  void registerKind(int kind, Factory factory) { factories_[kind] = std::move(factory); }
  bool hasKind(int kind) const { return factories_.count(kind) != 0; }

  /// A new view of `kind`: the registered one, or a page saying that the
  /// kind's view is not available yet.
  CDataView* create(int kind, CDataViewHost& host, QWidget* parent) const;

 private:
  std::map<int, Factory> factories_;
};

/// Registers every data view the program has.
void registerDataViews(CDataViewRegistry& registry);

/// The name of a kind of road data, as its navigation button shows it.
QString dataKindName(int kind);

/// The page shown for a kind whose view is not built yet. It remembers an
/// alignment file handed to it and says that the file's editor is missing.
class CPlaceholderView : public CDataView {
 public:
  CPlaceholderView(int kind, CDataViewHost& host, QWidget* parent = nullptr);
  ImportResult importAlignmentFile(const std::string& path, int elementFile) override;
  void reloadFromRoad() override { updateText(); }
  const std::string& importedFile() const { return importedFile_; }
  QString message() const;

 private:
  void updateText();
  int recordCount() const;
  QLabel* heading_;
  QLabel* label_;
  QLabel* details_;
  std::string importedFile_;
};

}  // namespace trazmark
