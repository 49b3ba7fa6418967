// The values of one registry key as its value file holds them. Value names are matched without
// regard to case, as the registry matches them; a value keeps the spelling it was first stored
// under. Values stay in the order they were first stored, which is the order they are listed in.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/ini/ini_file_data.h"

class VRegistryValueFile {
 public:
  struct Entry {
    VUnicodeString name;
    std::unique_ptr<VIniFileData> data;
  };

  // Reads the bytes of a value file (any encoding the text-file layer knows). What follows the
  // first entry that cannot be read is kept aside and written back after the values, so that a
  // change of one value never loses text the reader did not understand.
  void Parse(std::string_view bytes);

  VIniFileData* Find(std::u16string_view name) const;
  // Replaces the data of the value of that name, or appends a new value.
  void Set(const VUnicodeString& name, std::unique_ptr<VIniFileData> data);
  // False when there is no value of that name.
  bool Remove(std::u16string_view name);

  const std::vector<Entry>& Entries() const { return entries_; }
  // The unread remainder of the file (empty when the whole file was read).
  const std::u16string& Unread() const { return unread_; }

  // The file's bytes: UTF-8 with a byte-order mark, CR LF line ends.
  std::string Serialize() const;

 private:
  size_t IndexOf(std::u16string_view name) const;

  std::vector<Entry> entries_;
  std::u16string unread_;
};
