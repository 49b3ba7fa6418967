// The base of every persisted setting: typed values and the configuration objects made of them.
#pragma once

#include "platform/variant.h"
#include "report/report_message_params.h"
#include "storage/model/value_name.h"

class VProfileKey;

// Turns user-given text into values (booleans, strings) for LoadFromText.
class IProfileTextConverter {
 public:
  virtual ~IProfileTextConverter() = default;
  virtual bool ToBool(const VUnicodeString& text, bool& value, VReportMessageParams& error) = 0;
  virtual bool ToString(const VUnicodeString& text, VUnicodeString& value,
                        VReportMessageParams& error) = 0;
};

// A sequence of values written and read in order (settings exchanged with other programs).
class IProfileValueStream {
 public:
  virtual ~IProfileValueStream() = default;
  virtual bool Write(const VVariant& value) = 0;
  virtual bool Read(VVariant& value) = 0;
};

// Ids of the shared catalogue used when a conversion is not available or fails.
constexpr uint32_t kMsgConversionNotSupported = 0xE104006A;
constexpr uint32_t kMsgConversionFailed = 0xE104006B;
constexpr uint32_t kMsgTextConversionNotHandled = 0xE1040040;

class VProfileData {
 public:
  VProfileData() = default;
  VProfileData(const VProfileData& other) = default;  // copies every field
  VProfileData& operator=(const VProfileData& other) {
    ownName_ = other.ownName_;
    lastingName_ = other.lastingName_;
    preparedName_ = other.preparedName_;
    saveEnabled = other.saveEnabled;
    return *this;
  }
  virtual ~VProfileData() = default;
  // Whether the value is a secret kept encrypted under the configuration passphrase. Passes over
  // every secret of a session ask this of each of its few hundred values, where a cast to the
  // secret's type cost most of the pass.
  virtual bool IsEncryptedSecret() const { return false; }

  virtual bool LoadFromText(const VUnicodeString& text, IProfileTextConverter* converter,
                            VReportMessageParams& error);
  virtual bool Save(VProfileKey& key, bool force) = 0;
  virtual bool IsModified() const = 0;
  virtual void Commit() { DoCommit(); }
  virtual void Revert() { DoRevert(); }
  virtual void CopyValue(const VProfileData& other) = 0;
  virtual VProfileData* GetMember(int index) = 0;
  virtual bool ValueToVariant(VVariant& out, VReportMessageParams& error) const;
  virtual bool ValueToStream(IProfileValueStream& stream, VReportMessageParams& error) const;
  virtual bool ToVariant(VVariant& out, VReportMessageParams& error) const;
  virtual bool WriteToStream(IProfileValueStream& stream, VReportMessageParams& error) const;
  virtual bool ValueFromVariant(const VVariant& in, VReportMessageParams& error);
  virtual bool ValueFromStream(IProfileValueStream& stream, VReportMessageParams& error);
  virtual bool FromVariant(const VVariant& in, VReportMessageParams& error);
  virtual bool ReadFromStream(IProfileValueStream& stream, VReportMessageParams& error);
  virtual void OnBeforeSave(VProfileKey&, bool) {}
  virtual void OnAfterSave(VProfileKey&, bool) {}
  virtual bool IsWritePending() const { return writePending; }
  virtual bool IsSaveEnabled() const { return saveEnabled; }
  virtual void SetSaveEnabled(bool enabled) { saveEnabled = enabled; }
  virtual void DoCommit() = 0;
  virtual void DoRevert() = 0;

  void SetName(const VUnicodeString& value) {
    ownName_ = value;
    lastingName_ = nullptr;
    preparedName_ = nullptr;
  }
  void SetName(VUnicodeString&& value) {
    ownName_ = std::move(value);
    lastingName_ = nullptr;
    preparedName_ = nullptr;
  }
  // Names the value by a string that outlives it (a member table's names, made once per
  // table): a session has two hundred members, and copying each name at every load cost an
  // allocation apiece and more than reading most of the values.
  void SetLastingName(const VUnicodeString& lasting) {
    ownName_.clear();
    lastingName_ = &lasting;
    preparedName_ = nullptr;
  }
  // The same with a prepared name, which the value is then read by where the store can use it.
  void SetLastingName(const VPreparedName& lasting) {
    ownName_.clear();
    lastingName_ = &lasting.Text();
    preparedName_ = &lasting;
  }
  const VUnicodeString& GetName() const { return lastingName_ ? *lastingName_ : ownName_; }
  void SetWritePending(bool value) { writePending = value; }

 protected:
  // Records that the kind has no such conversion.
  bool NotSupported(VReportMessageParams& error) const;
  // Reads the value stored under the value's own name, by its prepared name when it has one.
  bool ReadOwnDword(const VProfileKey& key, uint32_t& value) const;
  // Reads the string `name`, by the prepared name when `name` is the value's own lasting name.
  // `value` is left as it was when the string cannot be read.
  bool ReadNamedString(const VProfileKey& key, const VUnicodeString& name,
                       VUnicodeString& value) const;

  // Read through GetName and set through SetName or SetLastingName: the lasting name, when
  // there is one, is the name.
  VUnicodeString ownName_;
  const VUnicodeString* lastingName_ = nullptr;
  const VPreparedName* preparedName_ = nullptr;  // set with a lasting name that has one
  bool writePending = false;
  bool saveEnabled = true;
};
