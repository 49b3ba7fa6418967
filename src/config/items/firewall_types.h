// The kinds of proxy a firewall can be: the number programs use, the name stored in "Firewall
// Type", whether a user name and password may be asked for, and the message that names the kind
// for people. Types 7 to 11 are the login conventions of FTP proxies, named after the command the
// client sends to the proxy.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/unicode_string.h"

struct FirewallTypeInfo {
  int number;
  const char16_t* storedName;
  bool needsCredentials;
  uint32_t displayNameId;
};

// The types in table order (the all-zero row that ends the table is not part of the span).
std::span<const FirewallTypeInfo> FirewallTypes();
// The row of `number`, or null.
const FirewallTypeInfo* FindFirewallType(int number);
// The number of the first type whose stored name equals `storedName` without regard to case; 0
// ("None") for a name no type has.
int GetFirewallTypeNumber(std::u16string_view storedName);
// The port the properties dialog offers when the user picks type `number`: 1080 for SOCKS, 8080
// for HTTP, 21 for the FTP proxies; 0 (leave the port as it is) otherwise.
unsigned short GetFirewallDefaultPort(int number);
// The display name of type `number` from the message catalogue (empty for an unknown number).
VUnicodeString GetFirewallTypeDisplayName(int number);
