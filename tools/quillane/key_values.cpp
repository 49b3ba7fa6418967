#include "quillane/key_values.h"

#include "quillane/cli.h"
#include "quillane/text_escape.h"
#include "storage/values/setting_text.h"

namespace cli {

const char* KindName(int type) {
  switch (type) {
    case kProfileTypeDword: return "dword";
    case kProfileTypeString: return "string";
    case kProfileTypeBinary: return "binary";
    case kProfileTypeMultiSz: return "multi";
    default: return "unknown";
  }
}

int KindFromName(const std::string& name) {
  for (int type = 0; type <= 3; ++type) {
    if (name == KindName(type)) return type;
  }
  return -1;
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  return VFormatSettingBytes(bytes.data(), bytes.size()).ToUtf8();
}

bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& bytes) {
  return VParseSettingBytes(VUnicodeString::FromUtf8(text), bytes);
}

std::string ValueText(const VStoredValue& value, bool oneLine) {
  switch (value.type) {
    case kProfileTypeDword: return std::to_string(value.dword);
    case kProfileTypeString: return EscapeText(value.text);
    case kProfileTypeBinary: return HexBytes(value.bytes);
    case kProfileTypeMultiSz: {
      std::string out;
      bool first = true;
      for (const auto& item : value.list) {
        if (!first) out += oneLine ? "\\n" : "\n";
        out += EscapeText(item);
        first = false;
      }
      return out;
    }
    default: return std::string();
  }
}

Json ValueJson(const VStoredValue& value) {
  switch (value.type) {
    case kProfileTypeDword: return Json(value.dword);
    case kProfileTypeString: return Json(Utf8(value.text));
    case kProfileTypeBinary: return Json(HexBytes(value.bytes));
    case kProfileTypeMultiSz: {
      Json list = Json::Array();
      for (const auto& item : value.list) list.Push(Utf8(item));
      return list;
    }
    default: return Json();
  }
}

}  // namespace cli
