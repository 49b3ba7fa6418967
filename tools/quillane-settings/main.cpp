// quillane-settings: the graphical host of the options dialogs.
#include <cstdio>

#include "settings_options.h"

int main(int argc, char** argv) {
  settings::Options options;
  std::string error;
  if (!settings::ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "quillane-settings: %s\n%s", error.c_str(), settings::Usage().c_str());
    return 2;
  }
  std::fputs(settings::Usage().c_str(), stdout);
  return 0;
}
