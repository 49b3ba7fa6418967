#include "platform/module_calls.h"

#include <dlfcn.h>

namespace vmodule {

void Close(void* module) {
  if (module) dlclose(module);
}

std::string LastError() {
  const char* text = dlerror();
  return text ? std::string(text) : std::string();
}

}  // namespace vmodule
