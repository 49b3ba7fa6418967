// The settings of RemoteHostConfig, in load order (see QL_MEMBERS).
#pragma once

#define REMOTE_HOST_CONFIG_MEMBERS(SETTING, OBJECT)                                                \
  SETTING(VProfileString, hostname, u"Hostname")                                                   \
  SETTING(VProfileString, firewallName, u"Firewall Name",                                          \
          QL_COMPUTED(RemoteHostConfig::DefaultFirewallName))                                      \
  SETTING(VProfileString, username, u"Username")                                                   \
  SETTING(VProfileEncryptedString, preConnectCommand, u"Local Shell Command Pre-connect V2", ,     \
          .Custom())
