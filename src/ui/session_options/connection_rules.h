// What the Connection page decides without a display: which protocols its lists offer, and
// whether the entries may be saved.
#pragma once

#include <vector>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

struct ProtocolListEntry {
  VUnicodeString name;     // stored in the session ("None" for no protocol)
  VUnicodeString display;  // shown in the list (empty: the catalogue's "None")
  bool available = true;   // false: the session names a protocol that is not loaded here
};

// The session part a single protocol list edits: the file-transfer part for a file-transfer
// product (or an installation with only file-transfer protocols), else the terminal part.
int SingleListPart();

// "None" first, then each protocol of the connect protocol table that `partIndex` takes, once per
// name, in table order. A `current` name that the table lacks is listed last, unavailable, so the
// list shows what the session holds.
std::vector<ProtocolListEntry> ProtocolListEntries(int partIndex, const VUnicodeString& current);

// The control a failed check points at.
enum class ConnectionField { None, Name, TerminalProtocol, TransferProtocol };

struct ConnectionEntries {
  bool checkName = false;        // a new session, or the name was changed
  VUnicodeString folder;         // the session's folder ("" at the top)
  VUnicodeString currentName;    // empty for a new session
  VUnicodeString proposedName;
  VUnicodeString terminalProtocol;  // empty: no list for that part
  VUnicodeString transferProtocol;
  bool twoLists = false;          // the installation has integrated protocols
  bool bothNoneAllowed = false;   // the Default session may stay without a protocol
};

// Checks in order: the name (the shared session-name rules), each chosen protocol being in the
// table ("None" always is), and with two lists that not both are "None". The first failure is
// returned with its message in `error`.
ConnectionField CheckConnectionEntries(const ConnectionEntries& entries, VReportMessageParams& error);

// The folder part of a session path ("Lab\router1" -> "Lab"; either separator).
VUnicodeString SessionFolderOf(const VUnicodeString& path);
