#include "quillane/key_values.h"

#include "quillane/cli.h"

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

bool ReadValue(const VProfileKey& key, const VUnicodeString& name, int type, StoredValue& value) {
  value.type = type;
  switch (type) {
    case kProfileTypeDword: return key.ReadDword(name.c_str(), value.dword);
    case kProfileTypeString: return key.ReadString(name.c_str(), value.text);
    case kProfileTypeBinary: {
      VDword size = 0;
      if (!key.ReadBinary(name.c_str(), nullptr, size)) return false;
      value.bytes.resize(size);
      if (!key.ReadBinary(name.c_str(), value.bytes.data(), size)) return false;
      value.bytes.resize(size);
      return true;
    }
    case kProfileTypeMultiSz: return key.ReadMultiSz(name.c_str(), value.list);
    default: return false;
  }
}

bool WriteValue(VProfileKey& key, const VUnicodeString& name, const StoredValue& value) {
  switch (value.type) {
    case kProfileTypeDword: return key.WriteDword(name.c_str(), value.dword);
    case kProfileTypeString: return key.WriteString(name.c_str(), value.text.c_str());
    case kProfileTypeBinary:
      return key.WriteBinary(name.c_str(), value.bytes.data(), static_cast<VDword>(value.bytes.size()));
    case kProfileTypeMultiSz: return key.WriteMultiSz(name.c_str(), value.list);
    default: return false;
  }
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& bytes) {
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  bytes.clear();
  std::string compact;
  for (char c : text) {
    if (c != ' ') compact.push_back(c);
  }
  if (compact.size() % 2) return false;
  for (size_t i = 0; i < compact.size(); i += 2) {
    int hi = digit(compact[i]);
    int lo = digit(compact[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  return true;
}

std::string ValueText(const StoredValue& value, bool oneLine) {
  switch (value.type) {
    case kProfileTypeDword: return std::to_string(value.dword);
    case kProfileTypeString: return Utf8(value.text);
    case kProfileTypeBinary: return HexBytes(value.bytes);
    case kProfileTypeMultiSz: {
      std::string out;
      bool first = true;
      for (const auto& item : value.list) {
        if (!first) out += oneLine ? "\\n" : "\n";
        out += Utf8(item);
        first = false;
      }
      return out;
    }
    default: return std::string();
  }
}

Json ValueJson(const StoredValue& value) {
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
