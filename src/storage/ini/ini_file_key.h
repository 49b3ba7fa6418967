// A key of the INI folder store: a folder F for its sub-keys and a value file F.ini beside it
// (the root key's value file is inside its folder, see root_value_file.h); with a personal data
// folder, the personal values of the key live in a parallel file Q.ini.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "storage/ini/ini_value_map.h"
#include "storage/model/profile_store.h"
#include "storage/model/root_value_file.h"

// "The Personal Data Folder cannot be the same folder as the Configuration Folder."
constexpr uint32_t kMsgPersonalFolderIsConfigFolder = 0x61380024;
// A key tree not deleted because of a read-only file or a folder that may not be changed.
constexpr uint32_t kMsgTreeHoldsReadOnlyEntry = 0xE1380700;
// A save that wrote the personal values but not the main file, or nothing at all.
constexpr uint32_t kMsgOnlyPersonalValuesWritten = 0xE1380701;
constexpr uint32_t kMsgPersonalValuesNotWritten = 0xE1380702;

class VIniFileKey : public VProfilePrivateKey {
 public:
  // Where a key lives on disk: its folder and its value file (normally the folder + ".ini"). A
  // folder copied from a case-insensitive system may hold either under another case; that is
  // looked for only when the exact name is not there, and only when it matters, so that opening a
  // key costs no file-system call.
  struct Location {
    std::string folder;
    std::string valueFile;
    // Where an older version kept the values of a store's root key (beside the store's folder);
    // read while `valueFile` does not exist. Empty for every other key.
    std::string formerFile;
    bool folderResolved = true;
    bool fileResolved = true;
    bool fileKnownToExist = false;  // seen in the parent's listing a moment ago
    // The folder is, or lies below, a symbolic link to a folder inside the store. Such a key is
    // never entered: a link to ".." would make walks endless, and a link elsewhere would let a
    // save write outside the configuration folder. (Links above the store's root are followed.)
    bool throughLink = false;
    // The entries of the folder both names live in, as the folder's resolution listed them: the
    // value file is resolved from the same listing while it is fresh rather than listing the
    // folder again (a new key resolves both).
    std::shared_ptr<const std::vector<vfs::FolderEntry>> siblings;
    std::chrono::steady_clock::time_point siblingsListed;
    bool IsSet() const { return !folder.empty(); }
    // Settles the folder's and the value file's names on disk.
    void ResolveFolder();
    void ResolveFile();
  };

  // The root key of a store on configuration folder `folder` and personal data folder
  // `personalFolder` (empty: personal values stay in the main files).
  VIniFileKey(const VUnicodeString& folder, const VUnicodeString& personalFolder, bool readOnly,
              const VProfileSecurity* security, vfs::Env* env = vfs::Env::Default());
  ~VIniFileKey() override;

  bool ReadSecurity(const char16_t* name, VProfileSecurity& security) override;
  bool ReadMultiSz(const char16_t* name, VStringArray& value) override;
  bool ReadBinary(const char16_t* name, void* buffer, VDword& size) override;
  bool ReadString(const char16_t* name, VUnicodeString& value) override;
  bool ReadDword(const char16_t* name, VDword& value) override;
  bool WriteSecurity(const char16_t* name, const VProfileSecurity& security) override;
  bool WriteMultiSz(const char16_t* name, const VStringArray& value) override;
  bool WriteBinary(const char16_t* name, const void* data, VDword size) override;
  bool WriteString(const char16_t* name, const char16_t* value) override;
  bool WriteDword(const char16_t* name, VDword value) override;
  bool DeleteValue(const char16_t* name) override;
  bool DeleteSubKey(const char16_t* name) override;
  bool SubKeyExists(const char16_t* name) override;
  bool ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) override;
  bool CanWrite() override;
  bool ApplySecurity(const VProfileSecurity&) override { return false; }
  VReportMessageParams& GetLastError() override { return lastError_; }
  bool Rewrite() override;
  void MergePersonalData(const char16_t* folder) override;
  VProfilePrivateKey* OpenPrivateSubKey(const char16_t* name, const VProfileSecurity* security,
                                        int flags) override;
  VProfilePrivateKeyIterator* CreatePrivateKeyIterator(bool values) override;

  // Writes pending changes now; false (with the reason in GetLastError) when a file that had to
  // be written could not be. Also done when the key is released.
  bool Flush() override;
  bool WritesOnRelease() const override { return true; }
  void ForEachValueName(const std::function<void(const VUnicodeString& name, int type)>& visit) override;
  void ForEachValueNameExcept(const VValueNameSet& skip,
                              const std::function<void(const VUnicodeString& name, int type)>& visit) override;
  bool ReadPreparedDword(const VPreparedName& name, VDword& value) override;
  bool ReadPreparedString(const VPreparedName& name, VUnicodeString& value) override;


  const Location& MainLocation() { return main_; }
  const Location& PersonalLocation() { return personal_; }

  // The 22 value names kept in the personal data folder when one is set.
  static const std::array<std::u16string_view, VIniValueMap::kPersonalCount>& PersonalNames() {
    return VIniValueMap::PersonalNames();
  }

  class Iterator;

  // What a listing of the key's folder found, kept a short while: the session walk lists a folder
  // and then asks each sub-key whether it is a session, which the listing has just answered.
  struct ListingHint {
    std::vector<std::string> files;    // value files, as named on disk, sorted
    std::vector<std::string> folders;  // sub-folders, sorted
    std::vector<std::string> links;    // symbolic links to folders, sorted
    std::chrono::steady_clock::time_point made;  // by ListingClock
    // Where the next name is looked for first: sub-keys are mostly opened in listing order.
    mutable size_t nextFile = 0;
    mutable size_t nextFolder = 0;
    mutable size_t nextLink = 0;
  };
  // The clock a listing's age is told by: a tick of a few milliseconds is ample for an age of
  // seconds, and reading it costs less than the precise clock, once for every sub-key opened.
  static std::chrono::steady_clock::time_point ListingClock();

 private:
  VIniFileKey(Location main, Location personal, bool readOnly, const VProfileSecurity* security,
              uint32_t invalidNameError, vfs::Env* env);

  VIniValueMap& LoadedMap();
  // What was read of a value file: which file, and its bytes as the value map keeps them.
  struct ReadFile {
    vfs::FileVersion version;
    std::string_view bytes;
    std::string path;
  };
  bool ReadFileInto(Location& location, VIniValueMap& map, bool* existed = nullptr,
                    ReadFile* readFile = nullptr);
  // The bytes a write starts from: the file's, or those of its former place when it has none.
  std::string StartingBytes(const Location& location, std::string_view current,
                            bool existed) const;
  const vfs::FileInfo& ValueFileInfo();
  bool Write();
  bool WriteChanges(bool writePersonal, const vfs::ReplaceOptions& options);
  // Applies this handle's own changes (values set and deleted) to values read from disk.
  void ApplyChanges(VIniValueMap& target);
  // The new bytes of a value file: `onDisk` (read over `under`, when given) with this handle's
  // changes applied; with `split` the personal values go to the personal part, which
  // `personalPart` picks.
  std::string Merged(const std::string* under, std::string onDisk, bool split, bool personalPart);
  // Says which file failed and, when the personal file was written, where the values now are.
  void ReportWriteFailure(bool personalFile, bool personalWritten, const VStatus& error);
  bool PersonalIsMain();
  bool StoreValue(const char16_t* name, std::unique_ptr<VIniFileData> data);
  bool RefuseInvalid();
  Location SubLocation(Location& parent, std::u16string_view name) const;
  // Settles what the fresh listing of this key's folder saw of a sub-key: its folder, its value
  // file, or a link in the folder's place. True when the folder or the value file was seen.
  bool ApplyListing(Location& main) const;
  mode_t FileMode() const;
  mode_t FolderMode() const;

  Location main_;
  Location personal_;
  std::unique_ptr<VIniValueMap> map_;
  ReadFile mainRead_;  // the main value file as map_ read it, while it may stand for the file
  // Whether the handle set or deleted values since its last write. Only the values it changed
  // (marked in map_) are applied to the file as it is on disk when written, so that other
  // processes' changes to other values survive.
  bool dirty_ = false;
  // Whether map_ was made without any file's bytes (none existed): written over a file that still
  // does not exist, it is the whole new file.
  bool mapFromNothing_ = false;
  bool readOnly_ = false;
  // Whether the personal value file existed when the key was read: then it is rewritten even when
  // no personal value is left, so that a deletion reaches it.
  bool personalFileExisted_ = false;
  std::optional<vfs::FileInfo> valueFileInfo_;
  VReportMessageParams lastError_;
  std::optional<VProfileSecurity> security_;
  std::shared_ptr<const ListingHint> listing_;
  // What the last SubKeyExists found on disk: a lookup by path asks whether a level exists and
  // then opens it, and the key opened need not ask the file system again.
  struct SeenSubKey {
    std::string folder;
    bool isFolder = false;
    bool hasFile = false;
    std::chrono::steady_clock::time_point made;
  };
  std::optional<SeenSubKey> lastSeen_;
  uint32_t invalidNameError_ = 0;  // set for a key opened under a name that cannot be a file
  // Why a value file that exists could not be read; the key's values are then unknown.
  std::optional<VReportMessageParams> unreadable_;
  vfs::Env* env_ = vfs::Env::Default();
};
