#include "ui/firewall_combo.h"

#include <QComboBox>

#include "marrowby/exchange.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"

VFirewallComboEntries FirewallComboEntries(const VUnicodeString& current, const VStringArray& names,
                                           bool offerNew) {
  VFirewallComboEntries combo;
  for (size_t i = 0; i < names.GetSize(); ++i) {
    combo.entries << ToQString(names[i]);
    if (combo.select < 0 && vtext::EqualsNoCase(names[i], current))
      combo.select = static_cast<int>(i);
  }
  std::u16string_view prefix(kSessionFirewallPrefix);
  if (current.size() > prefix.size() && std::u16string_view(current).substr(0, prefix.size()) == prefix) {
    combo.select = static_cast<int>(combo.entries.size());
    combo.entries << ToQString(std::u16string_view(current).substr(prefix.size()));
  } else if (combo.select < 0 && !current.empty()) {
    combo.select = static_cast<int>(combo.entries.size());
    combo.entries << ToQString(current);
  }
  combo.selectSession = static_cast<int>(combo.entries.size());
  combo.entries << CatalogueText(ui_messages::kSelectSessionEntry);
  if (offerNew) {
    combo.newFirewall = static_cast<int>(combo.entries.size());
    combo.entries << CatalogueText(ui_messages::kNewFirewallEntry);
  }
  return combo;
}

void PopulateFirewallComboBox(QComboBox* combo, const VUnicodeString& current,
                              const VStringArray& names, size_t& select, bool offerNew) {
  VFirewallComboEntries entries = FirewallComboEntries(current, names, offerNew);
  QString shown = entries.select >= 0 ? entries.entries[entries.select] : QString();
  VPopulateComboBox(combo, entries.entries, shown);
  combo->setCurrentIndex(entries.select);
  select = entries.select >= 0 ? static_cast<size_t>(entries.select) : 0;
}
