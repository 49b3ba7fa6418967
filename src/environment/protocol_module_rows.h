// The fixed table of protocol modules: which protocols each product offers and in which module
// file each one lives. Several rows may share a file ("SSH1" is served by the SSH2 module).
#pragma once

#include <span>

#include "platform/unicode_string.h"

struct ProtocolModuleRow {
  int productId;
  const char16_t* protocolName;  // stored in sessions
  const char16_t* displayName;   // shown to people
  const char16_t* moduleName;    // the file's base name; null: the protocol's own name
};

// Every row in table order.
std::span<const ProtocolModuleRow> ProtocolModuleRows();

// The module file of a row: its base name with the shared-library suffix ("SSH2.so").
VUnicodeString ProtocolModuleFileName(const ProtocolModuleRow& row);

// Protocols with their own rule at registration.
inline constexpr const char16_t* kSsh1Protocol = u"SSH1";
inline constexpr const char16_t* kSsh2Protocol = u"SSH2";
inline constexpr const char16_t* kTelephonyProtocol = u"TAPI";
// The marker beside the SSH2 module that allows the older SSH1 protocol.
inline constexpr char kSsh1EnableMarker[] = "SSH1.enable";

// The protocols carried over TLS, which a FIPS setting may rule out.
bool IsTlsProtocol(std::u16string_view protocolName);
