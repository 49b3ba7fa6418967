// Registering one row of the protocol module table: the checks of the row (telephony, FIPS, the
// SSH1 marker), the module file's checks, the exports in their order, and the entry added to the
// protocol table only once the module's LoadProtocol succeeded.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "config/session/connect_protocol_table.h"
#include "environment/protocol_module_rows.h"
#include "environment/protocol_modules.h"

// The name of a product in module messages ("Karvell"; "Ostrel" for id 1; else the running
// application's name).
VUnicodeString ProtocolProductName(int productId);

// Calls into a module: anything it throws becomes 0xE1370005 (the module path and what was
// thrown) in `error`. False when it threw.
bool CallModuleGuarded(const VUnicodeString& path, VReportMessageParams& error,
                       const std::function<void()>& call);

class ProtocolRowLoader {
 public:
  ProtocolRowLoader(const ProtocolLoadOptions& options, int fipsBits);
  ~ProtocolRowLoader();
  ProtocolRowLoader(const ProtocolRowLoader&) = delete;
  ProtocolRowLoader& operator=(const ProtocolRowLoader&) = delete;

  // Tries `row` with its module in `folder`; `result` tells what it gave.
  void Load(const ProtocolModuleRow& row, const std::string& folder, ProtocolLoadResult& result);

 private:
  std::unique_ptr<class ProtocolRowLoaderImpl> impl_;
};
