// The settings of the Telnet module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define TELNET_CONFIG_MEMBERS(SETTING, OBJECT)                                                     \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[Telnet] Port", 23, .Clamp(1, 65535))                             \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  /* Sends each key at once instead of a line at a time. */                                        \
  SETTING(VProfile<bool>, forceCharacterMode, u"[Telnet] Force Character Mode", false)             \
  /* Tells the server the window size when it changes. */                                          \
  SETTING(VProfile<bool>, sendWindowSize, u"[Telnet] Send Window Size", true)                      \
  SETTING(VProfile<bool>, binaryMode, u"[Telnet] Binary Mode", false)
