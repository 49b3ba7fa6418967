#include "quillane/cli.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "host/store_location.h"

namespace cli {

std::string Utf8(const VUnicodeString& text) { return text.ToUtf8(); }
// Arguments that are not UTF-8 are read as the text files without a byte-order mark are
// (Windows-1252), and file names on disk the same way, so that such a name can be typed as it is
// and reaches its own file; replacing the stray bytes would make different names one.
VUnicodeString Wide(const std::string& text) { return VUnicodeString(vtext::FromNarrow(text)); }

std::string ShowBytes(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out.push_back(c);
    } else {
      out += {'\\', 'x', kDigits[b >> 4], kDigits[b & 15]};
    }
  }
  return out;
}

void RequireUtf8Path(const std::string& path, const std::string& what) {
  if (!vtext::IsValidUtf8(path))
    throw UsageError(what + " is not valid UTF-8: " + ShowBytes(path));
}

namespace {
std::map<std::string, Command>& Registry() {
  static std::map<std::string, Command> commands;
  return commands;
}

std::string IdText(uint32_t id) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", id);
  return buffer;
}
}  // namespace

CommandRegistration::CommandRegistration(const Command& command) {
  Registry()[command.name] = command;
}

const std::map<std::string, Command>& Commands() { return Registry(); }

VProfileStoreFactory* Context::Factory() {
  if (!factory_) {
    host::StoreLocation location;
    location.kind = storeKind;
    location.location = storeLocation;
    location.personal = options.personal;
    factory_ = host::MakeStoreFactory(location);
  }
  return factory_.get();
}

int Context::CreateFlags() const {
  return storeKind == StoreKind::IniFolder ? 0 : kProfileKeyCreate;
}

int Context::CheckStore(VProfileStore& store) {
  host::StoreLocation location;
  location.kind = storeKind;
  VReportMessageParams error;
  if (!host::CheckStoreReadable(location, store, error)) return Fail(kExitFailed, error);
  return 0;
}

int Context::CheckStore() {
  if (storeKind != StoreKind::XmlFile) return 0;
  VProfileStore store(true, nullptr);
  return CheckStore(store);
}

int Context::Fail(int code, VReportMessageParams& message) {
  std::string text = Utf8(message.GetTextTrimmed());
  std::cerr << "quillane: " << text << std::endl;
  if (options.json) {
    ::Json error = ::Json::Object();
    error.Set("id", IdText(message.GetMessageId()));
    error.Set("text", text);
    if (result_.GetType() != ::Json::Type::Object) result_ = ::Json::Object();
    result_.Set("error", std::move(error));
  }
  return code;
}

int Context::Fail(int code, uint32_t id, const std::vector<VUnicodeString>& inserts) {
  VReportMessageParams message(id);
  for (const auto& insert : inserts) message.AddInsert(insert);
  return Fail(code, message);
}

void Context::Finish() {
  if (options.json && !finished_) std::cout << result_.Dump() << std::endl;
  finished_ = true;
}

std::vector<VUnicodeString> SplitKeyPath(const std::string& path) {
  return VKeyPath::Parse(Wide(path)).Levels();
}

std::string JoinKeyPath(const std::vector<VUnicodeString>& levels) {
  std::string out;
  for (const auto& level : levels) {
    if (!out.empty()) out.push_back('\\');
    out += Utf8(level);
  }
  return out;
}

KeyPath::KeyPath(VProfileStore& store, const std::vector<VUnicodeString>& levels, int flags)
    : root_(store.GetRootKey()) {
  for (const auto& level : levels) {
    VProfileKey& parent = keys_.empty() ? *root_ : *keys_.back();
    keys_.push_back(std::make_unique<VProfileKey>(parent, level.c_str(), flags));
  }
}

bool KeyPath::Flush(VReportMessageParams& error) {
  bool ok = true;
  for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) {
    if (!(*it)->Flush() && ok) {
      error = (*it)->GetLastError();
      ok = false;
    }
  }
  if (!root_->Flush() && ok) {
    error = root_->GetLastError();
    ok = false;
  }
  return ok;
}

bool KeyExists(VProfileStore& store, const std::vector<VUnicodeString>& levels) {
  std::vector<std::unique_ptr<VProfileKey>> chain;
  VProfileKey* parent = store.GetRootKey();
  for (const auto& level : levels) {
    if (!parent->SubKeyExists(level.c_str())) return false;
    chain.push_back(std::make_unique<VProfileKey>(*parent, level.c_str(), 0));
    parent = chain.back().get();
  }
  return true;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueFlags,
                     const std::vector<std::string>& switchFlags, const std::string& restFlag) {
  ParsedArgs parsed;
  auto contains = [](const std::vector<std::string>& list, const std::string& item) {
    for (const auto& entry : list)
      if (entry == item) return true;
    return false;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      parsed.positionals.insert(parsed.positionals.end(), args.begin() + static_cast<long>(i) + 1,
                                args.end());
      break;
    }
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      std::string name = arg;
      std::string inlineValue;
      bool hasInline = false;
      if (size_t eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        inlineValue = arg.substr(eq + 1);
        hasInline = true;
      }
      if (!restFlag.empty() && name == restFlag) {
        parsed.switches[name] = true;
        parsed.rest.assign(args.begin() + static_cast<long>(i) + 1, args.end());
        break;
      }
      if (contains(valueFlags, name)) {
        if (parsed.values.count(name)) throw UsageError(name + " is given twice");
        if (hasInline) {
          parsed.values[name] = inlineValue;
        } else {
          if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
          parsed.values[name] = args[++i];
        }
        continue;
      }
      if (contains(switchFlags, name) && !hasInline) {
        parsed.switches[name] = true;
        continue;
      }
      throw UsageError("unknown option " + name);
    }
    parsed.positionals.push_back(arg);
  }
  return parsed;
}

uint32_t ParseDword(const std::string& text, const char* what) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ')
    throw UsageError(std::string("'") + text + "' is not a valid " + what);
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  char* end = nullptr;
  errno = 0;
  unsigned long long value = std::strtoull(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (errno || !end || *end != '\0' || value > 0xFFFFFFFFull || end == text.c_str() + (hex ? 2 : 0))
    throw UsageError(std::string("'") + text + "' is not a valid " + what);
  return static_cast<uint32_t>(value);
}

}  // namespace cli
