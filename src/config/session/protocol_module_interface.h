// What a protocol module file exports, and the identifier that tells a module built for this
// library's protocol interface from any other shared library of the same name. The host calls
// the exports in this order: GetProtocolGuid, LoadProtocol (once per protocol the module
// serves), and UnloadProtocol and CleanUpAggregator when it lets the module go.
#pragma once

#include <array>
#include <cstdint>

#include "config/session/connect_protocol_table.h"

inline constexpr char kGetProtocolGuidExport[] = "GetProtocolGuid";
inline constexpr char kLoadProtocolExport[] = "LoadProtocol";
inline constexpr char kUnloadProtocolExport[] = "UnloadProtocol";
inline constexpr char kCleanUpAggregatorExport[] = "CleanUpAggregator";

// {59F07B11-A842-45D4-A247-C08702B2A1CA} in its memory layout: the first three fields little
// endian, the last eight bytes as written.
using VProtocolGuid = std::array<uint8_t, 16>;
inline constexpr VProtocolGuid kProtocolInterfaceGuid = {
    0x11, 0x7B, 0xF0, 0x59, 0x42, 0xA8, 0xD4, 0x45,
    0xA2, 0x47, 0xC0, 0x87, 0x02, 0xB2, 0xA1, 0xCA};

// The signature of GetProtocolGuid: writes the module's 16-byte interface identifier.
using ProtocolGuidFunction = void (*)(uint8_t* guid);

// LoadProtocol receives the entry of one table row, with its protocol name, display name, product
// and module path filled in; the module sets the factory and the callbacks it needs and returns
// true, or returns false with the reason in `error`. The entry is registered only afterwards,
// so a module that fails or throws leaves no row behind.
extern "C" {
using ProtocolGuidExport = void(uint8_t* guid);
using LoadProtocolExport = bool(void* applicationContext, ConnectProtocolEntry* entry,
                                VReportMessageParams* error);
using UnloadProtocolExport = void(ConnectProtocolEntry* entry);
using CleanUpAggregatorExport = void();
}
