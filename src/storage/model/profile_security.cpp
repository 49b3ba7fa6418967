#include "storage/model/profile_security.h"

#include <cstring>

#include "platform/app_info.h"

namespace {

VUnicodeString LocalComputer() { return U8(vapp::HostName()); }

std::u16string Trim(std::u16string_view text) {
  size_t start = text.find_first_not_of(u' ');
  if (start == std::u16string_view::npos) return {};
  size_t end = text.find_last_not_of(u' ');
  return std::u16string(text.substr(start, end - start + 1));
}

uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// "S-1-5-21-..." for a SID at `offset`; false when it does not fit in the buffer.
bool SidText(const uint8_t* data, size_t size, size_t offset, VUnicodeString& text) {
  if (offset + 8 > size || data[offset] != 1) return false;
  uint8_t count = data[offset + 1];
  if (count > 15 || offset + 8 + 4u * count > size) return false;
  uint64_t authority = 0;
  for (int i = 0; i < 6; ++i) authority = authority << 8 | data[offset + 2 + static_cast<size_t>(i)];
  std::string out = "S-1-" + std::to_string(authority);
  for (uint8_t i = 0; i < count; ++i) {
    out += "-" + std::to_string(ReadLe32(data + offset + 8 + 4u * i));
  }
  text = U8(out);
  return true;
}

}  // namespace

VUnicodeString VProfileSecurity::FormatAccount(const VAccessEntry& entry) {
  if (entry.domain.empty()) return entry.name;
  if (vtext::EqualsNoCase(entry.domain, LocalComputer())) return u"localhost\\" + entry.name;
  if (entry.domain.find(u'.') != std::u16string::npos) return entry.name + u"@" + entry.domain;
  return entry.domain + u"\\" + entry.name;
}

VStringArray VProfileSecurity::ToStrings() const {
  VStringArray lines;
  for (const auto& entry : entries_) {
    std::u16string rights;
    for (const auto& right : rights_) {
      if (right.mask != 0 && (entry.mask & right.mask) == right.mask) {
        rights += right.name;
        rights += u' ';
      }
    }
    if (!rights.empty()) rights.pop_back();
    lines.Add(FormatAccount(entry) + u"," + (entry.allow ? u"allow" : u"deny") + u"," + rights);
  }
  return lines;
}

bool VProfileSecurity::FromStrings(const VStringArray& lines) {
  std::vector<VAccessEntry> parsed;
  for (const auto& line : lines) {
    size_t first = line.find(u',');
    size_t second = first == std::u16string::npos ? first : line.find(u',', first + 1);
    if (second == std::u16string::npos) return false;
    VAccessEntry entry;
    std::u16string account = Trim(std::u16string_view(line).substr(0, first));
    std::u16string kind = Trim(std::u16string_view(line).substr(first + 1, second - first - 1));
    if (account.empty()) return false;
    if (vtext::EqualsNoCase(kind, u"allow")) entry.allow = true;
    else if (vtext::EqualsNoCase(kind, u"deny")) entry.allow = false;
    else return false;
    if (size_t slash = account.find(u'\\'); slash != std::u16string::npos) {
      entry.domain = account.substr(0, slash);
      entry.name = account.substr(slash + 1);
      if (vtext::EqualsNoCase(entry.domain, u"localhost")) entry.domain = LocalComputer();
    } else if (size_t at = account.rfind(u'@'); at != std::u16string::npos) {
      entry.name = account.substr(0, at);
      entry.domain = account.substr(at + 1);
    } else {
      entry.name = account;
    }
    // Rights are separated by spaces; an unknown right name makes the element unreadable rather
    // than silently granting less (or more) than was stored.
    std::u16string_view rest = std::u16string_view(line).substr(second + 1);
    while (!rest.empty()) {
      size_t space = rest.find(u' ');
      std::u16string_view word = rest.substr(0, space);
      rest = space == std::u16string_view::npos ? std::u16string_view() : rest.substr(space + 1);
      if (word.empty()) continue;
      bool known = false;
      for (const auto& right : rights_) {
        if (right.name == word) {
          entry.mask |= right.mask;
          known = true;
          break;
        }
      }
      if (!known) return false;
    }
    parsed.push_back(entry);
  }
  entries_ = std::move(parsed);
  return true;
}

bool VProfileSecurity::FromSecurityDescriptor(const uint8_t* data, size_t size) {
  // Header: revision, reserved, control, then offsets of owner, group, SACL and DACL.
  constexpr uint16_t kSelfRelative = 0x8000;
  constexpr uint16_t kDaclPresent = 0x0004;
  if (!data || size < 20 || data[0] != 1) return false;
  uint16_t control = ReadLe16(data + 2);
  if (!(control & kSelfRelative)) return false;
  uint32_t daclOffset = ReadLe32(data + 16);
  std::vector<VAccessEntry> parsed;
  if ((control & kDaclPresent) && daclOffset != 0) {
    if (daclOffset + 8 > size) return false;
    const uint8_t* acl = data + daclOffset;
    uint16_t aclSize = ReadLe16(acl + 2);
    uint16_t aceCount = ReadLe16(acl + 4);
    if (acl[0] != 2 && acl[0] != 4) return false;
    if (daclOffset + aclSize > size || aclSize < 8) return false;
    size_t pos = daclOffset + 8;
    size_t end = daclOffset + aclSize;
    for (uint16_t i = 0; i < aceCount; ++i) {
      if (pos + 8 > end) return false;
      uint8_t type = data[pos];
      uint16_t aceSize = ReadLe16(data + pos + 2);
      if (aceSize < 8 || pos + aceSize > end) return false;
      if (type == 0 || type == 1) {  // access allowed / access denied
        VAccessEntry entry;
        entry.allow = type == 0;
        entry.mask = ReadLe32(data + pos + 4);
        if (!SidText(data, pos + aceSize, pos + 8, entry.name)) return false;
        parsed.push_back(entry);
      }
      pos += aceSize;
    }
  }
  entries_ = std::move(parsed);
  return true;
}

bool VProfileSecurity::IsOwnerOnly() const {
  if (entries_.empty()) return false;
  VUnicodeString user = U8(vapp::UserName());
  for (const auto& entry : entries_) {
    if (entry.allow && entry.name != user) return false;
  }
  return true;
}
