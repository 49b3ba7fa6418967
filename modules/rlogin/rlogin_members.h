// The settings of the RLogin module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define RLOGIN_CONFIG_MEMBERS(SETTING, OBJECT)                                                     \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[RLogin] Port", 513, .Clamp(1, 65535))                            \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  /* The line speed the server is told at login. */                                                \
  SETTING(VProfile<int>, terminalSpeed, u"[RLogin] Terminal Speed", 38400, .Clamp(0, 4000000))
