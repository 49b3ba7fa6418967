// What a page-tree dialog remembers between openings, kept by the caller for as long as it likes
// (the options dialogs keep one for the whole process): per dialog, the page last shown and the
// branches the user folded. It is never written to the configuration.
#pragma once

#include <map>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/unicode_string.h"

struct VPropertyPageState {
  QStringList selectedPath;          // tree labels from the top down to the page shown last
  std::vector<QStringList> folded;   // the branches folded, each as its path of labels
};

class VPropertyPageStateMap {
 public:
  bool Lookup(const VUnicodeString& key, VPropertyPageState& state) const;
  void Set(const VUnicodeString& key, const VPropertyPageState& state);
  bool RemoveKey(const VUnicodeString& key);
  void RemoveAll() { states_.clear(); }
  bool IsPresent(const VUnicodeString& key) const { return states_.count(key) != 0; }
  bool IsEmpty() const { return states_.empty(); }
  size_t GetCount() const { return states_.size(); }
  // The key at `index` in key order; VOutOfRange past the end.
  const VUnicodeString& GetKey(size_t index) const;
  // The state of `key`, made empty when absent.
  VPropertyPageState& operator[](const VUnicodeString& key) { return states_[key]; }

 private:
  std::map<VUnicodeString, VPropertyPageState> states_;
};
