// Message ids of the firewall configuration (library catalogue, facility 0x138).
#pragma once

#include <cstdint>

constexpr uint32_t kMsgFirewallMissing = 0xE1380600;                  // %1: name
constexpr uint32_t kMsgFirewallNotSaved = 0xE1380601;                 // %1: name, %2: why
constexpr uint32_t kMsgFirewallPasswordNotReencrypted = 0xE1380602;   // %1: name
constexpr uint32_t kMsgFirewallBuiltIn = 0xE1380603;                  // %1: name
constexpr uint32_t kMsgFirewallNotDeleted = 0xE1380604;               // %1: name, %2: why
constexpr uint32_t kMsgFirewallExists = 0xE1380605;                   // %1: name
