#include "quillane/usage.h"

namespace cli {

void PrintUsage(std::ostream& out) {
  out << "usage: quillane [OPTIONS] COMMAND [ARGUMENTS]\n"
         "\n"
         "Options:\n"
         "  --config DIR          the configuration folder\n"
         "  --personal DIR        the personal data folder\n"
         "  --xml FILE            one XML settings file as the store\n"
         "  --registry HIVE       the registry store (HKCU or HKLM)\n"
         "  --app NAME            Karvell (default), Lumbrel, Pyrrel, Wyrmhold, Skellan\n"
         "  --json                machine-readable output\n"
         "  --lang LANG           en or fr\n"
         "  --passphrase-env VAR  the configuration passphrase is in environment variable VAR\n"
         "  --no-prompt           never prompt\n"
         "\n"
         "Commands:\n";
  for (const auto& [name, command] : Commands()) {
    out << "  " << name;
    for (size_t i = name.size(); i < 12; ++i) out << ' ';
    out << "  " << command.summary << "\n";
  }
  out << "\nWithout a command, quillane shows the configuration in use.\n"
         "quillane COMMAND --help shows the usage of one command.\n";
}

void PrintCommandUsage(std::ostream& out, const Command& command) {
  out << "usage:\n" << command.usage;
  for (const Command* sub : SubCommandsOf(command.name)) out << sub->usage;
}

}  // namespace cli
