#include "environment/ssh_client_config.h"
#include "environment/text_lists.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace sshcfg {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

char LowerChar(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string Joined(const std::vector<std::string>& args) {
  std::string out;
  for (const std::string& arg : args) {
    if (!out.empty()) out += ' ';
    out += arg;
  }
  return out;
}

struct Parser {
  FileSource* source;
  Config& config;
  std::vector<std::string> stack;  // identities of the files being read, outermost first
  int included = 0;

  void Problem(const std::string& file, int line, std::string reason) {
    config.problems.push_back({file, line, std::move(reason)});
  }

  // Reads `text`; `conditions` and `underMatch` are those of the Include that brought it in.
  void Run(std::string_view text, const std::string& file,
           const std::vector<std::vector<std::string>>& conditions, bool underMatch, int depth) {
    Section current{conditions, underMatch, {}};
    auto close = [&] {
      if (!current.options.empty()) config.sections.push_back(current);
      current.options.clear();
    };
    int lineNumber = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(pos, end - pos);
      pos = end + 1;
      ++lineNumber;
      if (line.find('\0') != std::string_view::npos) {
        Problem(file, lineNumber, "the line holds a NUL byte");
        continue;
      }
      std::string keyword, problem;
      std::vector<std::string> args;
      if (!SplitLine(line, keyword, args, problem)) {
        Problem(file, lineNumber, problem);
        continue;
      }
      if (keyword.empty()) continue;
      if (keyword == "host") {
        close();
        current.hosts = conditions;
        current.underMatch = underMatch;
        current.hosts.push_back(args);  // no pattern: a list that matches nothing
        if (args.empty()) Problem(file, lineNumber, "Host needs at least one pattern");
        config.hostLines.push_back({args, conditions, underMatch, file, lineNumber});
      } else if (keyword == "match") {
        close();
        current.hosts = conditions;
        // "Match all" asks nothing of the connection; any other criterion can only be
        // decided when connecting, so its block is left out and said so.
        bool all = args.size() == 1 && AsciiLower(args[0]) == "all";
        current.underMatch = underMatch || !all;
        if (!all) config.matchBlocks.push_back({file, lineNumber, "Match " + Joined(args)});
      } else if (keyword == "include") {
        if (args.empty()) {
          Problem(file, lineNumber, "Include needs a file name");
          continue;
        }
        close();
        for (const std::string& arg : args) Include(arg, file, lineNumber, current, depth);
      } else {
        current.options.push_back({keyword, args, file, lineNumber});
      }
    }
    close();
  }

  void Include(const std::string& argument, const std::string& file, int line,
               const Section& current, int depth) {
    if (!source) {
      Problem(file, line, "Include " + argument + " is not followed here");
      return;
    }
    if (depth + 1 > kMaxIncludeDepth) {
      Problem(file, line, "Include " + argument + " is nested too deeply");
      return;
    }
    for (const std::string& path : source->Expand(argument)) {
      if (++included > kMaxIncludedFiles) {
        Problem(file, line, "Include " + path + ": more than " + std::to_string(kMaxIncludedFiles) +
                                " files included in all");
        return;
      }
      std::string text, identity, problem;
      if (!source->Read(path, text, identity, problem)) {
        Problem(file, line, "Include " + path + ": " + problem);
        continue;
      }
      if (std::find(stack.begin(), stack.end(), identity) != stack.end()) {
        Problem(file, line, "Include " + path + " would read a file that includes it: refused");
        continue;
      }
      stack.push_back(identity);
      Run(text, path, current.hosts, current.underMatch, depth + 1);
      stack.pop_back();
    }
  }
};

bool MatchFrom(std::string_view pattern, std::string_view name, bool ignoreCase) {
  auto same = [ignoreCase](char a, char b) { return ignoreCase ? LowerChar(a) == LowerChar(b) : a == b; };
  // Iterative wildcard match with one point to return to after the last "*": linear in practice
  // and never recursive, whatever the pattern.
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool SplitLine(std::string_view line, std::string& keyword, std::vector<std::string>& args,
               std::string& problem) {
  keyword.clear();
  args.clear();
  size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size() || line[i] == '#') return true;
  size_t start = i;
  while (i < line.size() && !IsBlank(line[i]) && line[i] != '=') ++i;
  std::string_view word = line.substr(start, i - start);
  for (char c : word) {
    if (!std::isalnum(static_cast<unsigned char>(c))) {
      problem = "\"" + std::string(word) + "\" is not a keyword";
      return false;
    }
  }
  if (word.empty()) {
    problem = "the line has no keyword before \"=\"";
    return false;
  }
  keyword = AsciiLower(word);
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i < line.size() && line[i] == '=') ++i;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) break;
    if (line[i] == '#') break;  // the rest of the line is a comment
    std::string arg;
    char quote = 0;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (quote) {
        if (c == quote) quote = 0;
        else if (c == '\\' && i + 1 < line.size() && (line[i + 1] == quote || line[i + 1] == '\\'))
          arg += line[++i];
        else arg += c;
        continue;
      }
      if (IsBlank(c)) break;
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '\\' && i + 1 < line.size() &&
                 (line[i + 1] == '"' || line[i + 1] == '\'' || line[i + 1] == '\\' ||
                  line[i + 1] == ' ')) {
        arg += line[++i];
      } else {
        arg += c;
      }
    }
    if (quote) {
      problem = "a quotation mark is not closed";
      keyword.clear();
      args.clear();
      return false;
    }
    args.push_back(std::move(arg));
  }
  return true;
}

bool MatchPattern(std::string_view pattern, std::string_view name) {
  return MatchFrom(pattern, name, true);
}

bool MatchFileName(std::string_view pattern, std::string_view name) {
  // A leading dot is matched only by a dot, so that "*" does not take hidden files.
  if (!name.empty() && name[0] == '.' && (pattern.empty() || pattern[0] != '.')) return false;
  return MatchFrom(pattern, name, false);
}

bool MatchPatternList(const std::vector<std::string>& patterns, std::string_view name) {
  bool matched = false;
  for (const std::string& pattern : patterns) {
    if (!pattern.empty() && pattern[0] == '!') {
      if (MatchPattern(std::string_view(pattern).substr(1), name)) return false;
    } else if (MatchPattern(pattern, name)) {
      matched = true;
    }
  }
  return matched;
}

bool IsConcretePattern(std::string_view pattern) {
  return !pattern.empty() && pattern[0] != '!' && pattern.find_first_of("*?") == std::string_view::npos;
}

Config ParseText(std::string_view text, const std::string& fileName, FileSource* source) {
  Config config;
  Parser parser{source, config, {fileName}};
  parser.Run(text, fileName, {}, false, 0);
  return config;
}

bool ParseFile(const std::string& path, FileSource& source, Config& out, std::string& problem) {
  std::string text, identity;
  if (!source.Read(path, text, identity, problem)) return false;
  out = Config();
  Parser parser{&source, out, {identity}};
  parser.Run(text, path, {}, false, 0);
  return true;
}

HostSettings Resolve(const Config& config, std::string_view alias) {
  HostSettings out;
  for (const Section& section : config.sections) {
    if (section.underMatch) continue;
    bool applies = true;
    for (const auto& patterns : section.hosts) applies = applies && MatchPatternList(patterns, alias);
    if (!applies) continue;
    for (const Option& option : section.options) {
      if (option.args.empty()) continue;
      const std::string& first = option.args[0];
      auto take = [&](std::optional<std::string>& slot, const std::string& value) {
        if (!slot) slot = value;
      };
      if (option.keyword == "hostname") take(out.hostName, first);
      else if (option.keyword == "port") take(out.port, first);
      else if (option.keyword == "user") take(out.user, first);
      else if (option.keyword == "identityfile") take(out.identityFile, first);
      else if (option.keyword == "proxyjump" || option.keyword == "proxycommand") {
        // The two are one choice: whichever comes first is the way to the host.
        if (out.proxyJump || out.proxyCommand) continue;
        if (option.keyword == "proxyjump") out.proxyJump = first;
        else out.proxyCommand = Joined(option.args);
      }
    }
  }
  return out;
}

bool ExpandTokens(std::string_view value, const std::function<bool(char, std::string&)>& tokens,
                  std::string& out, std::string& problem) {
  out.clear();
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '%') {
      out += value[i];
      continue;
    }
    if (i + 1 == value.size()) {
      problem = "a \"%\" ends the value";
      return false;
    }
    char letter = value[++i];
    if (letter == '%') {
      out += '%';
      continue;
    }
    std::string text;
    if (!tokens(letter, text)) {
      problem = std::string("the token %") + letter + " cannot be used here";
      return false;
    }
    out += text;
  }
  return true;
}

}  // namespace sshcfg
