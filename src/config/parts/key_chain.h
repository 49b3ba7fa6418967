// Keys opened level by level below a starting key, each only when it exists: some stores make a
// missing key in memory merely by opening it, which a lookup must not do. The keys go innermost
// first.
#pragma once

#include <memory>
#include <vector>

#include "storage/model/key_path.h"
#include "storage/model/profile_store.h"

class KeyChain {
 public:
  explicit KeyChain(VProfileKey& start) : start_(start) {}
  ~KeyChain() {
    while (!keys_.empty()) keys_.pop_back();
  }
  KeyChain(const KeyChain&) = delete;
  KeyChain& operator=(const KeyChain&) = delete;

  // Opens `name` below the innermost key; false (nothing opened) when it does not exist.
  bool Open(const VUnicodeString& name) {
    if (name.empty() || !Key().SubKeyExists(name.c_str())) return false;
    keys_.push_back(std::make_unique<VProfileKey>(Key(), name.c_str()));
    return true;
  }
  bool OpenAll(const std::vector<VUnicodeString>& levels) {
    for (const auto& level : levels) {
      if (!Open(level)) return false;
    }
    return true;
  }
  bool OpenAll(const VKeyPath& path) { return OpenAll(path.Levels()); }
  VProfileKey& Key() { return keys_.empty() ? start_ : *keys_.back(); }

 private:
  VProfileKey& start_;
  std::vector<std::unique_ptr<VProfileKey>> keys_;
};
