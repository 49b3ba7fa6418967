#include "platform/fips_policy.h"

#include <cctype>

bool SystemFipsPolicyEnabled(vfs::Env* env, const std::string& path) {
  VExpected<int> fd = env->OpenForReading(path, true);
  if (!fd) return false;
  vfs::EnvFile file(env, *fd);
  std::string text;
  if (!env->ReadAll(file.Descriptor(), text, 64)) return false;
  size_t end = text.size();
  while (end > 0 && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  if (end == 0) return false;
  bool nonZero = false;
  for (size_t i = 0; i < end; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    if (text[i] != '0') nonZero = true;
  }
  return nonZero;
}
