#include "environment/ssh_import_store.h"

#include "config/session/session_name.h"
#include "config/session/session_store.h"
#include "storage/model/key_path.h"
#include "storage/values/setting_text.h"

namespace sshimport {
namespace {

bool SameListing(const std::vector<VSettingInfo>& a, const std::vector<VSettingInfo>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].hasValue != b[i].hasValue || !(a[i].value == b[i].value))
      return false;
  }
  return true;
}

// The session's own settings and those of its terminal protocol, as a save would write them.
std::vector<VSettingInfo> Listing(SessionConfig& session) {
  std::vector<VSettingInfo> all = session.ListSettings();
  if (const ConnectConfig* config = session.GetTerminalConnectConfig()) {
    std::vector<VSettingInfo> part = config->ListSettings();
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

// Chooses the planned protocol, then sets each planned setting where it lives: in the session
// or in the part of its protocol.
bool Set(SessionConfig& session, const PlannedSession& planned, VReportMessageParams& error) {
  for (const Setting& setting : planned.settings) {
    if (setting.name == kProtocolName) {
      if (!session.SetTerminalProtocol(U8(setting.value), error)) return false;
      continue;
    }
    VProfileComposite::SettingRow row;
    ConnectConfig* part = session.GetTerminalConnectConfig();
    if (!session.FindSettingRow(setting.name, row) && !(part && part->FindSettingRow(setting.name, row))) {
      VSettingError(error, kMsgSettingUnknown, setting.name);
      return false;
    }
    if (!VProfileComposite::SetSetting(row, U8(setting.value), error)) return false;
  }
  return true;
}

Outcome Failed(VReportMessageParams& error, std::string& reason) {
  reason = error.GetTextOneLineTrimmed().ToUtf8();
  return Outcome::kFailed;
}

}  // namespace

Outcome StoreTarget::Apply(const PlannedSession& planned, bool dryRun, std::string& reason) {
  VReportMessageParams error;
  bool exists = SessionKeyExists(planned.path, factory_);
  if (!exists) {
    VKeyPath path = VKeyPath::Parse(planned.path);
    if (path.Empty()) {
      reason = "the session has no name";
      return Outcome::kFailed;
    }
    if (!ValidateSessionName(path.Parent().Text(), VUnicodeString(), path.Last(), false, nullptr,
                             error, factory_))
      return Failed(error, reason);
    if (dryRun) return Outcome::kCreated;
    if (!CreateSessionFromDefault(planned.path, error, factory_)) return Failed(error, reason);
  }
  bool changed = false;
  bool leftAlone = false;
  bool done = UpdateSessionAtPath(
      planned.path,
      [&](SessionConfig& session, VReportMessageParams& problem) {
        std::vector<VSettingInfo> before = Listing(session);
        if (!Set(session, planned, problem)) return false;
        changed = !SameListing(before, Listing(session));
        leftAlone = !changed || dryRun;
        return !leftAlone;
      },
      error, factory_);
  if (!done && !leftAlone) {
    Failed(error, reason);
    // A session made here and then refused is taken away again: nothing half made stays.
    if (!exists) {
      VReportMessageParams ignored;
      DeleteSessionAtPath(planned.path, ignored, factory_);
    }
    return Outcome::kFailed;
  }
  if (!exists) return Outcome::kCreated;
  return changed ? Outcome::kUpdated : Outcome::kUnchanged;
}

}  // namespace sshimport
