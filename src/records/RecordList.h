#pragma once
// A growable list of records held by value. Copies are deep because the
// records are plain values; the named operations are the ones the editors use.

#include <cstddef>
#include <utility>
#include <vector>

namespace trazmark {

template <class T>
class RecordList : public std::vector<T> {
 public:
  using std::vector<T>::vector;

  void append(const T& item) { this->push_back(item); }

  /// Inserts a copy at `index` (0..count); an index past the end appends.
  void insertAt(std::size_t index, const T& item) {
    if (index > this->size()) index = this->size();
    this->insert(this->begin() + static_cast<std::ptrdiff_t>(index), item);
  }

  /// Removes the item at `index`; returns false when there is none.
  bool removeAt(std::size_t index) {
    if (index >= this->size()) return false;
    this->erase(this->begin() + static_cast<std::ptrdiff_t>(index));
    return true;
  }

  int count() const { return static_cast<int>(this->size()); }
};

}  // namespace trazmark
