#include "config/highlight/filter_store.h"

#include "config/database/session_database.h"

VRef<FilterConfig> FilterStore::Open(const VUnicodeString& name) {
  VRef<NamedItemConfig> item = database_.LoadItem(ItemCollection::Filters, name);
  auto* filter = dynamic_cast<FilterConfig*>(item.Get());
  if (!filter) return VRef<FilterConfig>();
  filter->AddRef();
  return VRef<FilterConfig>(filter);
}

bool FilterStore::Exists(const VUnicodeString& name) {
  return database_.ItemExists(ItemCollection::Filters, name);
}

VStringArray FilterStore::List() { return database_.ListItems(ItemCollection::Filters); }

bool FilterStore::Delete(const VUnicodeString& name, VReportMessageParams& error) {
  return database_.DeleteItem(ItemCollection::Filters, name, error);
}

bool FilterStore::Save(FilterConfig& filter, bool force, VReportMessageParams& error) {
  return database_.SaveItem(filter, error, force);
}
