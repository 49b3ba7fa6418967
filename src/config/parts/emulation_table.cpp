#include "config/parts/emulation_table.h"

#include <mutex>

namespace {

std::mutex gMutex;
std::vector<VUnicodeString> gTable;

void BuildLocked(bool withHollin) {
  gTable.clear();
  for (const char16_t* name : {u"VT100", u"VT102", u"VT220", u"VT320"}) gTable.emplace_back(name);
  if (withHollin) gTable.emplace_back(kEmulationHollin);
  for (const char16_t* name : {u"ANSI", u"SCOANSI", u"Linux", kEmulationXterm, u"WYSE50",
                               u"WYSE60", u"Dumb", kEmulationTn3270})
    gTable.emplace_back(name);
}

}  // namespace

void BuildEmulationTable(bool withHollin) {
  std::lock_guard<std::mutex> lock(gMutex);
  BuildLocked(withHollin);
}

std::vector<VUnicodeString> GetEmulationTable() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gTable.empty()) BuildLocked(false);
  return gTable;
}

bool HasHollinEmulation() {
  std::vector<VUnicodeString> table = GetEmulationTable();
  return table.at(4) == kEmulationHollin;
}

VUnicodeString FindEmulation(std::u16string_view name) {
  if (vtext::EqualsNoCase(name, u"SCO-ANSI")) name = u"SCOANSI";
  for (const VUnicodeString& emulation : GetEmulationTable()) {
    if (vtext::EqualsNoCase(emulation, name)) return emulation;
  }
  return VUnicodeString();
}
