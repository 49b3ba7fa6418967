// The firewalls of the item database: the list offered to sessions and opening one by name.
#include "config/items/firewall_config.h"
#include "config/database/session_database.h"

VStringArray SessionDatabase::ListFirewalls() {
  // A session can always go without a firewall, so "None" leads even when nothing is stored.
  VStringArray names{VUnicodeString(kNoFirewallName)};
  for (const VUnicodeString& name : ListItems(ItemCollection::Firewalls)) names.Add(name);
  return names;
}

VRef<FirewallConfig> SessionDatabase::OpenFirewall(const VUnicodeString& name) {
  VRef<NamedItemConfig> item = LoadItem(ItemCollection::Firewalls, name);
  auto* firewall = dynamic_cast<FirewallConfig*>(item.Get());
  if (!firewall) return VRef<FirewallConfig>();
  firewall->AddRef();
  return VRef<FirewallConfig>(firewall);
}
