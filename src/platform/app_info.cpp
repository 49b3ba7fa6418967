#include "platform/app_info.h"

#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

#include "platform/file_system.h"

namespace {

std::mutex gMutex;
VUnicodeString gAppName = u"Karvell";
VUnicodeString gConfigFolder;
std::string gExecutableFolder;
std::atomic<int> gDerivedProductId{-1};
std::atomic<uint64_t> gGeneration{0};

}  // namespace

VUnicodeString VGetAppName() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gAppName;
}

void VSetAppName(const VUnicodeString& name) {
  std::lock_guard<std::mutex> lock(gMutex);
  gAppName = name;
  ++gGeneration;
}

uint64_t VAppInfoGeneration() { return gGeneration; }

int VGetDerivedProductId() { return gDerivedProductId; }
void VSetDerivedProductId(int productId) { gDerivedProductId = productId; }

namespace vapp {

std::string GetEnv(const char* name) {
  const char* value = getenv(name);
  return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
  std::string home = GetEnv("HOME");
  if (!home.empty()) return home;
  if (struct passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string XdgConfigHome() {
  std::string value = GetEnv("XDG_CONFIG_HOME");
  // Relative values are invalid by the base-directory rules and are ignored.
  if (!value.empty() && value[0] == '/') return value;
  return vfs::JoinPath(HomeFolder(), ".config");
}

std::string XdgDataHome() {
  std::string value = GetEnv("XDG_DATA_HOME");
  if (!value.empty() && value[0] == '/') return value;
  return vfs::JoinPath(HomeFolder(), ".local/share");
}

std::string UserName() {
  if (struct passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return pw->pw_name;
  std::string user = GetEnv("USER");
  return user.empty() ? std::to_string(geteuid()) : user;
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "localhost";
  return name;
}

std::string ExecutableFolder() {
  {
    std::lock_guard<std::mutex> lock(gMutex);
    if (!gExecutableFolder.empty()) return gExecutableFolder;
  }
  // The running program's file does not change while it runs, and every path setting saved asks
  // for it (through the install folder placeholder): it is read from the system once.
  static const std::string running = [] {
    char path[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return std::string(".");
    return vfs::ParentFolder(std::string(path, static_cast<size_t>(n)));
  }();
  return running;
}

void SetExecutableFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(gMutex);
  gExecutableFolder = folder;
  ++gGeneration;
}

void SetConfigFolderInUse(const VUnicodeString& folder) {
  std::lock_guard<std::mutex> lock(gMutex);
  gConfigFolder = folder;
  ++gGeneration;
}

}  // namespace vapp

VUnicodeString GetTlvConfigPathSub() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gConfigFolder;
}

VUnicodeString GetTlvInstallPathSub() { return U8(vapp::ExecutableFolder()); }

VUnicodeString GetTlvUserDataPathSub() {
  return U8(vfs::JoinPath(vfs::JoinPath(vapp::XdgDataHome(), "Tolvane"), VGetAppName().ToUtf8()));
}

VUnicodeString GetTlvSshDataPathSub() {
  std::string app = vfs::JoinPath(vfs::JoinPath(vapp::XdgConfigHome(), "Tolvane"),
                                  VGetAppName().ToUtf8());
  return U8(vfs::JoinPath(app, "SSH"));
}
