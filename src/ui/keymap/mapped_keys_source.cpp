#include "ui/keymap/mapped_keys_source.h"

#include "config/keymap/keymap_file.h"
#include "config/session/terminal_config.h"
#include "platform/unicode_string.h"
#include "storage/text/text_file.h"

namespace {

constexpr const char16_t* kCustomKeymapName = u"Custom";

// What a save would put where the mappings live: the file's bytes, or the session's stored lines
// (one per line; a stored line never holds a line break).
std::string WrittenForm(const MappedKeysSource& source) {
  if (source.kind == MappedKeysSource::Kind::kFile) return source.mappings.FileBytes();
  std::string all;
  for (const VUnicodeString& line : source.mappings.ToStrings()) {
    all += line.ToUtf8();
    all += '\n';
  }
  return all;
}

bool IsBlank(std::u16string_view text) {
  for (char16_t c : text)
    if (c != u' ' && c != u'\t') return false;
  return true;
}

}  // namespace

bool UsesKeymapFile(const TerminalConfig& terminal) {
  return vtext::EqualsNoCase(terminal.keymapName.Current(), kCustomKeymapName);
}

MappedKeysSource ReadMappedKeys(const TerminalConfig& terminal) {
  MappedKeysSource source;
  if (!UsesKeymapFile(terminal)) {
    // A copy, lines the stored value could not be read with included, so that writing it back
    // loses none of them.
    source.mappings = static_cast<const Keymap&>(terminal.keymap);
    source.written = WrittenForm(source);
    return source;
  }
  source.fileName = terminal.keymapFilename.Current();
  source.kind = MappedKeysSource::Kind::kUnavailable;
  if (IsBlank(source.fileName)) return source;
  // The bytes are kept beside the mappings read from them: a save later compares the file with
  // them, so that it never replaces what someone else wrote in the meantime.
  VReportMessageParams report;
  std::string pathRead;
  if (!vkeymap::ReadKeymapFile(source.fileName, source.bytesRead, pathRead, report)) {
    source.problem = report.GetTextTrimmed();
    return source;
  }
  if (!source.mappings.LoadText(VTextFile::Decode(source.bytesRead), source.fileName, report)) {
    source.problem = report.GetTextTrimmed();
    source.mappings = Keymap();
    return source;
  }
  source.kind = MappedKeysSource::Kind::kFile;
  if (!source.mappings.GetLoadErrors().empty()) source.problem = report.GetTextTrimmed();
  source.written = WrittenForm(source);
  return source;
}

bool MappedKeysChanged(const MappedKeysSource& source) {
  if (source.kind == MappedKeysSource::Kind::kUnavailable) return false;
  return WrittenForm(source) != source.written;
}

MappedKeysWrite WriteMappedKeys(MappedKeysSource& source, TerminalConfig& terminal,
                                VReportMessageParams& error) {
  if (!MappedKeysChanged(source)) return MappedKeysWrite::kUnchanged;
  if (source.kind == MappedKeysSource::Kind::kSession) {
    // Only an edited key map is stored again: an untouched one keeps its stored lines and does
    // not count as a change of the session.
    if (!terminal.keymap.SetFromList(source.mappings.ToStrings(), error))
      return MappedKeysWrite::kFailed;
    source.written = WrittenForm(source);
    return MappedKeysWrite::kWritten;
  }
  std::string now, pathRead;
  VReportMessageParams unreadable;
  if (!vkeymap::ReadKeymapFile(source.fileName, now, pathRead, unreadable) ||
      now != source.bytesRead)
    return MappedKeysWrite::kChangedElsewhere;
  if (!source.mappings.Save(source.fileName, error)) return MappedKeysWrite::kFailed;
  source.bytesRead = source.mappings.FileBytes();
  source.written = source.bytesRead;
  return MappedKeysWrite::kWritten;
}
