// The terminal part of a session: emulation, screen size, appearance, keyboard, modes. Its
// values live in the session's own key and load before the session's other settings.
#pragma once

#include "config/highlight/profile_item_name.h"
#include "config/keymap/profile_keymap.h"
#include "config/parts/optional_list.h"
#include "config/session/terminal_config_members.h"
#include "storage/values/profile_path.h"
#include "storage/values/profile_values.h"

// The IBM terminal models a TN3270 session may be, with the screen each one fixes.
struct Tn3270Model {
  const char16_t* terminalType;
  int rows;
  int cols;
};
// The models in order; the first is what an unknown type becomes.
extern const Tn3270Model kTn3270Models[4];

class TerminalConfig : public VProfileComposite {
 public:
  TerminalConfig() = default;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // The settings, in load order (terminal_config_members.h).
  QL_MEMBERS(TERMINAL_CONFIG_MEMBERS)

 protected:
  void OnBeforeLoad(const VProfileKey* key) override;
  void OnAfterLoad(const VProfileKey* key) override;

 private:
  void DefaultAnsiColors(VProfileCustomColors& value, const VProfileKey* key);
  void DefaultResizeMode(VProfile<int>& value, const VProfileKey* key);
  void DefaultFont(VProfileLogFont& value, const VProfileKey* key);
  void DefaultUnicodeLineDrawing(VProfile<bool>& value, const VProfileKey* key);
  void DefaultColumnSwitching(VProfile<bool>& value, const VProfileKey* key);
  void DefaultXterm256Color(VProfile<bool>& value, const VProfileKey* key);

  bool clearTerminalType_ = false;  // "Xterm-256color" was the type: the flag replaces it
};
