#include "config/database/secret_passes.h"

#include <functional>
#include <memory>

#include "config/items/firewall_config.h"
#include "config/items/firewall_messages.h"
#include "config/session/session_config.h"
#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "config/session/session_messages.h"
#include "crypto/crypto_messages.h"
#include "platform/app_info.h"
#include "storage/model/key_path.h"

namespace {

constexpr const char16_t* kSessionKind = u"session";
constexpr const char16_t* kFirewallKind = u"firewall";

// What one pass does to a loaded item: whether it has anything for the pass (an item without
// secrets, or without an older form to rewrite, is left untouched, so that a read-only file that
// holds nothing of the kind is no failure), and the work before it is saved; the work is false,
// with the reason, when the item's secrets could not all be carried (the item is saved all the
// same, with those left as they were).
struct PassSteps {
  std::function<bool(SessionConfig&)> sessionConcerned;
  std::function<bool(SessionConfig&, VReportMessageParams&)> session;
  std::function<bool(FirewallConfig&)> firewallConcerned;
  std::function<bool(FirewallConfig&, VReportMessageParams&)> firewall;
};

bool HoldsSecrets(SessionConfig& session) {
  for (VProfileEncryptedString* secret : session.GetSecretSettings()) {
    if (!secret->Current().empty()) return true;
  }
  const VRetainedValues& retained = session.GetRetainedValues();
  for (size_t index : retained.SecretIndexes()) {
    if (!retained.ValueAt(index).text.empty()) return true;
  }
  return false;
}

// Loading carried a secret from an older form: it waits to be written in the current one.
bool CarriedOlderSecrets(SessionConfig& session) {
  for (VProfileEncryptedString* secret : session.GetSecretSettings()) {
    if (!secret->Current().empty() && secret->IsWritePending()) return true;
  }
  return false;
}

VUnicodeString Join(const VUnicodeString& folder, const VUnicodeString& name) {
  return VKeyPath::Join(folder, name);
}

void Fail(VSecretPassResult& result, const char16_t* kind, const VUnicodeString& item,
          const VReportMessageParams& reason) {
  result.failures.push_back({VUnicodeString(kind), item, reason});
}

void NotSaved(VReportMessageParams& reason, uint32_t id, const VUnicodeString& item,
              VReportMessageParams& why) {
  VUnicodeString text = why.IsError() ? why.GetTextOneLineTrimmed() : VUnicodeString();
  reason.Reset(id);
  reason.AddInsert(item);
  reason.AddInsert(text);
}

class Pass {
 public:
  Pass(SessionDatabase& database, const PassSteps& steps) : database_(database), steps_(steps) {}

  VSecretPassResult Run(ISecretPassProgress* progress, uint32_t messageId) {
    VSecretPassResult result;
    total_ = database_.WalkSessions(nullptr).sessions;
    VStringArray firewalls = database_.ListItems(ItemCollection::Firewalls);
    total_ += firewalls.GetSize();
    VReportMessageParams message(messageId);
    message.AddInsert(VGetAppName());
    RunSecretPass(progress, message, [&](ISecretPassProgress* shown) {
      progress_ = shown;
      DoSessions(result);
      for (const VUnicodeString& name : firewalls) DoFirewall(name, result);
    });
    return result;
  }

 private:
  void Advance(const VUnicodeString& item) {
    ++done_;
    if (progress_) progress_->Advance(done_, total_, item);
  }

  void DoSessions(VSecretPassResult& result) {
    SessionDatabase::WalkOptions options;
    options.writable = true;
    database_.WalkSessions(
        [&](const VUnicodeString& folder, const VUnicodeString& name, VProfileKey& key) {
          VUnicodeString path = Join(folder, name);
          ++result.sessions;
          VRef<SessionConfig> session(new SessionConfig(name));
          session->SetSessionPath(path);
          session->LoadFromKey(&key);
          if (!steps_.sessionConcerned(*session.Get())) {
            Advance(path);
            return true;
          }
          VReportMessageParams reason;
          bool carried = !steps_.session || steps_.session(*session.Get(), reason);
          VReportMessageParams why;
          if (!key.CanWrite()) {
            reason.Reset(kMsgSessionReadOnly);
            reason.AddInsert(path);
            carried = false;
          } else if (!session->Save(key, false) || !key.Flush()) {
            why = key.GetLastError();
            NotSaved(reason, kMsgSessionNotSaved, path, why);
            carried = false;
          }
          if (!carried) Fail(result, kSessionKind, path, reason);
          Advance(path);
          return true;
        },
        options);
  }

  void DoFirewall(const VUnicodeString& name, VSecretPassResult& result) {
    VRef<FirewallConfig> firewall = database_.OpenFirewall(name);
    // One deleted meanwhile has nothing left to carry.
    if (!firewall) return;
    ++result.firewalls;
    if (!steps_.firewallConcerned(*firewall.Get())) {
      Advance(name);
      return;
    }
    VReportMessageParams reason;
    bool carried = !steps_.firewall || steps_.firewall(*firewall.Get(), reason);
    VReportMessageParams why;
    if (!database_.SaveItem(*firewall.Get(), why)) {
      NotSaved(reason, kMsgFirewallNotSaved, name, why);
      carried = false;
    }
    if (!carried) Fail(result, kFirewallKind, name, reason);
    Advance(name);
  }

  SessionDatabase& database_;
  const PassSteps& steps_;
  ISecretPassProgress* progress_ = nullptr;
  size_t total_ = 0;
  size_t done_ = 0;
};

VSecretPassResult RunPass(SessionDatabase* database, const PassSteps& steps,
                          ISecretPassProgress* progress, uint32_t messageId) {
  if (!database) database = GetSessionDatabase();
  std::unique_ptr<SessionDatabase> local;
  if (!database) {
    local = std::make_unique<SessionDatabase>();
    database = local.get();
  }
  VSecretPassResult result = Pass(*database, steps).Run(progress, messageId);
  if (progress && !result.failures.empty()) progress->ShowFailures(result.failures);
  return result;
}

}  // namespace

VSecretPassResult ReEncryptSensitiveData(std::optional<std::u16string_view> oldPassphrase,
                                         std::u16string_view newPassphrase,
                                         ISecretPassProgress* progress,
                                         SessionDatabase* database) {
  PassSteps steps;
  steps.sessionConcerned = HoldsSecrets;
  steps.firewallConcerned = [](FirewallConfig& firewall) {
    return !firewall.firewallPassword.Current().empty();
  };
  steps.session = [&](SessionConfig& session, VReportMessageParams& reason) {
    return session.ReEncryptSecrets(oldPassphrase, newPassphrase, reason);
  };
  steps.firewall = [&](FirewallConfig& firewall, VReportMessageParams& reason) {
    return firewall.ReEncryptPassword(oldPassphrase, newPassphrase, reason);
  };
  VSecretPassResult result =
      RunPass(database, steps, progress, crypto_messages::kReEncryptionProgress);
  result.reEncryption = true;
  return result;
}

VSecretPassResult EncryptSensitiveDataFirstTime(ISecretPassProgress* progress,
                                                SessionDatabase* database) {
  PassSteps steps;
  steps.sessionConcerned = CarriedOlderSecrets;
  steps.firewallConcerned = [](FirewallConfig& firewall) {
    return firewall.CarriedOlderPassword();
  };
  return RunPass(database, steps, progress, crypto_messages::kFirstEncryptionProgress);
}

bool DescribeSecretPassFailures(const VSecretPassResult& result, VReportMessageParams& message) {
  if (result.failures.empty()) return false;
  VUnicodeString items;
  for (const VSecretPassFailure& failure : result.failures) {
    if (!items.empty()) items += u"; ";
    VReportMessageParams reason = failure.reason;
    items += failure.kind + u" '" + failure.item + u"'";
    if (reason.IsError()) items += u" (" + reason.GetTextOneLineTrimmed() + u")";
  }
  message.Reset(result.reEncryption ? crypto_messages::kSecretsLeftUnderOldPassphrase
                                    : crypto_messages::kSecretsLeftInOlderForm);
  message.AddInsertFormatted(u"%1!u!", static_cast<uint32_t>(result.failures.size()));
  message.AddInsert(items);
  return true;
}
