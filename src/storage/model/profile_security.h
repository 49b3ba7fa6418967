// Access-control lists kept with keys: entries of account, allow or deny, and an access mask,
// together with the owner's table of named rights used for the text form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/unicode_string.h"

struct VAccessRight {
  uint32_t mask;
  VUnicodeString name;
};

struct VAccessEntry {
  // An account is a domain and a name; local accounts carry the computer's name as domain.
  VUnicodeString domain;
  VUnicodeString name;
  bool allow = true;
  uint32_t mask = 0;
  bool operator==(const VAccessEntry& other) const {
    return domain == other.domain && name == other.name && allow == other.allow &&
           mask == other.mask;
  }
};

class VProfileSecurity {
 public:
  VProfileSecurity() = default;
  explicit VProfileSecurity(std::vector<VAccessRight> rights) : rights_(std::move(rights)) {}

  const std::vector<VAccessEntry>& Entries() const { return entries_; }
  const std::vector<VAccessRight>& Rights() const { return rights_; }
  void SetRights(std::vector<VAccessRight> rights) { rights_ = std::move(rights); }
  void AddEntry(const VAccessEntry& entry) { entries_.push_back(entry); }
  void Clear() { entries_.clear(); }

  // The account text of an entry: "domain\name", "name@domain" for a dotted domain, the bare
  // name without a domain; the local computer's name is written as "localhost".
  static VUnicodeString FormatAccount(const VAccessEntry& entry);
  // One list element per entry: "account,allow|deny,right right ...".
  VStringArray ToStrings() const;
  // Parses the list form; false (and nothing kept) when an element cannot be read.
  bool FromStrings(const VStringArray& lines);
  // Reads a self-relative security descriptor (revision 1); accounts become their SID text.
  bool FromSecurityDescriptor(const uint8_t* data, size_t size);

  // Permission bits for files and folders created with this list: entries that allow only the
  // current user give owner-only modes.
  bool IsOwnerOnly() const;

 private:
  std::vector<VAccessEntry> entries_;
  std::vector<VAccessRight> rights_;
};
