// The sessions of the configuration store as the place an import of OpenSSH hosts goes to.
#pragma once

#include "environment/ssh_import.h"
#include "storage/model/profile_store.h"

namespace sshimport {

// Makes each planned session from the template "Default", or changes the session of that path,
// setting the planned settings as text (numbers in decimal). A session already holding them is
// not written at all. A session made here whose settings are then refused is deleted again, so
// that a failed import leaves nothing half made.
class StoreTarget : public SessionTarget {
 public:
  explicit StoreTarget(VProfileStoreFactory* factory = nullptr) : factory_(factory) {}
  Outcome Apply(const PlannedSession& session, bool dryRun, std::string& reason) override;

 private:
  VProfileStoreFactory* factory_;
};

}  // namespace sshimport
