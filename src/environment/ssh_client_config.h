// Reading an OpenSSH client configuration (~/.ssh/config and what it includes) as the ssh client
// reads it, so that its hosts can be turned into sessions. The text comes from outside: every
// line that cannot be read is reported with its file and line, never guessed at.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sshcfg {

// One "Keyword arguments" line; the keyword in lower case (keywords are case-insensitive).
struct Option {
  std::string keyword;
  std::vector<std::string> args;
  std::string file;
  int line = 0;
};

// A run of options that apply under the same conditions: every Host pattern list of `hosts`
// must match (a Host line inside an included file is nested in the Host line of the Include),
// and nothing under a Match line applies, since its criteria are only known when connecting.
struct Section {
  std::vector<std::vector<std::string>> hosts;
  bool underMatch = false;
  std::vector<Option> options;
};

// Where a Host line named a host, for the list of hosts to import.
struct HostLine {
  std::vector<std::string> patterns;
  std::vector<std::vector<std::string>> enclosing;  // Host lists of the Include around it
  bool underMatch = false;
  std::string file;
  int line = 0;
};

struct Problem {
  std::string file;
  int line = 0;
  std::string reason;
};

struct Config {
  std::vector<Section> sections;
  std::vector<HostLine> hostLines;
  std::vector<Problem> matchBlocks;  // one entry per Match line, with what it asked
  std::vector<Problem> problems;     // lines that could not be read, includes not followed
};

// Splits one line into its keyword and arguments: whitespace or one "=" after the keyword,
// arguments separated by whitespace, double or single quotes around an argument with blanks,
// a backslash before a quote, blank or backslash taking it literally, and "#" at the start of an
// argument ending the line. Empty and comment lines give an empty keyword. False with the reason
// for an unterminated quote or a keyword that is not a word.
bool SplitLine(std::string_view line, std::string& keyword, std::vector<std::string>& args,
               std::string& problem);

// Whether `name` matches one pattern of "*" (any run of characters) and "?" (one character),
// without regard to case, as host names are compared.
bool MatchPattern(std::string_view pattern, std::string_view name);
// The same for a file name in a folder: case counts, and "*" or "?" do not take a leading dot.
bool MatchFileName(std::string_view pattern, std::string_view name);
// Whether a Host line's patterns take `name`: some pattern matches and no negated one ("!p")
// does.
bool MatchPatternList(const std::vector<std::string>& patterns, std::string_view name);
// True for a pattern that names one host: no wildcard and no negation.
bool IsConcretePattern(std::string_view pattern);

// Where included files come from. `Expand` gives the files an Include argument names (after "~"
// and relative paths are resolved, globbed and sorted); `Read` their text and a name that is the
// same for the same file however it is reached (for refusing loops).
class FileSource {
 public:
  virtual ~FileSource() = default;
  virtual std::vector<std::string> Expand(const std::string& argument) = 0;
  virtual bool Read(const std::string& path, std::string& text, std::string& identity,
                    std::string& problem) = 0;
};

// Includes deeper than this are refused, as a loop through ever new names would otherwise never
// end.
constexpr int kMaxIncludeDepth = 16;
// More included files than this, counted each time one is read, are refused: files that each
// include all the others twice would otherwise be read an exponential number of times.
constexpr int kMaxIncludedFiles = 256;
// A configuration file larger than this is refused rather than read into memory.
constexpr uint64_t kMaxConfigFileSize = 4u << 20;

// Reads the text of a configuration; `source` null refuses every Include with a reason.
Config ParseText(std::string_view text, const std::string& fileName, FileSource* source);
// Reads the file at `path` through `source`; false with the reason when the file itself cannot be
// read.
bool ParseFile(const std::string& path, FileSource& source, Config& out, std::string& problem);

// What the client would use for one host alias: the first value of each option found in the
// sections that apply, in file order.
struct HostSettings {
  std::optional<std::string> hostName;
  std::optional<std::string> port;
  std::optional<std::string> user;
  std::optional<std::string> identityFile;
  std::optional<std::string> proxyJump;
  std::optional<std::string> proxyCommand;
};
HostSettings Resolve(const Config& config, std::string_view alias);

// Expands the "%" tokens of a value: `tokens` maps a letter to its text; "%%" is "%". False with
// the unknown letter in `problem` when the value uses one that `tokens` does not have.
bool ExpandTokens(std::string_view value, const std::function<bool(char, std::string&)>& tokens,
                  std::string& out, std::string& problem);

}  // namespace sshcfg
