// The connection protocols available in this process: one entry per protocol module the host
// registered (a product and a protocol each). Sessions choose their terminal and file-transfer
// protocols from it; each entry makes the settings object of its protocol.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string_view>

#include "config/session/connect_config.h"
#include "report/report_message_params.h"

struct ConnectProtocolEntry;
struct ProtocolPageSet;

// Makes a new settings object of the entry's protocol, with one reference.
using ConnectConfigFactory = ConnectConfig* (*)(const ConnectProtocolEntry& entry);

// The module's entry points, looked up when the module is loaded; null until then.
using ProtocolLoadFunction = bool (*)(void* applicationContext, ConnectProtocolEntry* entry,
                                      VReportMessageParams* error);
using ProtocolUnloadFunction = void (*)(ConnectProtocolEntry* entry);
using ProtocolCleanUpFunction = void (*)();

// What a module may hook into. Every slot starts as a function that does nothing, so callers
// never test for null.
struct ConnectProtocolCallbacks {
  // The description of the protocol's pages for the Session Options dialog (drawn by the
  // interface side); null when it adds none. The description lives as long as the module.
  const ProtocolPageSet* (*describePages)(const ConnectProtocolEntry& entry) =
      [](const ConnectProtocolEntry&) -> const ProtocolPageSet* { return nullptr; };
  // Told after a session using the protocol was loaded, and before it is saved.
  void (*sessionLoaded)(ConnectConfig& config) = [](ConnectConfig&) {};
  void (*sessionSaving)(ConnectConfig& config) = [](ConnectConfig&) {};
  // A short text naming the connection ("router1:22") for lists; empty by default.
  VUnicodeString (*connectionText)(const ConnectConfig& config) =
      [](const ConnectConfig&) { return VUnicodeString(); };
};

struct ConnectProtocolEntry {
  VUnicodeString protocolName;  // stored in sessions: "SSH2", "Telnet/SSL", "SFTP", ...
  VUnicodeString displayName;   // shown to people: "Telnet/TLS"
  int productId = -1;           // the product the protocol serves (1, 3, 6, 7, 8, 9)
  VUnicodeString modulePath;    // the module file, "" for protocols built into the library
  void* moduleHandle = nullptr;
  ProtocolLoadFunction load = nullptr;
  ProtocolUnloadFunction unload = nullptr;
  ProtocolCleanUpFunction cleanUp = nullptr;
  ConnectProtocolCallbacks callbacks;
  ConnectConfigFactory factory = nullptr;

  // A new settings object of this protocol (null when the entry has no factory).
  ConnectConfig* CreateConfig() const { return factory ? factory(*this) : nullptr; }
};

// The built-in "None" protocol: no module, no settings, product 0.
const ConnectProtocolEntry& NoneProtocolEntry();

// Whether the session part `partIndex` (0 terminal, 1 file transfer) takes protocols of
// `productId`: the terminal part those of 1, 3 and 8, the transfer part those of 6 and 9.
bool PartAcceptsProduct(int partIndex, int productId);

class ConnectProtocolTable {
 public:
  size_t Size() const;
  // The entry at `index`; entries are never moved, so the reference stays valid until Clear.
  // An index outside the table raises std::out_of_range.
  const ConnectProtocolEntry& At(size_t index) const;
  ConnectProtocolEntry& At(size_t index);
  // The last entry named `protocolName` (without regard to case) whose product the part
  // `partIndex` takes (-1: any part); -1 when there is none.
  int Find(std::u16string_view protocolName, int partIndex = -1) const;
  // The first entry that the part takes; -1 when there is none.
  int FirstFor(int partIndex) const;
  // Appends an entry and returns its index. An entry of the same protocol and product already
  // registered is refused (-1): a module is registered once.
  int Register(ConnectProtocolEntry entry);
  // Forgets every entry (the modules must have been unloaded first).
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::deque<ConnectProtocolEntry> entries_;
};

// The process-wide table, created on first use.
ConnectProtocolTable& GetConnectProtocolTable();
// Empties the process-wide table (tests, and hosts that reload their modules).
void ResetConnectProtocolTable();
