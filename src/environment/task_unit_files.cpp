#include "environment/task_unit_files.h"
#include "environment/text_lists.h"

#include <cstdio>

namespace {

// The service manager's limit on a unit name, less the longest suffix, ".service".
constexpr size_t kMaxStemLength = 255 - 8;

constexpr std::string_view kTaskField = "X-Tolvane-Task";
constexpr std::string_view kStartField = "X-Tolvane-Start";
constexpr std::string_view kEveryField = "X-Tolvane-Every";

std::string Hex(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02x", byte);
  return text;
}

bool IsUnitNameChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' ||
         c == '_' || c == '.';
}

// The longest start of an escaped text within `limit` bytes that does not cut an escape.
std::string Cut(const std::string& escaped, size_t limit) {
  if (escaped.size() <= limit) return escaped;
  size_t end = limit;
  // An escape is four bytes starting with a backslash; step back over one that would be cut.
  for (size_t back = 1; back < 4 && back <= end; ++back) {
    if (escaped[end - back] == '\\') {
      end -= back;
      break;
    }
  }
  return escaped.substr(0, end);
}

// A value as a unit file keeps it: the parser drops blanks at either end and reads a backslash
// at the end of a line as a continuation, so a backslash, a control character and a blank at
// either end are written as "\xNN"; everything else is kept as it is.
std::string FieldValue(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool edge = (i == 0 || i + 1 == text.size()) && (c == ' ' || c == '\t');
    if (c == '\\' || c < 0x20 || c == 0x7F || edge) out += Hex(c);
    else out += static_cast<char>(c);
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The inverse of FieldValue; nothing for a backslash that does not start "\xNN".
std::optional<std::string> ReadFieldValue(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 3 >= text.size() || text[i + 1] != 'x') return std::nullopt;
    int high = HexDigit(text[i + 2]);
    int low = HexDigit(text[i + 3]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return out;
}

// Specifiers start with "%" in a description and a command line.
std::string Specifiers(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

// One argument of a command line, in double quotes: a backslash, a quote and a control character
// are C escapes, "%" and "$" are doubled so that neither a specifier nor a variable is expanded.
std::string Argument(std::string_view text) {
  std::string out = "\"";
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\\') out += "\\\\";
    else if (c == '"') out += "\\\"";
    else if (c < 0x20 || c == 0x7F) out += Hex(c);
    else if (c == '%') out += "%%";
    else if (c == '$') out += "$$";
    else out += ch;
  }
  return out + "\"";
}

// The first quoted argument of a command line written by Argument.
std::optional<std::string> ReadArgument(std::string_view text) {
  if (text.empty() || text[0] != '"') return std::nullopt;
  std::string out;
  for (size_t i = 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') return out;
    if (c == '%' || c == '$') {
      if (i + 1 >= text.size() || text[i + 1] != c) return std::nullopt;
      out += c;
      ++i;
    } else if (c == '\\') {
      if (i + 1 >= text.size()) return std::nullopt;
      char next = text[i + 1];
      if (next == '\\' || next == '"') {
        out += next;
        ++i;
      } else if (next == 'x' && i + 3 < text.size() && HexDigit(text[i + 2]) >= 0 &&
                 HexDigit(text[i + 3]) >= 0) {
        out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
        i += 3;
      } else {
        return std::nullopt;
      }
    } else {
      out += c;
    }
  }
  return std::nullopt;
}

std::string Description(const TaskUnitContents& contents) {
  return "Description=Scheduled transfer " + Specifiers(FieldValue(contents.task)) + "\n";
}

}  // namespace

std::string EscapeUnitNamePart(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '/') out += '-';
    else if (IsUnitNameChar(c) && !(i == 0 && c == '.')) out += static_cast<char>(c);
    else out += Hex(c);
  }
  return out;
}

std::string TaskUnitStem(std::string_view name, unsigned number) {
  const size_t room = kMaxStemLength - kTaskUnitPrefix.size();
  std::string stem(kTaskUnitPrefix);
  if (number <= 1) return stem + Cut(EscapeUnitNamePart(name), room);
  std::string suffix = EscapeUnitNamePart(" (" + std::to_string(number) + ")");
  return stem + Cut(EscapeUnitNamePart(name), room - suffix.size()) + suffix;
}

std::string TaskServiceText(const std::string& stem, const TaskUnitContents& contents) {
  return "# Written by the scheduled transfers of the file-transfer client; registering the task\n"
         "# again replaces this file.\n"
         "[Unit]\n" +
         Description(contents) + std::string(kTaskField) + "=" + FieldValue(contents.task) +
         "\n"
         "\n"
         "[Service]\n"
         "Type=oneshot\n"
         "ExecStart=" +
         Argument(contents.program) + " " + Argument(contents.task) + "\n";
}

std::string TaskTimerText(const std::string& stem, const TaskUnitContents& contents) {
  std::string text =
      "# Written by the scheduled transfers of the file-transfer client; registering the task\n"
      "# again replaces this file.\n"
      "[Unit]\n" +
      Description(contents) + std::string(kTaskField) + "=" + FieldValue(contents.task) + "\n" +
      std::string(kStartField) + "=" + FormatTaskStart(contents.schedule.start) + "\n" +
      std::string(kEveryField) + "=" + TaskRepetitionName(contents.schedule.every) +
      "\n"
      "\n"
      "[Timer]\n";
  for (const std::string& expression : TaskCalendarExpressions(contents.schedule))
    text += "OnCalendar=" + expression + "\n";
  // Within a second of the time asked for, rather than the minute a timer allows by default.
  text += "AccuracySec=1s\nUnit=" + stem + ".service\n\n[Install]\nWantedBy=timers.target\n";
  return text;
}

TaskUnitFields ReadTaskUnitFields(std::string_view text) {
  TaskUnitFields fields;
  std::string_view section;
  std::optional<VLogTime> start;
  std::optional<TaskRepetition> every;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view key = TrimBlanks(line.substr(0, equals));
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (section == "Unit" && key == kTaskField) {
      fields.task = ReadFieldValue(value);
    } else if (section == "Unit" && key == kStartField) {
      VLogTime parsed;
      if (ParseTaskStart(value, parsed)) start = parsed;
    } else if (section == "Unit" && key == kEveryField) {
      TaskRepetition parsed;
      if (ParseTaskRepetition(value, parsed)) every = parsed;
    } else if (section == "Service" && key == "ExecStart") {
      fields.program = ReadArgument(value);
    }
  }
  if (!fields.task) return TaskUnitFields();
  if (start && every) fields.schedule = TaskSchedule{*start, *every};
  return fields;
}
