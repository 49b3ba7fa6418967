#include "ui/protocol_pages.h"

#include <atomic>

namespace {

// The default maker arrives with the pages modules describe; until one is set, no protocol adds
// pages.
std::atomic<ProtocolPagesMaker> g_defaultMaker{nullptr};
std::atomic<ProtocolPagesMaker> g_maker{nullptr};

}  // namespace

void SetProtocolPagesMaker(ProtocolPagesMaker maker) { g_maker = maker; }

std::unique_ptr<IProtocolPages> MakeProtocolPages(const ConnectProtocolEntry& entry,
                                                  VPropertyTreeDialog& dialog, int mode,
                                                  ISessionConfig& session,
                                                  VPropertyTreePage* connectionPage) {
  ProtocolPagesMaker maker = g_maker.load();
  if (!maker) maker = g_defaultMaker.load();
  if (!maker) return nullptr;
  return maker(entry, dialog, mode, session, connectionPage);
}
