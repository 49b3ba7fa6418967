// The sub-commands that live in files of their own, found by their family and name.
#include <map>
#include <string>

#include "quillane/cli.h"

namespace cli {
namespace {

// Filled by static registrations before main runs; read only afterwards.
std::map<std::string, std::map<std::string, Command>>& Table() {
  static std::map<std::string, std::map<std::string, Command>> table;
  return table;
}

}  // namespace

SubCommandRegistration::SubCommandRegistration(const std::string& parent, const std::string& sub,
                                               const Command& command) {
  Table()[parent][sub] = command;
}

const Command* FindSubCommand(const std::string& parent, const std::string& sub) {
  auto family = Table().find(parent);
  if (family == Table().end()) return nullptr;
  auto it = family->second.find(sub);
  return it == family->second.end() ? nullptr : &it->second;
}

std::vector<const Command*> SubCommandsOf(const std::string& parent) {
  std::vector<const Command*> out;
  auto family = Table().find(parent);
  if (family == Table().end()) return out;
  for (const auto& [name, command] : family->second) out.push_back(&command);
  return out;
}

}  // namespace cli
