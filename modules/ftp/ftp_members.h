// The settings of the FTP module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define FTP_CONFIG_MEMBERS(SETTING, OBJECT)                                                        \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[FTP] Port", 21, .Clamp(1, 65535))                                \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  /* The client opens the data connections, which passes firewalls and address translation. */     \
  SETTING(VProfile<bool>, passiveMode, u"[FTP] Passive Mode", true)                                \
  SETTING(VProfile<bool>, anonymousLogin, u"[FTP] Anonymous Login", false)
