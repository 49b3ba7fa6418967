// quillane keywords list|show|set|delete: the keyword lists sessions highlight their output with.
#include <iostream>

#include "config/database/session_database.h"
#include "config/highlight/highlight_config.h"
#include "config/highlight/highlight_messages.h"
#include "platform/app_info.h"
#include "platform/win32_errors.h"
#include "quillane/cli.h"
#include "quillane/item_database.h"
#include "quillane/text_escape.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane keywords list\n"
    "  quillane keywords show NAME\n"
    "  quillane keywords set NAME [WORD ...] [--match-case on|off]\n"
    "  quillane keywords delete NAME\n"
    "list gives the names of the keyword lists. show prints whether the list matches case and\n"
    "each keyword with its highlight value and flags (eight hexadecimal digits each). set creates\n"
    "the list when it does not exist; the WORDs given become its keywords in that order, a word\n"
    "already in the list keeping its value and flags, a new one taking 000000ff and 00000000;\n"
    "without WORDs the keywords stay as they are. A keyword may hold blanks and commas but no\n"
    "double quote or line break. Stored entries that cannot be read are kept as they are.\n";

std::string Hex(uint32_t value) { return Utf8(VUnicodeString(vtext::FormatHex(value, 8))); }


void Warn(const HighlightConfig& list) {
  for (const VUnicodeString& warning : list.GetLoadWarnings())
    std::cerr << "quillane: " << Utf8(warning) << std::endl;
}

int List(Context& context, const ParsedArgs& args) {
  if (!args.positionals.empty()) throw UsageError("list takes no arguments");
  if (int failed = context.CheckStore()) return failed;
  return ListNames(context, ItemDatabase().ListItems(ItemCollection::KeywordLists));
}

int Show(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("show takes one NAME");
  VUnicodeString name = Wide(args.positionals[0]);
  if (int failed = context.CheckStore()) return failed;
  VRef<HighlightConfig> list = ItemDatabase().OpenKeywordList(name);
  if (!list) return FailNamed(context, kExitNotFound, kMsgKeywordListMissing, name);
  Warn(*list.Get());
  Json keywords = Json::Array();
  for (const KeywordEntry& entry : list->GetKeywords()) {
    Json keyword = Json::Object();
    keyword.Set("text", Utf8(entry.text));
    keyword.Set("value", Hex(entry.value));
    keyword.Set("flags", Hex(entry.flags));
    keywords.Push(std::move(keyword));
  }
  Json result = Json::Object();
  result.Set("name", Utf8(name));
  result.Set("match_case", list->GetMatchCase());
  result.Set("keywords", std::move(keywords));
  if (!context.Json()) {
    std::cout << "name\t" << EscapeText(name) << "\nmatch_case\t"
              << (list->GetMatchCase() ? "on" : "off") << '\n';
    for (const KeywordEntry& entry : list->GetKeywords())
      std::cout << "keyword\t" << EscapeText(entry.text) << '\t' << Hex(entry.value) << '\t'
                << Hex(entry.flags) << '\n';
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

int Set(Context& context, const ParsedArgs& args) {
  if (args.positionals.empty()) throw UsageError("set takes a NAME");
  VUnicodeString name = Wide(args.positionals[0]);
  std::vector<VUnicodeString> words;
  for (size_t i = 1; i < args.positionals.size(); ++i) words.push_back(Wide(args.positionals[i]));
  bool matchCaseGiven = args.values.count("--match-case") > 0;
  if (words.empty() && !matchCaseGiven) throw UsageError("set takes WORDs or --match-case");
  bool matchCase = matchCaseGiven && OnOff("--match-case", args.values.at("--match-case"));
  // A list of that name could never be chosen by a session: it would read as no list at all.
  if (SessionDatabase::IsNoKeywordListName(name))
    return FailNamed(context, kExitUsage, kMsgKeywordListNameReserved, name);
  for (const VUnicodeString& word : words)
    if (!vkeywords::IsStorableKeyword(word))
      return FailNamed(context, kExitUsage, kMsgKeywordNotStorable, word);
  if (int failed = context.CheckStore()) return failed;

  VRef<HighlightConfig> list = ItemDatabase().OpenKeywordList(name);
  if (!list) {
    list = VRef<HighlightConfig>(new HighlightConfig(name));
    list->Load(nullptr, VGetDerivedProductId());
  }
  Warn(*list.Get());
  if (!words.empty()) {
    std::vector<KeywordEntry> keywords;
    for (const VUnicodeString& word : words) {
      bool repeated = false;
      for (const KeywordEntry& taken : keywords) repeated = repeated || taken.text == word;
      if (repeated) continue;
      KeywordEntry entry;
      entry.text = word;
      entry.value = vkeywords::kDefaultHighlightValue;
      for (const KeywordEntry& old : list->GetKeywords())
        if (old.text == word) {
          entry = old;
          break;
        }
      keywords.push_back(std::move(entry));
    }
    list->SetKeywords(std::move(keywords));
  }
  if (matchCaseGiven) list->SetMatchCase(matchCase);
  VReportMessageParams error;
  if (!ItemDatabase().SaveItem(*list.Get(), error))
    return FailNamed(context, kExitFailed, kMsgKeywordListNotSaved, name, &error);
  return kExitOk;
}

int Delete(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("delete takes one NAME");
  VUnicodeString name = Wide(args.positionals[0]);
  if (int failed = context.CheckStore()) return failed;
  return DeleteNamedItem(context, ItemCollection::KeywordLists, name, kMsgKeywordListMissing,
                         kMsgKeywordListNotDeleted);
}

int RunKeywords(Context& context) {
  if (context.args.empty()) throw UsageError("keywords needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "list") return List(context, ParseArgs(rest, {}, {}));
  if (sub == "show") return Show(context, ParseArgs(rest, {}, {}));
  if (sub == "set") return Set(context, ParseArgs(rest, {"--match-case"}, {}));
  if (sub == "delete") return Delete(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown keywords sub-command " + sub);
}

CommandRegistration registration({"keywords", "list, show, change and delete keyword lists",
                                  kUsage, &RunKeywords});

}  // namespace
}  // namespace cli
