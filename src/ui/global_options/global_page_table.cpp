#include "ui/global_options/global_page_table.h"

#include <cstring>

#include "environment/products.h"
#include "ui/global_options/global_messages.h"

namespace {

using enum GlobalPageId;
using R = GlobalPageRule;
using namespace global_ui;

constexpr GlobalPageRow kRows[] = {
    {General, General, "GlobalGeneralPage", kPageGeneral, R::Always},
    {ConfigurationPaths, General, "GlobalConfigurationPathsPage", kPageConfigPaths, R::Always},
    {DefaultSession, General, "GlobalAutoSessionPage", kPageDefaultSession, R::NotSkellan},
    {Terminal, Terminal, "GlobalTerminalEmulationPage", kPageTerminal, R::Terminal},
    {Appearance, Terminal, "GlobalAppearancePage", kPageAppearance, R::Terminal},
    {AnsiColor, Appearance, "GlobalAnsiColorPage", kPageAnsiColor, R::Terminal},
    {ColorSchemes, Appearance, "GlobalColorSchemesPage", kPageAdvanced, R::Terminal},
    {Tabs, Terminal, "GlobalTabsPage", kPageTabs, R::Terminal},
    {Printing, Terminal, "GlobalPrintingPage", kPagePrinting, R::Terminal},
    {WebBrowser, Terminal, "GlobalWebBrowserPage", kPageWebBrowser, R::Terminal},
    {Tftp, Terminal, "GlobalTFTPPage", kPageTftp, R::Terminal},
    {TerminalAdvanced, Terminal, "GlobalTerminalAdvancedPage", kPageAdvanced, R::Terminal},
    {FileTransfer, FileTransfer, "GlobalFileTransferPage", kPageFileTransfer, R::Transfer},
    {Options, FileTransfer, "GlobalOptionsPage", kPageOptions, R::Transfer},
    {AdvancedOptions, Options, "GlobalAdvancedOptionsPage", kPageAdvanced, R::Transfer},
    {View, FileTransfer, "GlobalViewPage", kPageView, R::TransferNotSkellan},
    {Ftp, FileTransfer, "GlobalFtpPage", kPageFtp, R::Transfer},
    {Tls, FileTransfer, "GlobalSslPage", kPageTls, R::Transfer},
    {Sound, FileTransfer, "GlobalSoundPage", kPageSound, R::TransferNotSkellan},
    {FileTypes, FileTransfer, "GlobalFileTypesPage", kPageFileTypes, R::TransferFileTypes},
    {Filters, FileTransfer, "GlobalFilterPage", kPageFilters, R::Transfer},
    {Firewall, Firewall, "GlobalNewFirewallPage", kPageFirewall, R::Always},
};

}  // namespace

std::span<const GlobalPageRow> GlobalPageTable() { return kRows; }

const GlobalPageRow& GlobalPageRowOf(GlobalPageId id) {
  for (const GlobalPageRow& row : kRows)
    if (row.id == id) return row;
  return kRows[0];  // every id has a row; the table test holds that
}

const GlobalPageRow* FindGlobalPageRow(const char* className) {
  for (const GlobalPageRow& row : kRows)
    if (std::strcmp(row.className, className) == 0) return &row;
  return nullptr;
}

bool IsGlobalPageShown(const GlobalPageRow& row, const GlobalPageConditions& c) {
  bool skellan = c.productId == kProductSkellan;
  switch (row.rule) {
    case R::Always: return true;
    case R::NotSkellan: return !skellan;
    case R::Terminal: return c.terminalProtocols;
    case R::Transfer: return c.transferProtocols;
    case R::TransferNotSkellan: return c.transferProtocols && !skellan;
    case R::TransferFileTypes: return c.transferProtocols && c.fileTypeManagers;
  }
  return false;
}
