#include "ui/global_options/global_setting_binding.h"

#include <climits>

#include <QRegularExpression>

#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/unicode_string.h"
#include "ui/global_options/global_messages.h"

namespace {

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

VProfileData* MemberOf(GlobalConfig& config, const VMemberRow* row) {
  return row ? &row->member(config) : nullptr;
}

}  // namespace

const VMemberRow* FindGlobalSettingRow(std::u16string_view key) {
  for (const VMemberRow& row : GlobalConfig::MemberTable().Rows())
    if (row.name && SameName(row.name, key)) return &row;
  return nullptr;
}

void SettingRange(const BoundSetting& bound, int64_t& min, int64_t& max) {
  min = bound.min;
  max = bound.max;
  if (min != max) return;
  const VMemberRow* row = FindGlobalSettingRow(bound.key);
  if (row && row->Has(kMemberClamp)) {
    min = row->min;
    max = row->max;
  } else {
    min = 0;
    max = INT32_MAX;
  }
}

bool ReadGlobalNumber(GlobalConfig& config, std::u16string_view key, int64_t& value) {
  const VMemberRow* row = FindGlobalSettingRow(key);
  if (!row || !row->kind->getNumber) return false;
  value = row->kind->getNumber(*MemberOf(config, row));
  return true;
}

bool ReadGlobalText(GlobalConfig& config, std::u16string_view key, VUnicodeString& value) {
  const VMemberRow* row = FindGlobalSettingRow(key);
  auto* text = dynamic_cast<VProfileString*>(MemberOf(config, row));
  if (!text) return false;
  value = text->Current();
  return true;
}

bool WriteGlobalNumber(GlobalConfig& config, std::u16string_view key, int64_t value) {
  const VMemberRow* row = FindGlobalSettingRow(key);
  if (!row || !row->kind->getNumber) return false;
  VProfileData& member = *MemberOf(config, row);
  if (row->kind->getNumber(member) != value) row->kind->setNumber(member, value);
  return true;
}

bool WriteGlobalText(GlobalConfig& config, std::u16string_view key, const VUnicodeString& value) {
  const VMemberRow* row = FindGlobalSettingRow(key);
  auto* text = dynamic_cast<VProfileString*>(MemberOf(config, row));
  if (!text) return false;
  if (text->Current() == value) return true;
  VReportMessageParams ignored;
  return row->kind->setFromText(*text, value, ignored);
}

QString PlainLabel(uint32_t labelId) {
  QString label = CatalogueText(labelId);
  label.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
  return label.trimmed().remove(QRegularExpression(QStringLiteral("\\s*:$")));
}

bool ParseSettingNumber(const QString& text, const BoundSetting& bound, int64_t& value,
                        VReportMessageParams& error) {
  int64_t min = 0, max = 0;
  SettingRange(bound, min, max);
  QString trimmed = text.trimmed();
  bool ok = false;
  qlonglong parsed = trimmed.toLongLong(&ok, 10);
  if (ok && parsed >= min && parsed <= max) {
    value = parsed;
    return true;
  }
  error = VReportMessageParams(global_ui::kNotNumber, VGetUiMessageModule());
  error.AddInsert(FromQString(PlainLabel(bound.labelId)));
  error.AddInsert(FromQString(QString::number(min)));
  error.AddInsert(FromQString(QString::number(max)));
  error.AddInsert(FromQString(trimmed));
  return false;
}

QColor ColorFromStored(int64_t stored) {
  return QColor(static_cast<int>(stored & 0xFF), static_cast<int>((stored >> 8) & 0xFF),
                static_cast<int>((stored >> 16) & 0xFF));
}

int64_t StoredFromColor(const QColor& color) {
  return static_cast<int64_t>(color.red()) | (static_cast<int64_t>(color.green()) << 8) |
         (static_cast<int64_t>(color.blue()) << 16);
}
