// The two prompts a firewall shows at connect time when its type needs credentials that are not
// saved: "Enter Firewall Username" and "Enter Firewall Password". The options user interface
// registers its dialogs here; without them nothing can be asked and the getters report no value.
#pragma once

#include "platform/unicode_string.h"

class IFirewallCredentialPrompts {
 public:
  virtual ~IFirewallCredentialPrompts() = default;
  // Each shows its prompt over `parent`. `save` is the save check box: its initial state on entry,
  // the user's choice on return. True with `text` when the user confirmed, false when cancelled.
  virtual bool AskUsername(VUnicodeString& text, bool& save, void* parent) = 0;
  virtual bool AskPassword(VUnicodeString& text, bool& save, void* parent) = 0;
};

// The prompts in use (null: none registered). The caller keeps the object alive while registered.
void SetFirewallCredentialPrompts(IFirewallCredentialPrompts* prompts);
IFirewallCredentialPrompts* GetFirewallCredentialPrompts();
