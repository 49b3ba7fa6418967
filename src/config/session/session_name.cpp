#include "config/session/session_name.h"

#include "config/database/folder_data.h"
#include "config/session/session_messages.h"
#include "config/session/session_store.h"
#include "storage/model/key_name.h"
#include "storage/model/key_path.h"

namespace {

// Names become file names: these are refused on every system the files may travel to.
constexpr std::u16string_view kIllegalCharacters = u"\\/:*?\"<>|";

}  // namespace

bool ValidateSessionName(const VUnicodeString& folderPath, const VUnicodeString& currentName,
                         const VUnicodeString& proposedName, bool isFolder, void* parent,
                         VReportMessageParams& error, VProfileStoreFactory* factory) {
  if (proposedName.empty()) {
    error.Reset(kMsgSessionNameEmpty);
    return false;
  }
  for (char16_t c : proposedName) {
    if (kIllegalCharacters.find(c) != std::u16string_view::npos || c < 0x20) {
      const char16_t character[2] = {c, 0};
      error.Reset(kMsgSessionNameIllegalCharacter);
      error.AddInsert(character);
      return false;
    }
  }
  if (IsFolderDataName(proposedName)) {
    error.Reset(kMsgSessionNameReserved);
    error.AddInsert(proposedName.c_str());
    return false;
  }
  if (IsReservedDeviceName(proposedName)) {
    error.Reset(kMsgSessionNameReservedDevice);
    error.AddInsert(proposedName.c_str());
    return false;
  }
  {
    // The store has limits of its own (the length of a file's name): a name it cannot hold is
    // refused now rather than by a save that fails.
    VProfileStore store(true, factory);
    if (!StoreAcceptsKeyName(*store.GetRootKey(), proposedName.c_str(), error)) return false;
  }
  if (!currentName.empty() && vtext::EqualsNoCase(currentName, proposedName)) return true;
  VUnicodeString path = VKeyPath::Join(folderPath, proposedName);
  if (SessionKeyExists(path, factory)) {
    error.Reset(kMsgSessionNameInUse);
    error.AddInsert(proposedName.c_str());
    return false;
  }
  return true;
}
