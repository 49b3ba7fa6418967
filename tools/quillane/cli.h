// The command-line host's frame: options, the store in use, output and exit status.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/store_location.h"
#include "quillane/json.h"
#include "storage/model/key_path.h"
#include "report/report_message_params.h"
#include "storage/model/profile_store.h"

namespace cli {

enum ExitCode { kExitOk = 0, kExitNotFound = 1, kExitUsage = 2, kExitFailed = 3 };

// A wrong command line: printed with the usage, exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Options {
  std::string config;
  std::string personal;
  std::string xml;
  std::string registry;
  std::string app = "Karvell";
  std::string passphraseEnv;
  bool json = false;
  bool noPrompt = false;
};

using StoreKind = host::StoreKind;

// Messages of the command line itself (facility 0x13F, kept with the host's texts).
constexpr uint32_t kMsgValueMissing = 0xE13F0001;
constexpr uint32_t kMsgKeyMissing = 0xE13F0002;
constexpr uint32_t kMsgValueOtherKind = 0xE13F0003;
constexpr uint32_t kMsgKeyNotSaved = 0xE13F0004;
constexpr uint32_t kMsgCopyIntoItself = 0xE13F0005;
constexpr uint32_t kMsgKeyNotDeleted = 0xE13F0006;
constexpr uint32_t kMsgKeyNotCopied = 0xE13F0007;
constexpr uint32_t kMsgValueUnreadable = 0xE13F00A0;   // %1 value, %2 key, %3 reason
constexpr uint32_t kMsgValuesUnreadable = 0xE13F00A1;  // %1 key, %2 reason

class Context {
 public:
  Options options;
  std::vector<std::string> args;  // the command's own arguments
  std::string commandName;

  // The store the options name, and how its location was found.
  StoreKind storeKind = StoreKind::IniFolder;
  std::string storeLocation;
  std::string storeFoundHow;
  VProfileStoreFactory* Factory();
  // Sub-keys come into being with their value file in a folder store; other stores create keys
  // when asked to open them with the create flag.
  int CreateFlags() const;
  // A settings file that cannot be read (not XML, not a settings file) reads as an empty store;
  // commands report it instead of answering from nothing. 0 when the store is usable, else the
  // exit status after the message was printed.
  int CheckStore(VProfileStore& store);
  // The same on a store of its own, for commands that reach the store through the library.
  int CheckStore();

  bool Json() const { return options.json; }
  // Sets the JSON document printed when the command ends.
  void SetResult(::Json result) { result_ = std::move(result); }
  ::Json& Result() { return result_; }
  // Reports a failure: the trimmed catalogue text on standard error, and in JSON an "error"
  // member. Returns `code` for the caller to return.
  int Fail(int code, VReportMessageParams& message);
  int Fail(int code, uint32_t id, const std::vector<VUnicodeString>& inserts = {});

  // Prints the JSON result (when --json) at the end of the command, once: a command that goes on
  // running after it has answered calls it early.
  void Finish();

 private:
  ::Json result_ = ::Json::Object();
  bool finished_ = false;
  std::unique_ptr<VProfileStoreFactory> factory_;
};

struct Command {
  const char* name;
  const char* summary;
  const char* usage;  // printed by COMMAND --help
  int (*run)(Context&);
};

// Commands register themselves at start-up, one file per family.
struct CommandRegistration {
  explicit CommandRegistration(const Command& command);
};
const std::map<std::string, Command>& Commands();

// A sub-command kept in a file of its own while the rest of its family is dispatched by the
// family's command ("session import-ssh-config" beside "session show"): `name` is "PARENT SUB".
// The host runs it with the arguments after SUB, and its usage follows the parent's.
struct SubCommandRegistration {
  SubCommandRegistration(const std::string& parent, const std::string& sub, const Command& command);
};
const Command* FindSubCommand(const std::string& parent, const std::string& sub);
std::vector<const Command*> SubCommandsOf(const std::string& parent);

// Splits a key path ("Sessions/Lab/host1", "Sessions\Lab") into its levels; empty or "/" is the
// root.
std::vector<VUnicodeString> SplitKeyPath(const std::string& path);
std::string JoinKeyPath(const std::vector<VUnicodeString>& levels);

// A chain of open keys from the root to the one named by a path.
class KeyPath {
 public:
  KeyPath(VProfileStore& store, const std::vector<VUnicodeString>& levels, int flags);
  VProfileKey& Key() { return keys_.empty() ? *root_ : *keys_.back(); }
  // Writes the keys now, innermost first; false with the failing key's error.
  bool Flush(VReportMessageParams& error);

 private:
  VProfileKey* root_;
  std::vector<std::unique_ptr<VProfileKey>> keys_;
};
// True when every level of the path exists.
bool KeyExists(VProfileStore& store, const std::vector<VUnicodeString>& levels);

// Argument parsing for one command: positionals and "--name [value]" flags.
struct ParsedArgs {
  std::vector<std::string> positionals;
  std::map<std::string, std::string> values;
  std::map<std::string, bool> switches;
  std::vector<std::string> rest;  // everything after a flag that takes the rest
  bool Has(const std::string& flag) const { return values.count(flag) || switches.count(flag); }
};
// `valueFlags` take one value, `switchFlags` none, `restFlag` (when not empty) takes all the
// remaining arguments.
ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueFlags,
                     const std::vector<std::string>& switchFlags, const std::string& restFlag = "");

// Reads a number given as decimal or 0x hexadecimal; throws UsageError naming `what`.
uint32_t ParseDword(const std::string& text, const char* what);

std::string Utf8(const VUnicodeString& text);
VUnicodeString Wide(const std::string& text);
// Bytes as printable ASCII, every other byte as \xNN: for naming an argument that is not text.
std::string ShowBytes(std::string_view bytes);
// Refuses (UsageError naming `what`) a folder path that is not UTF-8: key names read that way
// are found again through their folder's listing, but a folder itself would silently become
// another one.
void RequireUtf8Path(const std::string& path, const std::string& what);

}  // namespace cli
