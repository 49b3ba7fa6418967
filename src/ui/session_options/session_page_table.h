// The built-in pages of the Session Options dialog as one table: where each page hangs in the
// tree, how it is made from the dialog's arguments, and when it is part of the tree. Adding a
// page is adding its row.
#pragma once

#include <string_view>
#include <vector>

#include "ui/session_page_context.h"

class VPropertyTreePage;

// When a page belongs in the tree.
enum class SessionPageShown {
  Always,
  Terminal,           // the product has terminal protocols
  TerminalAnsiColor,  // as Terminal, unless the global "Hide Session ANSI Color Page" is on
  Transfer,           // the product has file-transfer protocols
};

// What the dialog itself needs to find among the pages (their hooks and show/hide rules).
enum class SessionPageRole {
  Other,
  Connection,
  LogonActions,
  Terminal,
  Appearance,
  Printing,
  FileTransfer,
  FtpSftp,
};

struct SessionPageRow {
  std::string_view position;  // "2.1.3": the page's place in the tree, parents listed first
  SessionPageShown shown;
  SessionPageRole role;
  VPropertyTreePage* (*make)(const SessionPageContext& context);
};

// Every built-in page, in tree order.
const std::vector<SessionPageRow>& SessionPageRows();

// The position of the row's parent ("2.1" for "2.1.3", empty for a top-level page).
std::string_view ParentPosition(std::string_view position);

// Whether a row is part of the tree for a product with (or without) terminal and file-transfer
// protocols, and with the session ANSI Color page hidden or not.
bool IsSessionPageBuilt(const SessionPageRow& row, bool terminalProtocols, bool transferProtocols,
                        bool hideAnsiColorPage);
