// Adding a firewall from a session's options: an unnamed firewall of defaults is shown in the
// firewall properties dialog in its "new" mode, and on OK saved under the name entered. The dialog
// belongs to the options user interface, which registers it; the rules of what it offers (the
// port that goes with a type) are here.
#pragma once

#include "config/items/firewall_config.h"
#include "report/report_message_params.h"

class IFirewallPropertiesDialog {
 public:
  virtual ~IFirewallPropertiesDialog() = default;
  // Shows `firewall` for a new firewall; true on OK with the name entered in `name`.
  virtual bool ShowNew(FirewallConfig& firewall, VUnicodeString& name) = 0;
};

// The dialog in use (null: none registered). The caller keeps it alive while registered.
void SetFirewallPropertiesDialog(IFirewallPropertiesDialog* dialog);

// True when OK was pressed and the firewall was saved under the name now in `name`. A name that
// is "None" or already taken, or a save that failed, gives false with the reason in `error`.
bool ShowAddNewFirewallDialog(VUnicodeString& name, VReportMessageParams& error);
bool ShowAddNewFirewallDialog(VUnicodeString& name);

// What the properties dialog does when the user picks type `number`: the stored type name
// changes, and the port becomes the type's usual one when it has one (else it stays).
void ChangeFirewallType(FirewallConfig& firewall, int number);
