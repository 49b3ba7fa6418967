// How the command line shows stored values: kinds by name, values as text or JSON.
#pragma once

#include <string>
#include <vector>

#include "quillane/json.h"
#include "storage/profile_store.h"

namespace cli {

struct StoredValue {
  int type = -1;  // 0 dword, 1 string, 2 binary, 3 multi
  VDword dword = 0;
  VUnicodeString text;
  std::vector<uint8_t> bytes;
  VStringArray list;
};

const char* KindName(int type);
int KindFromName(const std::string& name);  // -1 when unknown

// Reads a value of the given type; false when absent or of another kind.
bool ReadValue(const VProfileKey& key, const VUnicodeString& name, int type, StoredValue& value);
bool WriteValue(VProfileKey& key, const VUnicodeString& name, const StoredValue& value);

std::string HexBytes(const std::vector<uint8_t>& bytes);
// Decodes hexadecimal digits (pairs, optional spaces); false when malformed.
bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& bytes);

// Text form: a number in decimal, bytes in hexadecimal; a list one element a line, or, with
// `oneLine`, joined by "\n".
std::string ValueText(const StoredValue& value, bool oneLine);
Json ValueJson(const StoredValue& value);

}  // namespace cli
