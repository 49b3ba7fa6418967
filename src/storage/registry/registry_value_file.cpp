#include "storage/registry/registry_value_file.h"

#include "storage/ini/ini_entry_scan.h"
#include "storage/text/text_file.h"

namespace {

bool IsBlank(std::u16string_view text) {
  for (char16_t c : text) {
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') return false;
  }
  return true;
}

}  // namespace

void VRegistryValueFile::Parse(std::string_view bytes) {
  entries_.clear();
  unread_.clear();
  std::string converted;
  std::string_view text = VIniTextAsUtf8(bytes, converted);
  size_t stop = VScanIniEntries(
      text,
      [this](const VIniRawEntry& entry) {
        Set(VUnicodeString(vtext::FromUtf8(entry.name)), VMakeIniData(entry));
      },
      VIniLineKinds::Registry);
  // Blank lines before the unread text are dropped (Serialize puts one back), so that the file
  // does not grow by a line at every write.
  std::u16string rest = vtext::FromUtf8(text.substr(stop));
  VTextFile::LineReader lines(rest);
  std::u16string_view line;
  size_t firstKept = 0;
  while (lines.Next(line) && IsBlank(line)) firstKept = lines.Position();
  if (firstKept < rest.size()) unread_.assign(std::u16string_view(rest).substr(firstKept));
}

size_t VRegistryValueFile::IndexOf(std::u16string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (vtext::EqualsNoCase(entries_[i].name, name)) return i;
  }
  return entries_.size();
}

VIniFileData* VRegistryValueFile::Find(std::u16string_view name) const {
  size_t index = IndexOf(name);
  return index < entries_.size() ? entries_[index].data.get() : nullptr;
}

void VRegistryValueFile::Set(const VUnicodeString& name, std::unique_ptr<VIniFileData> data) {
  size_t index = IndexOf(name);
  if (index < entries_.size()) {
    entries_[index].data = std::move(data);
  } else {
    entries_.push_back({name, std::move(data)});
  }
}

bool VRegistryValueFile::Remove(std::u16string_view name) {
  size_t index = IndexOf(name);
  if (index >= entries_.size()) return false;
  entries_.erase(entries_.begin() + static_cast<long>(index));
  return true;
}

std::string VRegistryValueFile::Serialize() const {
  VTextFile file;
  for (const auto& entry : entries_) entry.data->Write(file, entry.name);
  if (!unread_.empty()) {
    // A blank line first, so that no reader ever takes the kept text for values.
    file.WriteLine(u"");
    file.Write(unread_);
  }
  return file.Bytes();
}
