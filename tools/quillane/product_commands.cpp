// quillane products and url-handler: which applications of the family are installed here, and
// whether the terminal application handles its link schemes for this user.
#include <iostream>

#include "environment/installed_products.h"
#include "environment/products.h"
#include "environment/url_handler.h"
#include "platform/app_info.h"
#include "quillane/cli.h"
#include "quillane/text_escape.h"

namespace cli {
namespace {

constexpr char kProductsUsage[] =
    "  quillane products\n"
    "Shows the running product (--app), the product that transfers files for it, which\n"
    "applications of the family are installed beside quillane (with their paths) and whether\n"
    "the terminal and file-transfer applications are installed together as an integrated pair.\n";

constexpr char kUrlUsage[] =
    "  quillane url-handler status\n"
    "  quillane url-handler register\n"
    "status tells, for each link scheme of the terminal application (ssh, ssh1, ssh2, telnet),\n"
    "whether this installation is the desktop's default handler (false for all when the terminal\n"
    "application is not installed beside quillane). register makes it so for this\n"
    "user: a desktop entry in $XDG_DATA_HOME/applications and the associations in\n"
    "$XDG_CONFIG_HOME/mimeapps.list, every other line of which is kept.\n";

constexpr uint32_t kMsgTerminalNotInstalled = 0xE13F00C2;  // %1 product, %2 folder
constexpr uint32_t kMsgUrlHandlerNotRegistered = 0xE13F00C3;  // %1 reason

Json Sibling(bool installed, const VUnicodeString& path) {
  Json out = Json::Object();
  out.Set("installed", installed);
  out.Set("path", Utf8(path));
  return out;
}

int Products(Context& context) {
  if (!context.args.empty()) throw UsageError("products takes no arguments");
  VUnicodeString other;
  bool integrated = IsIntegrated(other);
  struct Row {
    const char* name;
    bool installed;
    VUnicodeString path;
  };
  const Row rows[] = {{"Karvell", IsKarvellInstalled(), GetKarvellPath()},
                      {"Lumbrel", IsLumbrelInstalled(), GetLumbrelPath()},
                      {"Ostrel", IsOstrelInstalled(), GetOstrelPath()}};
  if (context.Json()) {
    Json out = Json::Object();
    out.Set("product_id", GetCurrentAppProductID());
    out.Set("app", context.options.app);
    out.Set("transfer_product_id", GetTransferAppProductID());
    out.Set("integrated", integrated);
    out.Set("other_app", integrated ? Json(Utf8(other)) : Json(nullptr));
    Json installed = Json::Object();
    for (const Row& row : rows) installed.Set(row.name, Sibling(row.installed, row.path));
    out.Set("installed", std::move(installed));
    context.SetResult(std::move(out));
    return kExitOk;
  }
  std::cout << "product_id\t" << GetCurrentAppProductID() << "\n"
            << "app\t" << EscapeText(context.options.app) << "\n"
            << "transfer_product_id\t" << GetTransferAppProductID() << "\n"
            << "integrated\t" << (integrated ? "true" : "false") << "\n"
            << "other_app\t" << EscapeText(other) << "\n";
  for (const Row& row : rows) {
    std::cout << row.name << "\t" << (row.installed ? "installed" : "not installed") << "\t"
              << EscapeText(row.path) << "\n";
  }
  return kExitOk;
}

// Without the terminal application beside quillane no scheme is handled by this installation.
int Status(Context& context, const VDefaultApplication* app) {
  Json out = Json::Object();
  for (const VUrlScheme& scheme : app ? app->schemes : KarvellUrlSchemes()) {
    bool ours = app && IsDefaultApplicationForScheme(*app, scheme.scheme);
    out.Set(Utf8(scheme.scheme), ours);
    if (!context.Json()) std::cout << EscapeText(scheme.scheme) << "\t" << (ours ? "true" : "false") << "\n";
  }
  context.SetResult(std::move(out));
  return kExitOk;
}

int UrlHandler(Context& context) {
  if (context.args.size() != 1) throw UsageError("url-handler takes status or register");
  const std::string& sub = context.args[0];
  if (sub != "status" && sub != "register") throw UsageError("unknown url-handler sub-command " + sub);
  VDefaultApplication app;
  bool installed = GetKarvellDefaultApplicationSettings(app);
  if (sub == "status") return Status(context, installed ? &app : nullptr);
  if (!installed) {
    return context.Fail(kExitFailed, kMsgTerminalNotInstalled,
                        {VUnicodeString(u"Karvell"), Wide(vapp::ExecutableFolder())});
  }
  VStatus done = RegisterDefaultApplication(app);
  if (!done.ok()) {
    VReportMessageParams why;
    why.SetStatus(done);
    return context.Fail(kExitFailed, kMsgUrlHandlerNotRegistered, {why.GetTextOneLineTrimmed()});
  }
  return Status(context, &app);
}

CommandRegistration products({"products", "the running product and the installed applications",
                              kProductsUsage, &Products});
CommandRegistration urlHandler({"url-handler", "the terminal application as the handler of ssh: links",
                                kUrlUsage, &UrlHandler});

}  // namespace
}  // namespace cli
