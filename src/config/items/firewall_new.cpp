#include "config/items/firewall_new.h"

#include <mutex>

#include "config/items/firewall_messages.h"
#include "config/items/firewall_types.h"
#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "platform/app_info.h"

namespace {

std::mutex gDialogMutex;
IFirewallPropertiesDialog* gDialog = nullptr;

IFirewallPropertiesDialog* RegisteredDialog() {
  std::lock_guard<std::mutex> lock(gDialogMutex);
  return gDialog;
}

}  // namespace

void SetFirewallPropertiesDialog(IFirewallPropertiesDialog* dialog) {
  std::lock_guard<std::mutex> lock(gDialogMutex);
  gDialog = dialog;
}

bool ShowAddNewFirewallDialog(VUnicodeString& name, VReportMessageParams& error) {
  IFirewallPropertiesDialog* dialog = RegisteredDialog();
  if (!dialog) return false;
  VRef<FirewallConfig> firewall(new FirewallConfig());
  firewall->Load(nullptr, VGetDerivedProductId());
  VUnicodeString entered;
  if (!dialog->ShowNew(*firewall.Get(), entered)) return false;

  SessionDatabase* host = GetSessionDatabase();
  SessionDatabase local;
  SessionDatabase& database = host ? *host : local;
  // "None" is never stored, and saving over another firewall would lose it.
  uint32_t refused = 0;
  if (vtext::EqualsNoCase(entered, kNoFirewallName)) refused = kMsgFirewallBuiltIn;
  else if (database.ItemExists(ItemCollection::Firewalls, entered)) refused = kMsgFirewallExists;
  if (refused) {
    error.Reset(refused);
    error.AddInsert(entered);
    return false;
  }
  firewall->SetItemName(entered);
  VReportMessageParams why;
  if (!database.SaveItem(*firewall.Get(), why)) {
    error.Reset(kMsgFirewallNotSaved);
    error.AddInsert(entered);
    error.AddInsert(why.GetTextOneLineTrimmed());
    return false;
  }
  name = entered;
  return true;
}

bool ShowAddNewFirewallDialog(VUnicodeString& name) {
  VReportMessageParams ignored;
  return ShowAddNewFirewallDialog(name, ignored);
}

void ChangeFirewallType(FirewallConfig& firewall, int number) {
  const FirewallTypeInfo* type = FindFirewallType(number);
  if (!type) return;
  firewall.firewallType = VUnicodeString(type->storedName);
  if (unsigned short port = GetFirewallDefaultPort(number)) firewall.firewallPort = port;
}
