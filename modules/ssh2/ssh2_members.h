// The settings of the SSH2 module's protocols, in load order (see QL_MEMBERS).
#pragma once

#define SSH2_CONFIG_MEMBERS(SETTING, OBJECT)                                                       \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[SSH2] Port", 22, .Clamp(1, 65535))                               \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  SETTING(qmodule::FilePath, identityFile, u"Identity Filename V2")                                \
  /* Tried in this order until one succeeds. */                                                    \
  SETTING(qmodule::ChoiceList<qmodule::kSsh2AuthenticationMethods>, authenticationMethods,         \
          u"[SSH2] Authentication Methods",                                                        \
          u"publickey,keyboard-interactive,password")                                              \
  SETTING(VProfile<bool>, agentForwarding, u"[SSH2] Agent Forwarding", false)                      \
  SETTING(VProfile<bool>, compression, u"[SSH2] Compression", false)                               \
  /* Seconds between keep-alive messages; 0 sends none. */                                         \
  SETTING(VProfile<int>, keepAliveInterval, u"[SSH2] Keep Alive Interval", 0, .Clamp(0, 86400))    \
  SETTING(qmodule::ChoiceList<qmodule::kSsh2HostKeyAlgorithms>, hostKeyAlgorithms,                 \
          u"[SSH2] Host Key Algorithms",                                                           \
          u"ssh-ed25519,ecdsa-sha2-nistp256,rsa-sha2-512,rsa-sha2-256")                            \
  SETTING(VProfile<bool>, strictHostKeyChecking, u"[SSH2] Strict Host Key Checking", true)

#define SSH1_CONFIG_MEMBERS(SETTING, OBJECT)                                                       \
  OBJECT(RemoteHostConfig, remoteHost)                                                             \
  SETTING(VProfile<int>, port, u"[SSH1] Port", 22, .Clamp(1, 65535))                               \
  SETTING(VProfileEncryptedString, password, u"Password V2")                                       \
  SETTING(qmodule::FilePath, identityFile, u"Identity Filename V2")                                \
  SETTING(VProfile<bool>, compression, u"[SSH1] Compression", false)
