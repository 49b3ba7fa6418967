#include "platform/desktop_settings.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

#include "platform/app_info.h"
#include "platform/env.h"

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
struct FcCharSet;
using NameParseFn = FcPattern* (*)(const unsigned char*);
using FontMatchFn = FcPattern* (*)(FcConfig*, FcPattern*, int*);
using PatternGetCharSetFn = int (*)(const FcPattern*, const char*, int, FcCharSet**);
using CharSetHasCharFn = FcBool (*)(const FcCharSet*, uint32_t);

// The entry points both questions use, resolved once; null when fontconfig is not installed
// or lacks one of them. The handle stays open: fontconfig keeps its configuration for the rest
// of the process.
struct Fontconfig {
  PatternCreateFn create;
  PatternDestroyFn destroy;
  ConfigSubstituteFn substitute;
  DefaultSubstituteFn defaults;
  PatternGetBoolFn getBool;
  NameParseFn parse;
  FontMatchFn match;
  PatternGetCharSetFn getCharSet;
  CharSetHasCharFn hasChar;
};

const Fontconfig* LoadFontconfig() {
  static const Fontconfig* loaded = []() -> const Fontconfig* {
    vfs::Env* env = vfs::Env::Default();
    void* library = env->OpenModule("libfontconfig.so.1");
    if (!library) return nullptr;
    auto find = [env, library](const char* name) { return env->FindSymbol(library, name); };
    static Fontconfig fc{
        reinterpret_cast<PatternCreateFn>(find("FcPatternCreate")),
        reinterpret_cast<PatternDestroyFn>(find("FcPatternDestroy")),
        reinterpret_cast<ConfigSubstituteFn>(find("FcConfigSubstitute")),
        reinterpret_cast<DefaultSubstituteFn>(find("FcDefaultSubstitute")),
        reinterpret_cast<PatternGetBoolFn>(find("FcPatternGetBool")),
        reinterpret_cast<NameParseFn>(find("FcNameParse")),
        reinterpret_cast<FontMatchFn>(find("FcFontMatch")),
        reinterpret_cast<PatternGetCharSetFn>(find("FcPatternGetCharSet")),
        reinterpret_cast<CharSetHasCharFn>(find("FcCharSetHasChar"))};
    auto init = reinterpret_cast<InitFn>(find("FcInit"));
    bool complete = fc.create && fc.destroy && fc.substitute && fc.defaults && fc.getBool &&
                    fc.parse && fc.match && fc.getCharSet && fc.hasChar;
    return complete && init && init() ? &fc : nullptr;
  }();
  return loaded;
}

bool AskFontconfig() {
  const Fontconfig* fc = LoadFontconfig();
  if (!fc) return false;
  FcPattern* pattern = fc->create();
  if (!pattern) return false;
  FcBool antialias = 0;
  bool known = false;
  // The user's and the system's rules are applied as they would be for a real font request.
  if (fc->substitute(nullptr, pattern, kFcMatchPattern)) {
    fc->defaults(pattern);
    known = fc->getBool(pattern, "antialias", 0, &antialias) == kFcResultMatch;
  }
  fc->destroy(pattern);
  return known && antialias != 0;
}

// The box-drawing block a terminal draws its lines with: the corners, tees and both rules.
constexpr uint32_t kLineDrawingCharacters[] = {0x2500, 0x2502, 0x250C, 0x2510, 0x2514,
                                               0x2518, 0x251C, 0x2524, 0x252C, 0x2534, 0x253C};

bool AskFontconfigLineDrawing(const std::string& face) {
  const Fontconfig* fc = LoadFontconfig();
  if (!fc) return false;
  // Characters that the pattern syntax gives a meaning to are escaped, so the face is one name.
  std::string name;
  for (char c : face) {
    if (c == ':' || c == ',' || c == '-' || c == '\\' || c == '=') name += '\\';
    name += c;
  }
  FcPattern* pattern = fc->parse(reinterpret_cast<const unsigned char*>(name.c_str()));
  if (!pattern) return false;
  bool has = false;
  if (fc->substitute(nullptr, pattern, kFcMatchPattern)) {
    fc->defaults(pattern);
    int result = 0;
    // The font that would really draw the text: the face itself or what stands in for it.
    if (FcPattern* font = fc->match(nullptr, pattern, &result)) {
      FcCharSet* characters = nullptr;
      if (fc->getCharSet(font, "charset", 0, &characters) == kFcResultMatch && characters) {
        has = true;
        for (uint32_t c : kLineDrawingCharacters) has = has && fc->hasChar(characters, c);
      }
      fc->destroy(font);
    }
  }
  fc->destroy(pattern);
  return has;
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

// Calls `use` with the text after "NAME=" of every line of a shell-style file that assigns
// `name`, in file order, blanks around the name, the sign and the value trimmed. Both files read
// here are meant for the shell, which reads them top to bottom: callers keep the last value.
namespace {

template <class Use>
void ForEachAssignment(std::string_view text, std::string_view name, Use use) {
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.substr(0, name.size()) != name) continue;
    std::string_view rest = Trim(line.substr(name.size()));
    if (rest.empty() || rest.front() != '=') continue;
    use(Trim(rest.substr(1)));
  }
}

}  // namespace

std::string LayoutFromKeyboardDefaults(std::string_view text) {
  std::string layout;
  ForEachAssignment(text, "XKBLAYOUT", [&](std::string_view rest) {
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
      char quote = rest.front();
      rest.remove_prefix(1);
      size_t close = rest.find(quote);
      if (close == std::string_view::npos) return;  // an unfinished value names nothing
      rest = rest.substr(0, close);
    } else if (size_t comment = rest.find('#'); comment != std::string_view::npos) {
      rest = rest.substr(0, comment);
    }
    layout = FirstLayout(rest);
  });
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

std::string DownloadFolderFromUserDirs(std::string_view text, std::string_view home) {
  std::string folder;
  std::string homeTrimmed(home);
  while (homeTrimmed.size() > 1 && homeTrimmed.back() == '/') homeTrimmed.pop_back();
  ForEachAssignment(text, "XDG_DOWNLOAD_DIR", [&](std::string_view rest) {
    // The file's own format: a double-quoted path that is absolute or starts with $HOME.
    if (rest.size() < 2 || rest.front() != '"') return;
    rest.remove_prefix(1);
    size_t close = rest.find('"');
    if (close == std::string_view::npos) return;
    rest = rest.substr(0, close);
    std::string path;
    constexpr std::string_view kHome = "$HOME";
    if (rest.substr(0, kHome.size()) == kHome &&
        (rest.size() == kHome.size() || rest[kHome.size()] == '/')) {
      path = std::string(home) + std::string(rest.substr(kHome.size()));
    } else if (!rest.empty() && rest.front() == '/') {
      path = std::string(rest);
    } else {
      return;
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    folder = path == homeTrimmed ? std::string() : path;
  });
  return folder;
}

VUnicodeString DownloadFolder() {
  std::string home = vapp::HomeFolder();
  std::ifstream file(vapp::XdgConfigHome() + "/user-dirs.dirs", std::ios::binary);
  if (file) {
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string folder = DownloadFolderFromUserDirs(text, home);
    if (!folder.empty()) return VUnicodeString::FromUtf8(folder);
  }
  return VUnicodeString::FromUtf8(home + "/Downloads");
}

bool FontHasLineDrawing(std::u16string_view face) {
  // Each session load asks; fontconfig's answer for a face does not change within a process.
  static std::mutex mutex;
  static std::map<std::string, bool> answers;
  std::string name = vtext::ToUtf8(face);
  std::lock_guard<std::mutex> lock(mutex);
  auto found = answers.find(name);
  if (found != answers.end()) return found->second;
  bool has = AskFontconfigLineDrawing(name);
  answers.emplace(name, has);
  return has;
}

VUnicodeString TemporaryFolder() {
  std::string folder = vapp::GetEnv("TMPDIR");
  if (folder.empty()) folder = "/tmp";
  return VUnicodeString::FromUtf8(folder);
}

}  // namespace vdesktop
