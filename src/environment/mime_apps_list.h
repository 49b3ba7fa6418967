// The text files through which a desktop chooses the application for a kind of link: the list
// of default applications (mimeapps.list) and an application's desktop entry. Both are INI-like
// files other programs write too, so a change touches only the lines it is about and keeps every
// other line, comment and group as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mimeapps {

constexpr char kDefaultGroup[] = "Default Applications";
constexpr char kAddedGroup[] = "Added Associations";

// The desktop ids listed for `type` in `group`: the first line of that key in the first such
// group, split at ";", empty items dropped.
std::vector<std::string> Lookup(std::string_view text, std::string_view group, std::string_view type);

// Makes `id` the default application of `type`: in [Default Applications] the line "type=id"
// (replacing the first line of that key, or added at the end of the group, which is added when
// missing), and in [Added Associations] `id` first in the type's list, followed by the ids the
// list held and the ids that were the defaults before, each once. Every other line is kept.
std::string SetDefault(std::string_view text, std::string_view type, std::string_view id);

// A string value as a desktop entry writes it: "\\", "\n", "\t", "\r" escaped.
std::string EscapeValue(std::string_view value);
// The Exec value (before the file's own escaping) that starts `program` with the URL as its one
// argument: the program quoted, with the characters that quoting reserves escaped, "%" doubled,
// and " %u" after it. False when
// the path holds a character no desktop entry can carry (a control character).
bool ExecLine(std::string_view program, std::string& exec);

struct DesktopEntry {
  std::string name;
  std::string comment;
  std::string program;
  std::vector<std::string> mimeTypes;
};
// The text of the desktop entry of a link handler; false when the program cannot be written.
bool DesktopEntryText(const DesktopEntry& entry, std::string& text);

// The value of `key` in the [Desktop Entry] group, unescaped; false when there is none.
bool ReadDesktopValue(std::string_view text, std::string_view key, std::string& value);

}  // namespace mimeapps
