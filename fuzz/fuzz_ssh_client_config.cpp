// An OpenSSH client configuration and the files it includes, all from one input (files
// separated by a line "---", named f0, f1, ...): reading never loops or crashes, and every
// session planned from it is named, uses SSH2 and has a host name and a port from 1 to 65535.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "environment/ssh_client_config.h"
#include "environment/ssh_import.h"

namespace {

class MemorySource : public sshcfg::FileSource {
 public:
  explicit MemorySource(std::vector<std::string> files) : files_(std::move(files)) {}
  std::vector<std::string> Expand(const std::string& argument) override {
    std::vector<std::string> out;
    for (size_t i = 0; i < files_.size(); ++i) {
      std::string name = "f" + std::to_string(i);
      if (sshcfg::MatchFileName(argument, name)) out.push_back(name);
    }
    return out;
  }
  bool Read(const std::string& path, std::string& text, std::string& identity,
            std::string& problem) override {
    if (path.size() < 2 || path[0] != 'f') {
      problem = "missing";
      return false;
    }
    size_t index = std::strtoul(path.c_str() + 1, nullptr, 10);
    if (index >= files_.size()) {
      problem = "missing";
      return false;
    }
    text = files_[index];
    identity = path;
    return true;
  }

 private:
  std::vector<std::string> files_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> files;
  size_t pos = 0;
  while (files.size() < 8) {
    size_t end = input.find("\n---\n", pos);
    if (end == std::string_view::npos) {
      files.emplace_back(input.substr(pos));
      break;
    }
    files.emplace_back(input.substr(pos, end - pos));
    pos = end + 5;
  }
  MemorySource source(files);
  sshcfg::Config config;
  std::string problem;
  if (!sshcfg::ParseFile("f0", source, config, problem)) abort();
  sshimport::Plan plan = sshimport::MakePlan(config, u"Imported", {"/home/u", "u", "box.example"});
  for (const sshimport::PlannedSession& session : plan.sessions) {
    if (session.path.empty() || session.settings.size() < 3) abort();
    if (session.settings[0].value != "SSH2") abort();
    if (session.settings[1].value.empty()) abort();
    int port = std::atoi(session.settings[2].value.c_str());
    if (port < 1 || port > 65535 || std::to_string(port) != session.settings[2].value) abort();
  }
  return 0;
}
