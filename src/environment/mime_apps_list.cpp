#include "environment/mime_apps_list.h"
#include "environment/text_lists.h"

#include <algorithm>

namespace mimeapps {
namespace {

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

// The group a line opens ("[Name]"), or false.
bool GroupOf(std::string_view line, std::string& group) {
  std::string_view t = TrimBlanks(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  group = std::string(t.substr(1, t.size() - 2));
  return true;
}

// The key of a "key=value" line (trimmed), or false for comments and other lines.
bool KeyOf(std::string_view line, std::string& key, std::string& value) {
  std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() == '#' || t.front() == '[') return false;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = std::string(TrimBlanks(t.substr(0, eq)));
  value = std::string(TrimBlanks(t.substr(eq + 1)));
  return true;
}

std::vector<std::string> SplitIds(std::string_view value) {
  std::vector<std::string> ids;
  size_t pos = 0;
  while (pos <= value.size()) {
    size_t end = value.find(';', pos);
    if (end == std::string_view::npos) end = value.size();
    std::string_view id = TrimBlanks(value.substr(pos, end - pos));
    if (!id.empty()) ids.emplace_back(id);
    pos = end + 1;
  }
  return ids;
}

// Sets the first line of `key` in the first `group` to "key=value", adding the line (at the end
// of the group's lines) or the group (at the end of the file) when missing.
void SetLine(std::vector<std::string>& lines, const std::string& group, const std::string& key,
             const std::string& value) {
  std::string current;
  bool inGroup = false;
  bool groupSeen = false;
  size_t insertAt = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name, k, v;
    if (GroupOf(lines[i], name)) {
      if (inGroup) break;
      inGroup = !groupSeen && name == group;
      if (inGroup) {
        groupSeen = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (!inGroup) continue;
    if (KeyOf(lines[i], k, v) && k == key) {
      lines[i] = key + "=" + value;
      return;
    }
    if (!TrimBlanks(lines[i]).empty()) insertAt = i + 1;
  }
  if (groupSeen) {
    lines.insert(lines.begin() + static_cast<long>(insertAt), key + "=" + value);
    return;
  }
  if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
  lines.push_back("[" + group + "]");
  lines.push_back(key + "=" + value);
}

std::string Unescape(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    char c = value[++i];
    switch (c) {
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 's': out += ' '; break;
      default: out += c; break;
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> Lookup(std::string_view text, std::string_view group, std::string_view type) {
  bool inGroup = false;
  bool groupSeen = false;
  for (const std::string& line : Lines(text)) {
    std::string name, key, value;
    if (GroupOf(line, name)) {
      if (inGroup) break;
      inGroup = !groupSeen && name == group;
      groupSeen = groupSeen || inGroup;
      continue;
    }
    if (inGroup && KeyOf(line, key, value) && key == type) return SplitIds(value);
  }
  return {};
}

std::string SetDefault(std::string_view text, std::string_view type, std::string_view id) {
  std::vector<std::string> lines = Lines(text);
  std::vector<std::string> added{std::string(id)};
  auto addOnce = [&](const std::string& other) {
    if (std::find(added.begin(), added.end(), other) == added.end()) added.push_back(other);
  };
  for (const std::string& other : Lookup(text, kAddedGroup, type)) addOnce(other);
  for (const std::string& other : Lookup(text, kDefaultGroup, type)) addOnce(other);
  std::string list;
  for (const std::string& item : added) list += item + ";";
  SetLine(lines, kDefaultGroup, std::string(type), std::string(id));
  SetLine(lines, kAddedGroup, std::string(type), list);
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

std::string EscapeValue(std::string_view value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c; break;
    }
  }
  return out;
}

bool ExecLine(std::string_view program, std::string& exec) {
  std::string quoted = "\"";
  for (char c : program) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += "\" %u";
  exec = quoted;
  return true;
}

bool DesktopEntryText(const DesktopEntry& entry, std::string& text) {
  std::string exec;
  if (!ExecLine(entry.program, exec)) return false;
  std::string types;
  for (const std::string& type : entry.mimeTypes) types += type + ";";
  text = "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.0\n"
         "Name=" + EscapeValue(entry.name) + "\n"
         "Comment=" + EscapeValue(entry.comment) + "\n"
         // Written as any string of the file, which escapes the backslashes once more.
         "Exec=" + EscapeValue(exec) + "\n"
         "Terminal=false\n"
         "NoDisplay=true\n"
         "MimeType=" + types + "\n";
  return true;
}

bool ReadDesktopValue(std::string_view text, std::string_view key, std::string& value) {
  bool inGroup = false;
  for (const std::string& line : Lines(text)) {
    std::string name, k, v;
    if (GroupOf(line, name)) {
      if (inGroup) break;
      inGroup = name == "Desktop Entry";
      continue;
    }
    if (inGroup && KeyOf(line, k, v) && k == key) {
      value = Unescape(v);
      return true;
    }
  }
  return false;
}

}  // namespace mimeapps
