// The firewall list of a session's options: the firewall names, the session a connection goes
// through when the firewall is a session reference ("Session:" and the session's path), an entry
// to pick a session, and optionally one to add a firewall.
#pragma once

#include <QStringList>

#include "platform/unicode_string.h"

class QComboBox;

inline constexpr const char16_t* kSessionFirewallPrefix = u"Session:";

struct VFirewallComboEntries {
  QStringList entries;
  int select = -1;          // the entry standing for the current firewall
  int selectSession = -1;   // the select-session entry
  int newFirewall = -1;     // the new-firewall entry, when offered
};

// `current` not among `names` (a firewall deleted since it was chosen) is listed after them, so
// that the session keeps it unless the user picks another.
VFirewallComboEntries FirewallComboEntries(const VUnicodeString& current, const VStringArray& names,
                                           bool offerNew);

// Fills `combo` and selects the current firewall; `select` receives its position.
void PopulateFirewallComboBox(QComboBox* combo, const VUnicodeString& current,
                              const VStringArray& names, size_t& select, bool offerNew);
