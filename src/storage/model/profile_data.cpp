#include "storage/model/profile_data.h"

#include "storage/model/profile_store.h"

bool VProfileData::ReadOwnDword(const VProfileKey& key, VDword& value) const {
  if (preparedName_) return key.ReadDword(*preparedName_, value);
  return key.ReadDword(GetName().c_str(), value);
}

bool VProfileData::ReadNamedString(const VProfileKey& key, const VUnicodeString& name,
                                   VUnicodeString& value) const {
  if (preparedName_ && &name == lastingName_) return key.ReadString(*preparedName_, value);
  // A read by text may touch `value` even when it fails.
  VUnicodeString read;
  if (!key.ReadString(name.c_str(), read)) return false;
  value = std::move(read);
  return true;
}

bool VProfileData::NotSupported(VReportMessageParams& error) const {
  error.Reset(kMsgConversionNotSupported);
  error.AddInsert(GetName());
  return false;
}

bool VProfileData::LoadFromText(const VUnicodeString&, IProfileTextConverter*,
                                VReportMessageParams& error) {
  return NotSupported(error);
}

bool VProfileData::ValueToVariant(VVariant&, VReportMessageParams& error) const {
  return NotSupported(error);
}

bool VProfileData::ValueToStream(IProfileValueStream&, VReportMessageParams& error) const {
  return NotSupported(error);
}

bool VProfileData::ToVariant(VVariant& out, VReportMessageParams& error) const {
  return ValueToVariant(out, error);
}

bool VProfileData::WriteToStream(IProfileValueStream& stream, VReportMessageParams& error) const {
  return ValueToStream(stream, error);
}

bool VProfileData::ValueFromVariant(const VVariant&, VReportMessageParams& error) {
  return NotSupported(error);
}

bool VProfileData::ValueFromStream(IProfileValueStream&, VReportMessageParams& error) {
  return NotSupported(error);
}

bool VProfileData::FromVariant(const VVariant& in, VReportMessageParams& error) {
  return ValueFromVariant(in, error);
}

bool VProfileData::ReadFromStream(IProfileValueStream& stream, VReportMessageParams& error) {
  return ValueFromStream(stream, error);
}
