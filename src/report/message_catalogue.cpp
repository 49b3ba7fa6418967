#include "report/message_catalogue.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "platform/env.h"
#include "platform/unicode_string.h"
#include "report/catalogue_data.h"

namespace {

std::atomic<int> gLanguage{0};  // 0: not chosen yet

VLanguage LanguageFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(variable);
    if (value && *value) {
      VLanguage language;
      return VParseLanguage(value, language) ? language : VLanguage::English;
    }
  }
  return VLanguage::English;
}

bool ParseHex(std::string_view digits, uint32_t& value) {
  if (digits.size() != 8) return false;
  value = 0;
  for (char c : digits) {
    value <<= 4;
    if (c >= '0' && c <= '9') value |= static_cast<uint32_t>(c - '0');
    else if (c >= 'A' && c <= 'F') value |= static_cast<uint32_t>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') value |= static_cast<uint32_t>(c - 'a' + 10);
    else return false;
  }
  return true;
}

VMessageModule* BuildModule(const char* name, const VCatalogueData& english,
                            const VCatalogueData& french) {
  auto* module = new VMessageModule(name);
  module->Load(VLanguage::English, std::string_view(english.data, english.size));
  module->Load(VLanguage::French, std::string_view(french.data, french.size));
  return module;
}

}  // namespace

bool VParseLanguage(std::string_view name, VLanguage& language) {
  if (name.size() >= 2 && (name[0] == 'f' || name[0] == 'F') && (name[1] == 'r' || name[1] == 'R') &&
      (name.size() == 2 || name[2] == '_' || name[2] == '-' || name[2] == '.' || name[2] == '@')) {
    language = VLanguage::French;
    return true;
  }
  if (name.size() >= 2 && (name[0] == 'e' || name[0] == 'E') && (name[1] == 'n' || name[1] == 'N') &&
      (name.size() == 2 || name[2] == '_' || name[2] == '-' || name[2] == '.' || name[2] == '@')) {
    language = VLanguage::English;
    return true;
  }
  if (name == "C" || name == "POSIX" || name.substr(0, 2) == "C.") {
    language = VLanguage::English;
    return true;
  }
  return false;
}

VLanguage VGetMessageLanguage() {
  int value = gLanguage.load();
  if (value == 0) return LanguageFromEnvironment();
  return static_cast<VLanguage>(value);
}

void VSetMessageLanguage(VLanguage language) { gLanguage = static_cast<int>(language); }
void VResetMessageLanguage() { gLanguage = 0; }

bool VMessageModule::Load(VLanguage language, std::string_view data, std::string* problem) {
  auto& entries = language == VLanguage::French ? french_ : english_;
  size_t pos = 0;
  size_t lineNumber = 0;
  auto nextLine = [&](std::string_view& line) {
    if (pos >= data.size()) return false;
    size_t end = data.find('\n', pos);
    if (end == std::string_view::npos) end = data.size();
    line = data.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    ++lineNumber;
    return true;
  };
  auto fail = [&](const char* what) {
    if (problem) *problem = name_ + ": line " + std::to_string(lineNumber) + ": " + what;
    return false;
  };
  std::string_view line;
  while (nextLine(line)) {
    if (line.empty() || line[0] == '#') continue;
    constexpr std::string_view kHeader = "MessageId=0x";
    uint32_t id = 0;
    if (line.substr(0, kHeader.size()) != kHeader || !ParseHex(line.substr(kHeader.size()), id))
      return fail("expected MessageId=0x followed by eight hexadecimal digits");
    std::string text;
    bool closed = false;
    while (nextLine(line)) {
      if (line == ".") {
        closed = true;
        break;
      }
      // The next entry's header inside a text means this entry lost its closing line: taking it
      // as text would leave the next id without any.
      if (line.substr(0, kHeader.size()) == kHeader)
        return fail("message text not ended by a line holding a single '.' before the next entry");
      text.append(line);
      text.append("\r\n");
    }
    if (!closed) return fail("message text not ended by a line holding a single '.'");
    entries[id] = vtext::FromUtf8(text);
  }
  return true;
}

bool VMessageModule::Find(uint32_t id, VLanguage language, std::u16string& text) const {
  if (language == VLanguage::French) {
    if (auto it = french_.find(id); it != french_.end()) {
      text = it->second;
      return true;
    }
  }
  if (auto it = english_.find(id); it != english_.end()) {
    text = it->second;
    return true;
  }
  return false;
}

size_t VMessageModule::Count(VLanguage language) const {
  return (language == VLanguage::French ? french_ : english_).size();
}

const std::map<uint32_t, std::u16string>& VMessageModule::Entries(VLanguage language) const {
  return language == VLanguage::French ? french_ : english_;
}

const VMessageModule* VGetLibraryMessageModule() {
  static const VMessageModule* module =
      BuildModule("library", kLibraryCatalogueEnglish, kLibraryCatalogueFrench);
  return module;
}

const VMessageModule* VGetSystemMessageModule() {
  static const VMessageModule* module =
      BuildModule("system", kSystemCatalogueEnglish, kSystemCatalogueFrench);
  return module;
}

const VMessageModule* VGetHostMessageModule() {
  static const VMessageModule* module = []() -> const VMessageModule* {
    vfs::Env* env = vfs::Env::Default();
    void* self = env->OpenModule(std::string());
    if (!self) return nullptr;
    using Getter = const VMessageModule* (*)();
    auto getter = reinterpret_cast<Getter>(env->FindSymbol(self, "QuillaneHostMessageModule"));
    return getter ? getter() : nullptr;
  }();
  return module;
}
