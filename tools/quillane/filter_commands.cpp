// quillane filter list|show|set|delete: the file name filters of the file-transfer views.
#include <iostream>

#include "config/database/session_database.h"
#include "config/highlight/filter_store.h"
#include "config/highlight/highlight_messages.h"
#include "platform/app_info.h"
#include "platform/win32_errors.h"
#include "quillane/cli.h"
#include "quillane/item_database.h"
#include "quillane/text_escape.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane filter list\n"
    "  quillane filter show NAME\n"
    "  quillane filter set NAME [--type include|exclude] [--criteria \"*.txt; *.log\"]\n"
    "                           [--match-case on|off] [--folders on|off]\n"
    "  quillane filter delete NAME\n"
    "list gives the names of the filters. show prints the filter's type (Include or Exclude), its\n"
    "file name patterns, whether they match case and whether they apply to folders too. set\n"
    "creates the filter when it does not exist (include, no pattern, both off) and changes what\n"
    "is given; --criteria takes the patterns separated by semicolons, \"\" for none.\n";

FilterStore Filters() { return FilterStore(ItemDatabase()); }


int List(Context& context, const ParsedArgs& args) {
  if (!args.positionals.empty()) throw UsageError("list takes no arguments");
  if (int failed = context.CheckStore()) return failed;
  return ListNames(context, Filters().List());
}

int Show(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("show takes one NAME");
  VUnicodeString name = Wide(args.positionals[0]);
  if (int failed = context.CheckStore()) return failed;
  VRef<FilterConfig> filter = Filters().Open(name);
  if (!filter) return FailNamed(context, kExitNotFound, kMsgFilterMissing, name);
  Json criteria = Json::Array();
  for (const VUnicodeString& pattern : filter->filterCriteria.Current()) criteria.Push(Utf8(pattern));
  Json result = Json::Object();
  result.Set("name", Utf8(name));
  result.Set("type", Utf8(filter->GetTypeText()));
  result.Set("criteria", std::move(criteria));
  result.Set("match_case", filter->matchFilterCase.current);
  result.Set("apply_to_folders", filter->applyToFolders.current);
  if (!context.Json()) {
    std::cout << "name\t" << EscapeText(name) << "\ntype\t" << EscapeText(filter->GetTypeText())
              << "\ncriteria\t" << EscapeText(filter->GetCriteriaText()) << "\nmatch_case\t"
              << (filter->matchFilterCase.current ? "on" : "off") << "\napply_to_folders\t"
              << (filter->applyToFolders.current ? "on" : "off") << '\n';
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

int Set(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("set takes one NAME");
  VUnicodeString name = Wide(args.positionals[0]);
  std::optional<int> type;
  if (args.values.count("--type")) {
    const std::string& text = args.values.at("--type");
    if (text == "include") type = static_cast<int>(FilterType::Include);
    else if (text == "exclude") type = static_cast<int>(FilterType::Exclude);
    else throw UsageError("--type takes include or exclude, not " + text);
  }
  std::optional<VStringArray> criteria;
  if (args.values.count("--criteria")) {
    VUnicodeString text = Wide(args.values.at("--criteria"));
    criteria = FilterConfig::SplitCriteria(text);
    // "" clears the patterns; a text that is not empty yet holds none is a slip.
    if (criteria->IsEmpty() && !text.empty())
      return FailNamed(context, kExitUsage, kMsgFilterNoCriteria, text);
  }
  std::optional<bool> matchCase, folders;
  if (args.values.count("--match-case")) matchCase = OnOff("--match-case", args.values.at("--match-case"));
  if (args.values.count("--folders")) folders = OnOff("--folders", args.values.at("--folders"));
  if (int failed = context.CheckStore()) return failed;

  FilterStore store = Filters();
  VRef<FilterConfig> filter = store.Open(name);
  if (!filter) {
    filter = VRef<FilterConfig>(new FilterConfig(name));
    filter->Load(nullptr, VGetDerivedProductId());
  }
  if (type) filter->filterType = *type;
  if (criteria) filter->filterCriteria = *criteria;
  if (matchCase) filter->matchFilterCase = *matchCase;
  if (folders) filter->applyToFolders = *folders;
  VReportMessageParams error;
  if (!store.Save(*filter.Get(), false, error))
    return FailNamed(context, kExitFailed, kMsgFilterNotSaved, name, &error);
  return kExitOk;
}

int Delete(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("delete takes one NAME");
  VUnicodeString name = Wide(args.positionals[0]);
  if (int failed = context.CheckStore()) return failed;
  return DeleteNamedItem(context, ItemCollection::Filters, name, kMsgFilterMissing,
                         kMsgFilterNotDeleted);
}

int RunFilter(Context& context) {
  if (context.args.empty()) throw UsageError("filter needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "list") return List(context, ParseArgs(rest, {}, {}));
  if (sub == "show") return Show(context, ParseArgs(rest, {}, {}));
  if (sub == "set")
    return Set(context, ParseArgs(rest, {"--type", "--criteria", "--match-case", "--folders"}, {}));
  if (sub == "delete") return Delete(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown filter sub-command " + sub);
}

CommandRegistration registration({"filter", "list, show, change and delete file name filters",
                                  kUsage, &RunFilter});

}  // namespace
}  // namespace cli
