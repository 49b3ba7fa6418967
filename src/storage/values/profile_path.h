// Path settings that stay valid when the folders they point into move: a stored path may begin
// with one of four placeholders standing for folders known only at run time.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "storage/values/profile_value2.h"

// The placeholder kinds, in the order they are tried.
enum VPathKind : int {
  kPathNone = 0,
  kPathConfig = 1,    // ${TLV_CONFIG_PATH}
  kPathInstall = 2,   // ${TLV_INSTALL_PATH}
  kPathUserData = 3,  // ${TLV_USER_DATA_PATH}
  kPathSshData = 4,   // ${TLV_SSH_DATA_PATH}
};

const char16_t* VPathPlaceholder(VPathKind kind);

// The real folders behind the placeholders, read once.
struct VPathFolders {
  std::array<VUnicodeString, 5> folder;  // index by VPathKind; [0] unused
  static VPathFolders Current();
  // The same, shared: worked out again only when the application's name or folders or the
  // user's folder variables changed since. Every path setting of every session saved asks.
  static std::shared_ptr<const VPathFolders> Shared();
};

// What a stored text means here: the first placeholder (in kind order, limited to `onlyKind`
// when it is not kPathNone) that begins the text and whose folder is known is replaced by its
// folder; either separator after it becomes "/". `kind` receives the placeholder found.
VUnicodeString VExpandStoredPath(const VUnicodeString& stored, const VPathFolders& folders,
                                 VPathKind& kind, VPathKind onlyKind = kPathNone);
// How a path is stored: the folder of `preferred` when it begins the path, else the first of the
// four (or only `onlyKind`) that does, becomes its placeholder. A folder matches only as a whole
// path component, so "/home/me/Config2" is not taken for "/home/me/Config".
VUnicodeString VContractPath(const VUnicodeString& path, const VPathFolders& folders,
                             VPathKind preferred, VPathKind onlyKind = kPathNone);

// A path setting. Its value is the path as the program uses it; the store holds its contracted
// form. It is read under "<name> V2" first and then under its name, and written back under the
// name it was read from, so an older copy under the other name never hides a change.
class ProfilePath : public VProfile2<VUnicodeString, VProfileSz> {
 public:
  static constexpr const char* kKindName = "path";

  // `fixedKind` limits substitution to one placeholder; `readV2First` is off for the settings that
  // only ever had one name.
  explicit ProfilePath(VPathKind fixedKind = kPathNone, bool readV2First = true);
  using VProfile2::operator=;
  static constexpr const char* KindName() { return kKindName; }

  VPathKind GetPathKind() const { return kind_; }
  // The text a save would write.
  VUnicodeString GetStoredText() const;

  bool ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                 VUnicodeString* value) override;
  bool WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                  const VUnicodeString& value) override;
  bool GetStoredValue(VStoredValue& value) const override;
  // A text given by a person or a default may use the placeholders too.
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override;

 private:
  // The real folders, read when first needed: most stored paths hold no placeholder, and a
  // configuration object holds many path settings.
  const VPathFolders& Folders() const;
  mutable std::shared_ptr<const VPathFolders> folders_;
  VPathKind fixedKind_;
  VPathKind kind_ = kPathNone;
  bool readV2First_;
  VUnicodeString readFrom_;  // the name the value was found under
};
