// How the command line shows stored values: kinds by name, values as text or JSON.
#pragma once

#include <string>
#include <vector>

#include "quillane/json.h"
#include "storage/values/stored_value.h"

namespace cli {

const char* KindName(int type);
int KindFromName(const std::string& name);  // -1 when unknown

std::string HexBytes(const std::vector<uint8_t>& bytes);
// Decodes pairs of hexadecimal digits (spaces between pairs allowed); false when malformed.
bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& bytes);

// Text form: a number in decimal, bytes in hexadecimal, texts escaped; a list one escaped element
// a line, or, with `oneLine`, the escaped elements joined by "\n".
std::string ValueText(const VStoredValue& value, bool oneLine);
Json ValueJson(const VStoredValue& value);

}  // namespace cli
