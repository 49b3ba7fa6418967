// A configuration folder in a temporary directory, with the INI store on it, for tests of values
// that are written to and read back from real files.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "storage/ini/ini_file_store.h"
#include "support/test_support.h"

class IniFolder {
 public:
  // `env` is what the store's keys work through: a test's own to inject faults.
  explicit IniFolder(vfs::Env* env = vfs::Env::Default())
      : factory_(VUnicodeString::FromUtf8(dir_.Path()), VUnicodeString(), env) {}

  // Opens the key `name` below the root (created when written) and hands it to `use`; the key is
  // written when `use` returns.
  void WithKey(const char16_t* name, const std::function<void(VProfileKey&)>& use,
               bool readOnly = false) {
    VProfileStore store(readOnly, &factory_);
    VProfileKey key(*store.GetRootKey(), name, kProfileKeyCreate);
    use(key);
  }
  // The lines of a key's value file after the byte-order mark ("" when there is no file).
  std::string Lines(const std::string& key) const {
    std::string bytes = qtest::ReadFile(dir_ / (key + ".ini"));
    return bytes.size() >= 3 ? bytes.substr(3) : std::string();
  }
  std::string FilePath(const std::string& key) const { return dir_ / (key + ".ini"); }
  bool HasFile(const std::string& key) const { return qtest::Exists(dir_ / (key + ".ini")); }
  // Writes a value file as another program would: a byte-order mark and the given lines.
  void WriteLines(const std::string& key, const std::string& lines) {
    qtest::WriteFile(dir_ / (key + ".ini"), "\xEF\xBB\xBF" + lines);
  }
  VIniFileStoreFactory& Factory() { return factory_; }
  // The lines of a byte block as a value file holds them: a header with the size, then the
  // bytes in lower-case hexadecimal, 32 to a line.
  static std::string BlockLines(const std::string& name, const std::vector<uint8_t>& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    char header[16];
    std::snprintf(header, sizeof header, "%08zx", bytes.size());
    std::string out = "B:\"" + name + "\"=" + header + "\r\n";
    for (size_t i = 0; i < bytes.size(); ++i) {
      out += {' ', kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
      if ((i + 1) % 32 == 0 || i + 1 == bytes.size()) out += "\r\n";
    }
    return out;
  }

 private:
  qtest::TempDir dir_;
  VIniFileStoreFactory factory_;
};
