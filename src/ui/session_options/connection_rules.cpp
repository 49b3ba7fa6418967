#include "ui/session_options/connection_rules.h"

#include "config/session/connect_protocol_table.h"
#include "config/session/session_name.h"
#include "config/session/session_store.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "marrowby/ui_messages.h"
#include "ui/session_options/session_options_messages.h"

namespace {

using namespace session_options_messages;

bool IsNone(const VUnicodeString& name) { return name.empty() || vtext::EqualsNoCase(name, u"None"); }

bool InTable(int partIndex, const VUnicodeString& name) {
  return IsNone(name) || GetConnectProtocolTable().Find(name, partIndex) >= 0;
}

}  // namespace

int SingleListPart() {
  int product = GetCurrentAppProductID();
  bool transferProduct = product == kProductLumbrel || product == kProductSkellan;
  return transferProduct || (HasTransferProtocols() && !HasTerminalProtocols()) ? 1 : 0;
}

std::vector<ProtocolListEntry> ProtocolListEntries(int partIndex, const VUnicodeString& current) {
  std::vector<ProtocolListEntry> entries;
  entries.push_back({VUnicodeString(u"None"), VUnicodeString(), true});
  ConnectProtocolTable& table = GetConnectProtocolTable();
  for (size_t i = 0; i < table.Size(); ++i) {
    const ConnectProtocolEntry& entry = table.At(i);
    if (!PartAcceptsProduct(partIndex, entry.productId)) continue;
    bool listed = false;
    for (const ProtocolListEntry& each : entries)
      listed = listed || vtext::EqualsNoCase(each.name, entry.protocolName);
    if (listed) continue;
    entries.push_back({entry.protocolName,
                       entry.displayName.empty() ? entry.protocolName : entry.displayName, true});
  }
  if (!InTable(partIndex, current)) entries.push_back({current, current, false});
  return entries;
}

ConnectionField CheckConnectionEntries(const ConnectionEntries& entries,
                                       VReportMessageParams& error) {
  if (entries.checkName &&
      !ValidateSessionName(entries.folder, entries.currentName, entries.proposedName, false,
                           nullptr, error))
    return ConnectionField::Name;
  struct Part {
    const VUnicodeString& name;
    int index;
    ConnectionField field;
  } parts[] = {{entries.terminalProtocol, 0, ConnectionField::TerminalProtocol},
               {entries.transferProtocol, 1, ConnectionField::TransferProtocol}};
  // With one list only one of the two names is given; the other is empty and not checked.
  for (const Part& part : parts) {
    if (part.name.empty() || InTable(part.index, part.name)) continue;
    error = VReportMessageParams(kProtocolMissing, VGetUiMessageModule());
    error.AddInsert(part.name.c_str());
    return part.field;
  }
  if (entries.twoLists && !entries.bothNoneAllowed && IsNone(entries.terminalProtocol) &&
      IsNone(entries.transferProtocol)) {
    error = VReportMessageParams(kBothProtocolsNone, VGetUiMessageModule());
    return ConnectionField::TerminalProtocol;
  }
  return ConnectionField::None;
}

VUnicodeString SessionFolderOf(const VUnicodeString& path) {
  std::vector<VUnicodeString> levels = SplitSessionPath(path);
  VUnicodeString folder;
  for (size_t i = 0; i + 1 < levels.size(); ++i) {
    if (!folder.empty()) folder += u'\\';
    folder += levels[i];
  }
  return folder;
}
