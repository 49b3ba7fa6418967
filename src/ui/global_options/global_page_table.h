// The pages of the Global Options dialog as data: where each hangs in the tree, its title, and
// when it is shown. Which pages a configuration gets is decided here, without widgets, so the
// rules are tested directly and the dialog only follows the table.
#pragma once

#include <cstdint>
#include <span>

enum class GlobalPageId {
  General,
  ConfigurationPaths,
  DefaultSession,
  Terminal,
  Appearance,
  AnsiColor,
  ColorSchemes,
  Tabs,
  Printing,
  WebBrowser,
  Tftp,
  TerminalAdvanced,
  FileTransfer,
  Options,
  AdvancedOptions,
  View,
  Ftp,
  Tls,
  Sound,
  FileTypes,
  Filters,
  Firewall,
};

enum class GlobalPageRule {
  Always,
  NotSkellan,          // hidden for the file-transfer-only product (id 9)
  Terminal,            // the product has terminal protocols
  Transfer,            // the product has file-transfer protocols
  TransferNotSkellan,  // both of the above
  TransferFileTypes,   // file transfer, and both a file-type manager and an icon manager given
};

struct GlobalPageRow {
  GlobalPageId id;
  GlobalPageId parent;  // the row's own id for a top-level page
  const char* className;
  uint32_t titleId;
  GlobalPageRule rule;
  bool IsTopLevel() const { return parent == id; }
};

struct GlobalPageConditions {
  int productId = 3;
  bool terminalProtocols = true;
  bool transferProtocols = true;
  bool fileTypeManagers = false;
};

// Every page in tree order (a parent before its children).
std::span<const GlobalPageRow> GlobalPageTable();
const GlobalPageRow& GlobalPageRowOf(GlobalPageId id);
const GlobalPageRow* FindGlobalPageRow(const char* className);
// Whether the row itself passes its rule (a child of a hidden page is absent with its parent,
// which every child's rule implies here).
bool IsGlobalPageShown(const GlobalPageRow& row, const GlobalPageConditions& conditions);
