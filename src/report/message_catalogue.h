// Message catalogues: texts by 32-bit id in English (1033) and French (3084), kept as data files
// compiled into the program. The library, the system texts and the host each have one.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

enum class VLanguage : uint16_t { English = 1033, French = 3084 };

// The language texts are shown in: set by the host (--lang), else taken from LC_ALL, LC_MESSAGES
// or LANG ("fr..." gives French).
VLanguage VGetMessageLanguage();
void VSetMessageLanguage(VLanguage language);
bool VParseLanguage(std::string_view name, VLanguage& language);  // "en", "fr", "fr_CA.UTF-8"...
// Forgets an explicit choice so the environment decides again (tests).
void VResetMessageLanguage();

class VMessageModule {
 public:
  explicit VMessageModule(std::string name) : name_(std::move(name)) {}
  // Adds the entries of one catalogue file of `language` (UTF-8 text; see messages/).
  // Returns false when the data is malformed; entries read before the fault are kept.
  bool Load(VLanguage language, std::string_view data, std::string* problem = nullptr);

  // The text of `id` in `language`, else in English; false when the module has no such id.
  bool Find(uint32_t id, VLanguage language, std::u16string& text) const;
  size_t Count(VLanguage language) const;
  const std::string& Name() const { return name_; }
  // Every id of `language`, in order.
  const std::map<uint32_t, std::u16string>& Entries(VLanguage language) const;

 private:
  std::string name_;
  std::map<uint32_t, std::u16string> english_;
  std::map<uint32_t, std::u16string> french_;
};

// The library's own messages (facility 0x138).
const VMessageModule* VGetLibraryMessageModule();
// Texts of the operating system's error codes (ids without the customer flag).
const VMessageModule* VGetSystemMessageModule();
// The host executable's catalogue: found once through the symbol "QuillaneHostMessageModule" that
// the host exports; null when the host has none.
const VMessageModule* VGetHostMessageModule();
