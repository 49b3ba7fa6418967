#include "config/session/connect_protocol_table.h"

#include <stdexcept>

#include "config/session/none_config.h"

namespace {

ConnectConfig* MakeNoneConfig(const ConnectProtocolEntry&) { return new NoneConfig(); }

ConnectProtocolEntry MakeNoneEntry() {
  ConnectProtocolEntry entry;
  entry.protocolName = kNoneProtocolName;
  entry.displayName = kNoneProtocolName;
  entry.productId = 0;
  entry.factory = &MakeNoneConfig;
  return entry;
}

std::mutex gTableMutex;
ConnectProtocolTable* gTable = nullptr;

}  // namespace

const ConnectProtocolEntry& NoneProtocolEntry() {
  static const ConnectProtocolEntry entry = MakeNoneEntry();
  return entry;
}

bool PartAcceptsProduct(int partIndex, int productId) {
  if (partIndex == 0) return productId == 1 || productId == 3 || productId == 8;
  if (partIndex == 1) return productId == 6 || productId == 9;
  return false;
}

size_t ConnectProtocolTable::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

const ConnectProtocolEntry& ConnectProtocolTable::At(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.at(index);
}

ConnectProtocolEntry& ConnectProtocolTable::At(size_t index) {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.at(index);
}

int ConnectProtocolTable::Find(std::u16string_view protocolName, int partIndex) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int found = -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const ConnectProtocolEntry& entry = entries_[i];
    if (partIndex >= 0 && !PartAcceptsProduct(partIndex, entry.productId)) continue;
    if (vtext::EqualsNoCase(entry.protocolName, protocolName)) found = static_cast<int>(i);
  }
  return found;
}

int ConnectProtocolTable::FirstFor(int partIndex) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (PartAcceptsProduct(partIndex, entries_[i].productId)) return static_cast<int>(i);
  }
  return -1;
}

int ConnectProtocolTable::Register(ConnectProtocolEntry entry) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const ConnectProtocolEntry& existing : entries_) {
    if (existing.productId == entry.productId &&
        vtext::EqualsNoCase(existing.protocolName, entry.protocolName))
      return -1;
  }
  if (entry.displayName.empty()) entry.displayName = entry.protocolName;
  entries_.push_back(std::move(entry));
  return static_cast<int>(entries_.size() - 1);
}

void ConnectProtocolTable::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

ConnectProtocolTable& GetConnectProtocolTable() {
  std::lock_guard<std::mutex> lock(gTableMutex);
  // Kept for the life of the process: sessions and modules may refer to entries up to the end.
  if (!gTable) gTable = new ConnectProtocolTable();
  return *gTable;
}

void ResetConnectProtocolTable() { GetConnectProtocolTable().Clear(); }
