// The pages a protocol adds to the Session Options dialog. A protocol module never links the
// user interface (a command-line host loads the same modules without Qt), so the objects that
// put a protocol's pages into the tree are made here, on this side, by one maker for every
// entry of the connect protocol table; tests put a maker of their own.
#pragma once

#include <memory>

struct ConnectProtocolEntry;
class ISessionConfig;
class VPropertyTreeDialog;
class VPropertyTreePage;

class IProtocolPages {
 public:
  virtual ~IProtocolPages() = default;
  // Adds the pages the first time, shows them again afterwards.
  virtual void ShowPages(VPropertyTreeDialog& dialog, ISessionConfig& session) = 0;
  // Hides them; they keep what was entered and are shown again on a later ShowPages.
  virtual void HidePages(VPropertyTreeDialog& dialog) = 0;
  // Takes them out of the dialog for good.
  virtual void RemovePages(VPropertyTreeDialog& dialog) = 0;
};

// Called as (entry, tree dialog, dialog mode, session, Connection page); null when the protocol
// adds no pages.
using ProtocolPagesMaker = std::unique_ptr<IProtocolPages> (*)(const ConnectProtocolEntry& entry,
                                                               VPropertyTreeDialog& dialog,
                                                               int mode, ISessionConfig& session,
                                                               VPropertyTreePage* connectionPage);

// Replaces the maker for the process; null puts the default back.
void SetProtocolPagesMaker(ProtocolPagesMaker maker);
std::unique_ptr<IProtocolPages> MakeProtocolPages(const ConnectProtocolEntry& entry,
                                                  VPropertyTreeDialog& dialog, int mode,
                                                  ISessionConfig& session,
                                                  VPropertyTreePage* connectionPage);
