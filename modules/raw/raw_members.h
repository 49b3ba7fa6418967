// The settings of the Raw module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define RAW_CONFIG_MEMBERS(SETTING, OBJECT)                                                        \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[Raw] Port", 23, .Clamp(1, 65535))                                \
  /* Sends carriage return and line feed for Enter instead of carriage return alone. */            \
  SETTING(VProfile<bool>, sendCrLf, u"[Raw] Send CRLF", false)
