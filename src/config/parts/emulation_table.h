// The terminal emulations a session may choose, in the order the options pages list them. The
// table is built at start-up; the "Hollin" emulation is listed only on installations that have it.
#pragma once

#include <string_view>
#include <vector>

#include "platform/unicode_string.h"

// Builds the table: VT100, VT102, VT220, VT320, then "Hollin" when `withHollin`, then ANSI,
// SCOANSI, Linux, Xterm, WYSE50, WYSE60, Dumb and TN3270. Called by the library's start-up and
// by hosts that know whether the emulation is installed.
void BuildEmulationTable(bool withHollin);
// The table (built without "Hollin" on first use when nobody built it).
std::vector<VUnicodeString> GetEmulationTable();
// Whether the fifth emulation of the table is "Hollin". A table shorter than five entries is a
// programming error (std::out_of_range).
bool HasHollinEmulation();
// The table's spelling of `name` compared without regard to case; "SCO-ANSI" is the older name
// of "SCOANSI". Empty when the table has no such emulation.
VUnicodeString FindEmulation(std::u16string_view name);

inline constexpr const char16_t* kEmulationXterm = u"Xterm";
inline constexpr const char16_t* kEmulationTn3270 = u"TN3270";
inline constexpr const char16_t* kEmulationHollin = u"Hollin";
