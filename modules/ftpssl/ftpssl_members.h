// The settings of the FTPSSL module's protocols, in load order (see QL_MEMBERS).
#pragma once

// Both protocols keep the same options, each under its own protocol name.
#define FTPS_CONFIG_MEMBERS_(SETTING, OBJECT, TAG, PORT)                                          \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, TAG u"Port", PORT, .Clamp(1, 65535))                                \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  SETTING(VProfile<bool>, passiveMode, TAG u"Passive Mode", true)                                  \
  /* The server's certificate must be valid for the host name and trusted. */                     \
  SETTING(VProfile<bool>, verifyCertificate, TAG u"Verify Certificate", true)                      \
  SETTING(qmodule::FilePath, caCertificateFile, TAG u"CA Certificate File")                        \
  /* Transfers are encrypted as well as the commands. */                                           \
  SETTING(VProfile<bool>, protectDataChannel, TAG u"Protect Data Channel", true)

#define FTPS_IMPLICIT_CONFIG_MEMBERS(SETTING, OBJECT)                                              \
  FTPS_CONFIG_MEMBERS_(SETTING, OBJECT, u"[FTP/SSL (implicit)] ", 990)
#define FTPS_EXPLICIT_CONFIG_MEMBERS(SETTING, OBJECT)                                              \
  FTPS_CONFIG_MEMBERS_(SETTING, OBJECT, u"[FTP/SSL (explicit)] ", 21)
