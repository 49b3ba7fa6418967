#include "config/items/firewall_types.h"

#include "report/report_message_params.h"

namespace {

constexpr FirewallTypeInfo kFirewallTypes[] = {
    {0, u"None", false, 0x6137008E},
    {1, u"Generic Proxy", false, 0x6137008F},
    {2, u"SOCKSv4", false, 0x61370090},
    {3, u"SOCKSv5", false, 0x61370091},
    {4, u"SOCKSv5_USERPASS", true, 0x61370092},
    {5, u"HTTP", false, 0x61370093},
    {6, u"HTTP_BASICAUTH", true, 0x61370094},
    {7, u"OPEN host", false, 0x61370095},
    {8, u"USER user@host:port", false, 0x61370096},
    {9, u"USER user@host port", false, 0x61370097},
    {10, u"USER user@host port (with login)", true, 0x61370098},
    {11, u"USER user@host login", true, 0x61370099},
    {0, nullptr, false, 0},
};

constexpr unsigned short kSocksPort = 1080;
constexpr unsigned short kHttpPort = 8080;
constexpr unsigned short kFtpPort = 21;

}  // namespace

std::span<const FirewallTypeInfo> FirewallTypes() {
  return std::span<const FirewallTypeInfo>(kFirewallTypes, std::size(kFirewallTypes) - 1);
}

const FirewallTypeInfo* FindFirewallType(int number) {
  for (const FirewallTypeInfo& type : FirewallTypes()) {
    if (type.number == number) return &type;
  }
  return nullptr;
}

int GetFirewallTypeNumber(std::u16string_view storedName) {
  for (const FirewallTypeInfo& type : FirewallTypes()) {
    if (vtext::EqualsNoCase(storedName, type.storedName)) return type.number;
  }
  return 0;
}

unsigned short GetFirewallDefaultPort(int number) {
  if (number >= 2 && number <= 4) return kSocksPort;
  if (number == 5 || number == 6) return kHttpPort;
  if (number >= 7 && number <= 11) return kFtpPort;
  return 0;
}

VUnicodeString GetFirewallTypeDisplayName(int number) {
  const FirewallTypeInfo* type = FindFirewallType(number);
  if (!type) return VUnicodeString();
  VReportMessageParams name(type->displayNameId);
  return name.GetTextTrimmed();
}
