// Helpers shared by the test suites: temporary folders, file bytes, running the quillane host.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qtest {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

// Sets an environment variable (removes it when `value` is null) for the life of the object, so
// that a failing test cannot leave it changed for the next one.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);  // creates parent folders
bool Exists(const std::string& path);
void MakeDirs(const std::string& path);

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a program with arguments; `env` adds or replaces environment variables (an empty value
// removes one); `input` goes to its standard input.
RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::map<std::string, std::string>& env = {}, const std::string& input = {});
// An environment for the host that keeps it inside `dir` (dir/xdg, dir/data, dir/registry,
// dir/home) and away from $QUILLANE_CONFIG, with messages in English.
std::map<std::string, std::string> HostEnv(const TempDir& dir);
// Runs the quillane host.
RunResult Quillane(const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env = {}, const std::string& input = {});

}  // namespace qtest
