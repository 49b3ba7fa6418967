// Helpers shared by the test suites: temporary folders, file bytes, running the quillane host.
#pragma once

#include <map>
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
// Runs the quillane host.
RunResult Quillane(const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env = {}, const std::string& input = {});

}  // namespace qtest
