// The settings of the SFTP module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define SFTP_CONFIG_MEMBERS(SETTING, OBJECT)                                                       \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[SFTP] Port", 22, .Clamp(1, 65535))                               \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  SETTING(qmodule::FilePath, identityFile, u"Identity Filename V2")                                \
  SETTING(qmodule::ChoiceList<qmodule::kSftpAuthenticationMethods>, authenticationMethods,         \
          u"[SFTP] Authentication Methods",                                                        \
          u"publickey,keyboard-interactive,password")                                              \
  SETTING(VProfile<bool>, compression, u"[SFTP] Compression", false)                               \
  /* The remote folder shown after connecting; empty: the login folder. */                         \
  SETTING(VProfileString, initialRemoteDirectory, u"[SFTP] Initial Remote Directory")
