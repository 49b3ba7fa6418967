#include "ui/protocol_pages.h"

#include <atomic>

#include "ui/module_protocol_pages.h"

namespace {

// By default a protocol's pages are those its module describes.
std::atomic<ProtocolPagesMaker> g_defaultMaker{&MakeModuleProtocolPages};
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
