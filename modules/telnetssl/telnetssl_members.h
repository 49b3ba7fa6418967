// The settings of the TelnetSSL module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define TELNET_SSL_CONFIG_MEMBERS(SETTING, OBJECT)                                                 \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[Telnet/SSL] Port", 992, .Clamp(1, 65535))                        \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  /* The server's certificate must be valid for the host name and trusted. */                      \
  SETTING(VProfile<bool>, verifyCertificate, u"[Telnet/SSL] Verify Certificate", true)             \
  /* Certificates trusted besides the system's; empty: the system's only. */                       \
  SETTING(qmodule::FilePath, caCertificateFile, u"[Telnet/SSL] CA Certificate File")               \
  SETTING(VProfile<bool>, sendWindowSize, u"[Telnet/SSL] Send Window Size", true)
