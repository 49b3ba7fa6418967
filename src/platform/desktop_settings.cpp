#include "platform/desktop_settings.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/app_info.h"

namespace vdesktop {
namespace {

// The few fontconfig entry points the question needs, with their C signatures.
using FcBool = int;
struct FcPattern;
struct FcConfig;
constexpr int kFcMatchPattern = 0;
constexpr int kFcResultMatch = 0;
using InitFn = FcBool (*)();
using PatternCreateFn = FcPattern* (*)();
using PatternDestroyFn = void (*)(FcPattern*);
using ConfigSubstituteFn = FcBool (*)(FcConfig*, FcPattern*, int);
using DefaultSubstituteFn = void (*)(FcPattern*);
using PatternGetBoolFn = int (*)(const FcPattern*, const char*, int, FcBool*);

bool AskFontconfig() {
  // The handle stays open: fontconfig keeps its configuration for the rest of the process.
  void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!library) return false;
  auto init = reinterpret_cast<InitFn>(dlsym(library, "FcInit"));
  auto create = reinterpret_cast<PatternCreateFn>(dlsym(library, "FcPatternCreate"));
  auto destroy = reinterpret_cast<PatternDestroyFn>(dlsym(library, "FcPatternDestroy"));
  auto substitute = reinterpret_cast<ConfigSubstituteFn>(dlsym(library, "FcConfigSubstitute"));
  auto defaults = reinterpret_cast<DefaultSubstituteFn>(dlsym(library, "FcDefaultSubstitute"));
  auto getBool = reinterpret_cast<PatternGetBoolFn>(dlsym(library, "FcPatternGetBool"));
  if (!init || !create || !destroy || !substitute || !defaults || !getBool || !init())
    return false;
  FcPattern* pattern = create();
  if (!pattern) return false;
  FcBool antialias = 0;
  bool known = false;
  // The user's and the system's rules are applied as they would be for a real font request.
  if (substitute(nullptr, pattern, kFcMatchPattern)) {
    defaults(pattern);
    known = getBool(pattern, "antialias", 0, &antialias) == kFcResultMatch;
  }
  destroy(pattern);
  return known && antialias != 0;
}

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// The first entry of a layout list, without its variant: "gb(extd),de" gives "gb". A layout
// name is one word of letters, digits, '_' and '-'; whatever follows it is not part of it.
std::string FirstLayout(std::string_view list) {
  list = Trim(list);
  size_t end = 0;
  while (end < list.size() && (std::isalnum(static_cast<unsigned char>(list[end])) ||
                               list[end] == '_' || list[end] == '-'))
    ++end;
  return std::string(list.substr(0, end));
}

}  // namespace

bool FontSmoothingEnabled() {
  static std::once_flag once;
  static bool enabled = false;
  std::call_once(once, [] { enabled = AskFontconfig(); });
  return enabled;
}

std::string LayoutFromKeyboardDefaults(std::string_view text) {
  std::string layout;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    constexpr std::string_view kName = "XKBLAYOUT";
    if (line.substr(0, kName.size()) != kName) continue;
    std::string_view rest = Trim(line.substr(kName.size()));
    if (rest.empty() || rest.front() != '=') continue;
    rest = Trim(rest.substr(1));
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
      char quote = rest.front();
      rest.remove_prefix(1);
      size_t close = rest.find(quote);
      if (close == std::string_view::npos) continue;  // an unfinished value names nothing
      rest = rest.substr(0, close);
    } else if (size_t comment = rest.find('#'); comment != std::string_view::npos) {
      rest = rest.substr(0, comment);
    }
    // The shell reads the file top to bottom: the last assignment counts.
    layout = FirstLayout(rest);
  }
  return layout;
}

std::string KeyboardLayout() {
  std::string layout = FirstLayout(vapp::GetEnv("XKB_DEFAULT_LAYOUT"));
  if (!layout.empty()) return layout;
  std::ifstream file("/etc/default/keyboard", std::ios::binary);
  if (file) {
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    layout = LayoutFromKeyboardDefaults(text);
    if (!layout.empty()) return layout;
  }
  return "us";
}

bool IsEnglishLayout(std::string_view layout) {
  static constexpr std::string_view kEnglish[] = {"us", "gb", "uk", "au", "ie", "nz", "za"};
  std::string first = FirstLayout(layout);
  std::transform(first.begin(), first.end(), first.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find(std::begin(kEnglish), std::end(kEnglish), first) != std::end(kEnglish);
}

VUnicodeString TemporaryFolder() {
  std::string folder = vapp::GetEnv("TMPDIR");
  if (folder.empty()) folder = "/tmp";
  return VUnicodeString::FromUtf8(folder);
}

}  // namespace vdesktop
