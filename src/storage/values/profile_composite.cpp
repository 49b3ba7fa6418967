#include "storage/values/profile_composite.h"

#include <stdexcept>
#include <string>

#include "platform/win32_errors.h"
#include "storage/values/setting_text.h"

void VProfileComposite::Load(const VProfileKey* key, int productId) {
  const VMemberTable& table = GetMemberTable();
  productId_ = productId;
  loaded_ = true;
  stored_.assign(table.Rows().size(), 0);
  OnBeforeLoad(key);
  for (size_t i = 0; i < table.Rows().size(); ++i) {
    const VMemberRow& row = table.Rows()[i];
    VProfileData& member = MemberOf(row);
    if (VProfileComposite* nested = row.kind->composite ? row.kind->composite(member) : nullptr) {
      nested->Load(key, productId);
      continue;
    }
    if (const VUnicodeString* lasting = LastingStoredName(row)) {
      // The table's own name comes prepared, so that the member's reads need not convert it.
      const VPreparedName& prepared = table.PreparedViewName(i, UsesLmbNames());
      if (lasting == &prepared.Text()) {
        member.SetLastingName(prepared);
      } else {
        member.SetLastingName(*lasting);
      }
    } else {
      member.SetName(StoredName(row));
    }
    bool present = row.Has(kMemberCustom) ? LoadCustomMember(row, member, key)
                                          : LoadStandardMember(row, member, key);
    stored_[i] = present ? 1 : 0;
  }
  OnAfterLoad(key);
}

bool VProfileComposite::LoadCustomMember(const VMemberRow& row, VProfileData& member,
                                         const VProfileKey* key) {
  return LoadStandardMember(row, member, key);
}

bool VProfileComposite::LoadStandardMember(const VMemberRow& row, VProfileData& member,
                                           const VProfileKey* key) {
  switch (row.def.kind) {
    case VMemberDefault::Kind::None:
      break;
    case VMemberDefault::Kind::Number:
      row.kind->setNumber(member, row.def.number);
      break;
    case VMemberDefault::Kind::Text: {
      VReportMessageParams error;
      if (!row.kind->setFromText(member, row.def.text, error))
        throw std::logic_error("the default of " + vtext::ToUtf8(row.name) +
                               " is not a valid " + row.kind->name);
      break;
    }
    case VMemberDefault::Kind::Computed:
      row.def.compute(*this, member, key);
      break;
  }
  bool present = row.kind->load(member, key);
  // After the saved value was taken: a clamped value differs from it and is written back.
  if (row.Has(kMemberClamp)) row.kind->clamp(member, row.min, row.max);
  return present;
}

VUnicodeString VProfileComposite::StoredName(const VMemberRow& row) const {
  const VMemberTable& table = GetMemberTable();
  ptrdiff_t index = table.IndexOf(row);
  if (index < 0) return LmbViewName(row, UsesLmbNames());
  return table.ViewName(static_cast<size_t>(index), UsesLmbNames());
}

const VUnicodeString* VProfileComposite::LastingStoredName(const VMemberRow& row) const {
  const VMemberTable& table = GetMemberTable();
  ptrdiff_t index = table.IndexOf(row);
  if (index < 0) return nullptr;
  return &table.ViewName(static_cast<size_t>(index), UsesLmbNames());
}

bool VProfileComposite::Save(VProfileKey& key, bool force) {
  if (!loaded_) {
    key.GetLastError().SetError(win32::kInvalidFunction);
    return false;
  }
  const VMemberTable& table = GetMemberTable();
  OnBeforeSave(key, force);
  bool ok = true;
  for (size_t position = 0; position < table.MemberCount(); ++position) {
    size_t index = table.MemberRow(position);
    const VMemberRow& row = table.Rows()[index];
    VProfileData& member = MemberOf(row);
    if (!member.IsSaveEnabled()) continue;
    if (!member.Save(key, force)) {
      ok = false;
      continue;
    }
    // Whatever a save writes is in the store from now on (an empty blob writes nothing).
    VStoredValue written;
    if (!stored_[index] && !row.kind->composite && row.kind->storedValue(member, written))
      stored_[index] = 1;
  }
  OnAfterSave(key, force);
  return ok;
}

bool VProfileComposite::IsModified() const {
  const VMemberTable& table = GetMemberTable();
  for (size_t position = 0; position < table.MemberCount(); ++position) {
    if (MemberOf(table.Rows()[table.MemberRow(position)]).IsModified()) return true;
  }
  return false;
}

void VProfileComposite::CopyValue(const VProfileData& other) {
  auto* source = dynamic_cast<const VProfileComposite*>(&other);
  if (!source || source == this || &source->GetMemberTable() != &GetMemberTable()) return;
  const VMemberTable& table = GetMemberTable();
  for (size_t position = 0; position < table.MemberCount(); ++position) {
    const VMemberRow& row = table.Rows()[table.MemberRow(position)];
    VProfileData& theirs = source->MemberOf(row);
    if (theirs.IsModified()) MemberOf(row).CopyValue(theirs);
  }
}

VProfileData* VProfileComposite::GetMember(int index) {
  const VMemberTable& table = GetMemberTable();
  if (index < 0 || static_cast<size_t>(index) >= table.MemberCount()) return nullptr;
  return &MemberOf(table.Rows()[table.MemberRow(static_cast<size_t>(index))]);
}

void VProfileComposite::DoCommit() {
  const VMemberTable& table = GetMemberTable();
  for (size_t position = 0; position < table.MemberCount(); ++position)
    MemberOf(table.Rows()[table.MemberRow(position)]).Commit();
}

void VProfileComposite::DoRevert() {
  const VMemberTable& table = GetMemberTable();
  for (size_t position = 0; position < table.MemberCount(); ++position)
    MemberOf(table.Rows()[table.MemberRow(position)]).Revert();
}

VProfileData* VProfileComposite::FindMember(std::u16string_view storedName) {
  const VMemberTable& table = GetMemberTable();
  for (size_t position = 0; position < table.MemberCount(); ++position) {
    const VMemberRow& row = table.Rows()[table.MemberRow(position)];
    VProfileData& member = MemberOf(row);
    if (row.kind->composite) {
      if (VProfileData* found = row.kind->composite(member)->FindMember(storedName)) return found;
    } else if (vtext::EqualsNoCase(member.GetName(), storedName)) {
      return &member;
    }
  }
  return nullptr;
}

void VProfileComposite::CollectMemberNames(std::vector<VUnicodeString>& names) {
  const VMemberTable& table = GetMemberTable();
  for (size_t position = 0; position < table.MemberCount(); ++position) {
    const VMemberRow& row = table.Rows()[table.MemberRow(position)];
    VProfileData& member = MemberOf(row);
    if (row.kind->composite) {
      row.kind->composite(member)->CollectMemberNames(names);
    } else {
      names.push_back(member.GetName());
    }
  }
}

std::vector<VSettingInfo> VProfileComposite::ListSettings() const {
  std::vector<VSettingInfo> out;
  AppendSettings(out);
  return out;
}

void VProfileComposite::AppendSettings(std::vector<VSettingInfo>& out) const {
  const auto& rows = GetMemberTable().Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const VMemberRow& row = rows[i];
    VProfileData& member = MemberOf(row);
    if (row.kind->composite) {
      row.kind->composite(member)->AppendSettings(out);
      continue;
    }
    VSettingInfo info;
    info.name = loaded_ ? member.GetName() : StoredName(row);
    info.kind = row.kind->name;
    info.storedType = row.kind->storedType;
    info.hasValue = row.kind->storedValue(member, info.value);
    info.stored = i < stored_.size() && stored_[i];
    info.loadOnly = row.Has(kMemberLoadOnly);
    out.push_back(std::move(info));
  }
}

bool VProfileComposite::FindSettingRow(std::u16string_view storedName, SettingRow& found) {
  const auto& rows = GetMemberTable().Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const VMemberRow& row = rows[i];
    VProfileData& member = MemberOf(row);
    if (row.kind->composite) {
      if (row.kind->composite(member)->FindSettingRow(storedName, found)) return true;
    } else if (vtext::EqualsNoCase(loaded_ ? member.GetName() : StoredName(row), storedName)) {
      found.owner_ = this;
      found.row_ = i;
      return true;
    }
  }
  return false;
}

const VMemberRow& VProfileComposite::SettingRow::Row() const {
  return owner_->GetMemberTable().Rows()[row_];
}

VProfileData& VProfileComposite::SettingRow::Member() const { return owner_->MemberOf(Row()); }

VUnicodeString VProfileComposite::SettingRow::Name() const {
  return owner_->loaded_ ? Member().GetName() : owner_->StoredName(Row());
}

const char* VProfileComposite::SettingRow::Kind() const { return Row().kind->name; }

int VProfileComposite::SettingRow::StoredType() const { return Row().kind->storedType; }

bool VProfileComposite::Settable(const SettingRow& found, std::u16string_view asked,
                                 VReportMessageParams& error) {
  if (found.Row().Has(kMemberLoadOnly)) {
    VSettingError(error, kMsgSettingNotSaved, VUnicodeString(asked));
    return false;
  }
  return true;
}

bool VProfileComposite::SetSetting(std::u16string_view storedName, const VUnicodeString& text,
                                   VReportMessageParams& error) {
  SettingRow found;
  if (!FindSettingRow(storedName, found)) {
    VSettingError(error, kMsgSettingUnknown, VUnicodeString(storedName));
    return false;
  }
  return SetFound(found, storedName, text, error);
}

bool VProfileComposite::SetSetting(std::u16string_view storedName, const VStringArray& list,
                                   VReportMessageParams& error) {
  SettingRow found;
  if (!FindSettingRow(storedName, found)) {
    VSettingError(error, kMsgSettingUnknown, VUnicodeString(storedName));
    return false;
  }
  return SetFound(found, storedName, list, error);
}

bool VProfileComposite::SetSetting(const SettingRow& found, const VUnicodeString& text,
                                   VReportMessageParams& error) {
  if (!found.IsFound()) throw std::logic_error("SetSetting of a setting that was not found");
  return SetFound(found, found.Name(), text, error);
}

bool VProfileComposite::SetSetting(const SettingRow& found, const VStringArray& list,
                                   VReportMessageParams& error) {
  if (!found.IsFound()) throw std::logic_error("SetSetting of a setting that was not found");
  return SetFound(found, found.Name(), list, error);
}

bool VProfileComposite::SetFound(const SettingRow& found, std::u16string_view asked,
                                 const VUnicodeString& text, VReportMessageParams& error) {
  if (!Settable(found, asked, error)) return false;
  const VMemberRow& row = found.Row();
  VProfileData& member = found.Member();
  if (!row.Has(kMemberClamp)) return row.kind->setFromText(member, text, error);
  // A clamped setting takes only what a load would keep.
  int64_t before = row.kind->getNumber(member);
  if (!row.kind->setFromText(member, text, error)) return false;
  int64_t value = row.kind->getNumber(member);
  if (value >= row.min && value <= row.max) return true;
  row.kind->setNumber(member, before);
  VSettingError(error, kMsgSettingNumber, member.GetName(), &text,
                {U8(std::to_string(row.min)), U8(std::to_string(row.max))});
  return false;
}

bool VProfileComposite::SetFound(const SettingRow& found, std::u16string_view asked,
                                 const VStringArray& list, VReportMessageParams& error) {
  if (!Settable(found, asked, error)) return false;
  const VMemberRow& row = found.Row();
  VProfileData& member = found.Member();
  if (!row.kind->setFromList) {
    VSettingError(error, kMsgSettingNeedsSingle, member.GetName());
    return false;
  }
  return row.kind->setFromList(member, list, error);
}
