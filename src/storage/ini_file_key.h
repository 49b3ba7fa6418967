// A key of the INI folder store: a folder F for its sub-keys and a value file F.ini beside it;
// with a personal data folder, the personal values of the key live in a parallel file Q.ini.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/ini_file_data.h"
#include "storage/profile_store.h"

class VIniFileKey : public VProfilePrivateKey {
 public:
  // Where a key lives on disk: its folder and its value file (normally the folder + ".ini"; the
  // two may differ in case when the folder was copied from a case-insensitive system).
  struct Location {
    std::string folder;
    std::string valueFile;
    bool IsSet() const { return !folder.empty(); }
  };

  // The root key of a store on configuration folder `folder` and personal data folder
  // `personalFolder` (empty: personal values stay in the main files).
  VIniFileKey(const VUnicodeString& folder, const VUnicodeString& personalFolder, bool readOnly,
              const VProfileSecurity* security);
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

  const Location& MainLocation() const { return main_; }
  const Location& PersonalLocation() const { return personal_; }

  // The 22 value names kept in the personal data folder when one is set.
  static const std::vector<std::u16string>& PersonalNames();

  class Iterator;

 private:
  struct Element {
    VUnicodeString name;
    std::unique_ptr<VIniFileData> data;
  };
  // Values in two ordered arrays: the personal names in their fixed order, then the others in
  // order of first appearance.
  class Map {
   public:
    Map();
    VIniFileData* Find(std::u16string_view name) const;
    void Store(const VUnicodeString& name, std::unique_ptr<VIniFileData> data);
    bool Remove(std::u16string_view name);
    // Moves the personal values to the general array so they are stored with the others.
    void MovePersonalToGeneral();
    bool HasPersonalData() const;
    std::vector<Element>& Personal() { return personal_; }
    std::vector<Element>& General() { return general_; }

   private:
    Element* FindElement(std::u16string_view name);
    std::vector<Element> personal_;
    std::vector<Element> general_;
    std::unordered_map<std::u16string, size_t> generalIndex_;
  };

  VIniFileKey(Location main, Location personal, bool readOnly, const VProfileSecurity* security,
              uint32_t invalidNameError);

  Map& LoadedMap();
  bool ReadFileInto(const std::string& path, Map& map, bool* existed = nullptr);
  bool Write();
  bool StoreValue(const char16_t* name, std::unique_ptr<VIniFileData> data);
  bool RefuseInvalid();
  Location SubLocation(const Location& parent, const VUnicodeString& name) const;
  mode_t FileMode() const;
  mode_t FolderMode() const;

  Location main_;
  Location personal_;
  std::unique_ptr<Map> map_;
  bool dirty_ = false;
  bool readOnly_ = false;
  // Whether the personal value file existed when the key was read: then it is rewritten even when
  // no personal value is left, so that a deletion reaches it.
  bool personalFileExisted_ = false;
  std::optional<vfs::FileInfo> valueFileInfo_;
  VReportMessageParams lastError_;
  std::optional<VProfileSecurity> security_;
  uint32_t invalidNameError_ = 0;  // set for a key opened under a name that cannot be a file
};
