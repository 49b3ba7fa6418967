#include "ui/session_pages/session_page_rules.h"

#include <climits>

#include "config/colors/color_lists.h"
#include "config/keymap/keymap.h"
#include "config/parts/emulation_table.h"
#include "platform/file_system.h"
#include "ui/session_pages/session_page_texts.h"

using namespace session_page_text;

namespace {

RuleFailure Failure(uint32_t id, std::initializer_list<VUnicodeString> inserts = {}) {
  return RuleFailure{id, std::vector<VUnicodeString>(inserts)};
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

VUnicodeString Number(int value) { return VUnicodeString::FromUtf8(std::to_string(value)); }

}  // namespace

bool ParsePageInteger(std::u16string_view text, int& value) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  long long number = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    number = number * 10 + (c - u'0');
    if (number > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) number = -number;
  if (number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

RuleResult CheckIntegerRange(std::u16string_view text, int min, int max, int& value) {
  int number = 0;
  if (!ParsePageInteger(text, number) || number < min || number > max)
    return Failure(kIntegerRange, {Number(min), Number(max)});
  value = number;
  return std::nullopt;
}

RuleResult CheckAntiIdle(bool enabled, std::u16string_view text) {
  if (enabled && text.empty()) return Failure(kAntiIdleEmpty);
  return std::nullopt;
}

bool IsCustomKeymap(std::u16string_view keymapName) {
  return EqualNoCase(keymapName, kCustomKeymapName);
}

RuleResult CheckCustomKeymap(std::u16string_view keymapName, const VUnicodeString& fileName) {
  if (!IsCustomKeymap(keymapName)) return std::nullopt;
  if (Trim(fileName).empty()) return Failure(kKeymapFileEmpty);
  Keymap keymap;
  VReportMessageParams report;
  if (!keymap.Load(fileName, report)) return Failure(kKeymapFileNotFound);
  return std::nullopt;
}

const std::vector<VUnicodeString>& Tn3270Models() {
  static const std::vector<VUnicodeString> models = {u"IBM-3278-2", u"IBM-3278-3", u"IBM-3278-4",
                                                     u"IBM-3278-5"};
  return models;
}

bool Tn3270ModelSize(std::u16string_view model, int& rows, int& cols) {
  static const int sizes[][2] = {{24, 80}, {32, 80}, {43, 80}, {27, 132}};
  const auto& models = Tn3270Models();
  for (size_t i = 0; i < models.size(); ++i) {
    if (EqualNoCase(model, models[i])) {
      rows = sizes[i][0];
      cols = sizes[i][1];
      return true;
    }
  }
  return false;
}

bool IsTn3270(std::u16string_view emulation) { return EqualNoCase(emulation, kEmulationTn3270); }

EmacsEnabling EmacsRules(std::u16string_view emulation, bool altAsMeta) {
  EmacsEnabling enabling;
  enabling.altAsMeta = !IsTn3270(emulation);
  enabling.dependents = enabling.altAsMeta && altAsMeta;
  return enabling;
}

bool PreserveAltGrAfter(bool altAsMeta, bool preserve) { return altAsMeta && preserve; }

RuleResult CheckLogFileName(std::u16string_view fileName, bool newLogAtMidnight) {
  size_t slash = fileName.rfind(u'/');
  std::u16string_view last = slash == std::u16string_view::npos ? fileName : fileName.substr(slash + 1);
  for (char16_t c : last) {
    // A file name on Linux may hold anything but '/' and NUL; control characters are refused
    // too, since a name holding them cannot be typed or shown.
    if (c < 0x20 || c == 0x7F) {
      char16_t shown[2] = {c, 0};
      return Failure(kLogIllegalChar, {VUnicodeString(shown, 1)});
    }
  }
  if (newLogAtMidnight && fileName.find(u"%D") == std::u16string_view::npos)
    return Failure(kLogNeedsDate);
  return std::nullopt;
}

bool IsLogFileNameCharacterFailure(const RuleFailure& failure) {
  return failure.id == kLogIllegalChar;
}

RuleResult ParseInitialPosition(std::u16string_view text, int& value) {
  std::u16string_view trimmed = Trim(text);
  int number = 0;
  if (!ParsePageInteger(trimmed, number)) return Failure(kPositionNotInteger, {VUnicodeString(text)});
  if (number == 0 && !trimmed.empty() && trimmed.front() == u'-')
    return Failure(kPositionOutOfRange, {VUnicodeString(text)});
  value = number;
  return std::nullopt;
}

int XmodemPacketChoice(int stored) { return stored == 1024 ? 1024 : 128; }

RuleResult CheckSynchronizedBrowsing(bool synchronize, std::u16string_view localFolder,
                                     std::u16string_view remoteFolder, SyncField& field) {
  field = SyncField::None;
  if (!synchronize) return std::nullopt;
  if (Trim(localFolder).empty()) {
    field = SyncField::Local;
    return Failure(kLocalFolderEmpty);
  }
  if (Trim(remoteFolder).empty()) {
    field = SyncField::Remote;
    return Failure(kRemoteFolderEmpty);
  }
  return std::nullopt;
}

RuleResult CheckLocalFolder(const VUnicodeString& folder) {
  if (Trim(folder).empty()) return std::nullopt;
  // The setting holds the path as used (its stored form's path variables already expanded).
  if (!vfs::IsDirectory(folder.ToUtf8())) return Failure(kFolderNotFound, {folder});
  return std::nullopt;
}

RuleResult CheckPgpCommands(bool usePgp, std::u16string_view upload, std::u16string_view download,
                            bool& uploadEmpty) {
  uploadEmpty = false;
  if (!usePgp) return std::nullopt;
  if (Trim(upload).empty()) {
    uploadEmpty = true;
    return Failure(kPgpCommandEmpty);
  }
  if (Trim(download).empty()) return Failure(kPgpCommandEmpty);
  return std::nullopt;
}

RuleResult CheckNewSchemeName(const ProfileColorSchemeListV2& schemes, std::u16string_view name) {
  std::u16string_view trimmed = Trim(name);
  if (schemes.Find(trimmed) != ProfileColorSchemeListV2::kNotFound)
    return Failure(kSchemeExists, {VUnicodeString(trimmed)});
  return std::nullopt;
}

VLogFont ChosenFont(const VLogFont& stored, std::u16string_view face, double points, bool bold,
                    bool italic) {
  VLogFont font = stored;
  font.SetFaceName(face);
  int tenths = static_cast<int>(points * 10 + 0.5);
  font.extra = static_cast<uint32_t>(tenths);
  font.height = -static_cast<int32_t>((tenths * 96 + 360) / 720);
  font.width = 0;
  font.weight = bold ? 700 : 400;
  font.italic = italic ? 1 : 0;
  return font;
}

double FontPoints(const VLogFont& font) {
  if (font.extra > 0) return font.extra / 10.0;
  if (font.height != 0) return (font.height < 0 ? -font.height : font.height) * 72.0 / 96.0;
  return 10.0;
}

PrintingEnabling PrintingRules(bool printingAvailable, bool useGlobalSettings) {
  return PrintingEnabling{printingAvailable, printingAvailable && !useGlobalSettings};
}
