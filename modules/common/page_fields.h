// The pieces of the option pages that the modules share: the catalogue ids of their labels
// (texts in messages/ui_*.msg, so they are translated with the dialog around them) and the
// fields of the settings every protocol with a remote host has.
#pragma once

#include "config/session/protocol_page_set.h"

namespace qmodule::pages {

// Labels (informational texts of the user interface's catalogue).
inline constexpr uint32_t kHostname = 0x61391200;
inline constexpr uint32_t kPort = 0x61391201;
inline constexpr uint32_t kUsername = 0x61391202;
inline constexpr uint32_t kPassword = 0x61391203;
inline constexpr uint32_t kIdentityFile = 0x61391204;
inline constexpr uint32_t kAuthenticationMethods = 0x61391205;
inline constexpr uint32_t kAgentForwarding = 0x61391206;
inline constexpr uint32_t kCompression = 0x61391207;
inline constexpr uint32_t kKeepAliveInterval = 0x61391208;
inline constexpr uint32_t kHostKeyAlgorithms = 0x61391209;
inline constexpr uint32_t kStrictHostKeyChecking = 0x6139120A;
inline constexpr uint32_t kAuthenticationPage = 0x6139120B;
inline constexpr uint32_t kForceCharacterMode = 0x6139120C;
inline constexpr uint32_t kSendWindowSize = 0x6139120D;
inline constexpr uint32_t kBinaryMode = 0x6139120E;
inline constexpr uint32_t kVerifyCertificate = 0x6139120F;
inline constexpr uint32_t kCaCertificateFile = 0x61391210;
inline constexpr uint32_t kTerminalSpeed = 0x61391211;
inline constexpr uint32_t kSendCrLf = 0x61391212;
inline constexpr uint32_t kSerialDevice = 0x61391213;
inline constexpr uint32_t kBaudRate = 0x61391214;
inline constexpr uint32_t kDataBits = 0x61391215;
inline constexpr uint32_t kParity = 0x61391216;
inline constexpr uint32_t kStopBits = 0x61391217;
inline constexpr uint32_t kParityNone = 0x61391218;
inline constexpr uint32_t kParityOdd = 0x61391219;
inline constexpr uint32_t kParityEven = 0x6139121A;
inline constexpr uint32_t kParityMark = 0x6139121B;
inline constexpr uint32_t kParitySpace = 0x6139121C;
inline constexpr uint32_t kStopBitsOne = 0x6139121D;
inline constexpr uint32_t kStopBitsOneHalf = 0x6139121E;
inline constexpr uint32_t kStopBitsTwo = 0x6139121F;
inline constexpr uint32_t kDsrFlow = 0x61391220;
inline constexpr uint32_t kCtsFlow = 0x61391221;
inline constexpr uint32_t kXonFlow = 0x61391222;
inline constexpr uint32_t kDtrLine = 0x61391223;
inline constexpr uint32_t kRtsLine = 0x61391224;
inline constexpr uint32_t kLineOff = 0x61391225;
inline constexpr uint32_t kLineOn = 0x61391226;
inline constexpr uint32_t kLineHandshake = 0x61391227;
inline constexpr uint32_t kPassiveMode = 0x61391228;
inline constexpr uint32_t kAnonymousLogin = 0x61391229;
inline constexpr uint32_t kProtectDataChannel = 0x6139122A;
inline constexpr uint32_t kInitialRemoteDirectory = 0x6139122B;
inline constexpr uint32_t kPreserveTimes = 0x6139122C;

inline constexpr ProtocolField HostnameField() {
  return {u"Hostname", kHostname, ProtocolFieldKind::Text, true};
}
inline constexpr ProtocolField UsernameField() {
  return {u"Username", kUsername, ProtocolFieldKind::Text};
}
inline constexpr ProtocolField PasswordField() {
  return {u"Password V2", kPassword, ProtocolFieldKind::Password};
}
inline constexpr ProtocolField IdentityField() {
  return {u"Identity Filename V2", kIdentityFile, ProtocolFieldKind::File};
}
// A TCP port, stored under the protocol's own name.
inline constexpr ProtocolField PortField(const char16_t* setting) {
  return {setting, kPort, ProtocolFieldKind::Number, true, 1, 65535};
}
inline constexpr ProtocolField CheckField(const char16_t* setting, uint32_t label) {
  return {setting, label, ProtocolFieldKind::Check};
}

}  // namespace qmodule::pages
