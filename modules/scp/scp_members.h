// The settings of the SCP module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define SCP_CONFIG_MEMBERS(SETTING, OBJECT)                                                        \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[SCP] Port", 22, .Clamp(1, 65535))                                \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  SETTING(qmodule::FilePath, identityFile, u"Identity Filename V2")                                \
  /* Copies keep their modification times. */                                                      \
  SETTING(VProfile<bool>, preserveTimes, u"[SCP] Preserve Times", true)                            \
  SETTING(VProfile<bool>, compression, u"[SCP] Compression", false)
