#include "storage/values/stored_values_key.h"

#include <algorithm>
#include <cstring>

#include "report/report_message_params.h"

namespace {

class StoredValuesIterator : public VProfilePrivateKeyIterator {
 public:
  explicit StoredValuesIterator(const std::vector<VNamedStoredValue>* values) : values_(values) {}
  bool Next(VUnicodeString& name, int& type) override {
    if (!values_ || next_ >= values_->size()) return false;
    name = (*values_)[next_].name;
    type = (*values_)[next_].value.type;
    ++next_;
    return true;
  }
  bool Next(VUnicodeString& name) override {
    int type = 0;
    return Next(name, type);
  }

 private:
  const std::vector<VNamedStoredValue>* values_;
  size_t next_ = 0;
};

class StoredValuesKey : public VProfilePrivateKey {
 public:
  explicit StoredValuesKey(std::vector<VNamedStoredValue> values) : values_(std::move(values)) {}

  bool ReadSecurity(const char16_t*, VProfileSecurity&) override { return false; }
  bool ReadMultiSz(const char16_t* name, VStringArray& value) override {
    const VStoredValue* found = Find(name, kProfileTypeMultiSz);
    if (found) value = found->list;
    return found != nullptr;
  }
  bool ReadBinary(const char16_t* name, void* buffer, VDword& size) override {
    const VStoredValue* found = Find(name, kProfileTypeBinary);
    if (!found) return false;
    // As the stores do: a null buffer asks for the size; one too small takes nothing.
    VDword needed = static_cast<VDword>(found->bytes.size());
    if (!buffer) {
      size = needed;
      return true;
    }
    if (size < needed) return false;
    if (needed) std::memcpy(buffer, found->bytes.data(), needed);
    size = needed;
    return true;
  }
  bool ReadString(const char16_t* name, VUnicodeString& value) override {
    const VStoredValue* found = Find(name, kProfileTypeString);
    if (found) value = found->text;
    return found != nullptr;
  }
  bool ReadDword(const char16_t* name, VDword& value) override {
    const VStoredValue* found = Find(name, kProfileTypeDword);
    if (found) value = found->dword;
    return found != nullptr;
  }
  bool WriteSecurity(const char16_t*, const VProfileSecurity&) override { return false; }
  bool WriteMultiSz(const char16_t*, const VStringArray&) override { return false; }
  bool WriteBinary(const char16_t*, const void*, VDword) override { return false; }
  bool WriteString(const char16_t*, const char16_t*) override { return false; }
  bool WriteDword(const char16_t*, VDword) override { return false; }
  bool DeleteValue(const char16_t*) override { return false; }
  bool DeleteSubKey(const char16_t*) override { return false; }
  bool SubKeyExists(const char16_t*) override { return false; }
  bool ValidateSubKeyName(const char16_t*, VReportMessageParams**) override { return false; }
  bool CanWrite() override { return false; }
  bool ApplySecurity(const VProfileSecurity&) override { return false; }
  VReportMessageParams& GetLastError() override { return error_; }
  bool Rewrite() override { return false; }
  void MergePersonalData(const char16_t*) override {}
  VProfilePrivateKey* OpenPrivateSubKey(const char16_t*, const VProfileSecurity*, int) override {
    return nullptr;
  }
  VProfilePrivateKeyIterator* CreatePrivateKeyIterator(bool values) override {
    return new StoredValuesIterator(values ? &values_ : nullptr);
  }

 private:
  const VStoredValue* Find(const char16_t* name, int type) const {
    for (const VNamedStoredValue& value : values_) {
      if (vtext::EqualsNoCase(value.name, name)) return value.value.type == type ? &value.value : nullptr;
    }
    return nullptr;
  }

  std::vector<VNamedStoredValue> values_;
  VReportMessageParams error_;
};

}  // namespace

std::unique_ptr<VProfileKey> MakeStoredValuesKey(std::vector<VNamedStoredValue> values) {
  return std::make_unique<VProfileKey>(new StoredValuesKey(std::move(values)));
}
