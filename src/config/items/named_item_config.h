// The configuration object of a named item (a firewall, a keyword list, a button bar, a scheduled
// task, a synchronize entry). The item database loads and saves every kind through this base, so
// that a kind's own object replaces the whole-key snapshot by a change to CreateNamedItemConfig
// alone.
#pragma once

#include "config/items/item_collection.h"
#include "config/parts/subkey_copy.h"
#include "platform/unknown.h"
#include "storage/values/profile_composite.h"

// Reference counting comes with the interface each kind offers its users (VNamedItemObject), so
// that a firewall is counted once whether it is held as an item or as what protocol modules see.
class NamedItemConfig : public VProfileComposite {
 public:
  NamedItemConfig(ItemCollection collection, const VUnicodeString& itemName)
      : collection_(collection), itemName_(itemName) {}

  virtual long AddRef() = 0;
  virtual long Release() = 0;

  ItemCollection GetCollection() const { return collection_; }
  const VUnicodeString& GetItemName() const { return itemName_; }
  // Saving after a rename writes the item under its new name.
  void SetItemName(const VUnicodeString& itemName) { itemName_ = itemName; }

  // Loads the object from the item's own key.
  virtual void LoadItem(const VProfileKey& itemKey, int productId) { Load(&itemKey, productId); }
  // Saves the object into the sub-key of `collectionKey` named after the item and writes that
  // key; false with the reason in `error`.
  virtual bool SaveItem(VProfileKey& collectionKey, bool force, VReportMessageParams& error);

 protected:
  // How the item's key is opened for saving (0 or kProfileKeyCreate).
  virtual int SaveKeyFlags(const VProfileKey& collectionKey) const { return 0; }

 private:
  ItemCollection collection_;
  VUnicodeString itemName_;
};

// A named item that implements `Interface` (an IUnknown) and counts its references through it.
template <class Interface>
class VNamedItemObject : public VUnknown<Interface>, public NamedItemConfig {
 public:
  VNamedItemObject(ItemCollection collection, const VUnicodeString& itemName)
      : NamedItemConfig(collection, itemName) {}
  long AddRef() override { return VUnknown<Interface>::AddRef(); }
  long Release() override { return VUnknown<Interface>::Release(); }
};

// An item kept whole: every value and sub-key of its key, of any kind, read at load and written
// back at save, so that nothing another program stored there is lost. Serves every collection
// whose own object is not there yet.
class ItemSnapshotConfig : public VNamedItemObject<IUnknown> {
 public:
  using Node = VProfileSubkeyCopy::Node;
  using VNamedItemObject::VNamedItemObject;

  const Node& GetContents() const { return contents_; }
  void SetContents(const Node& contents) { contents_ = contents; }
  bool IsEmpty() const { return contents_.values.empty() && contents_.children.empty(); }

  const VMemberTable& GetMemberTable() const override;
  // Writes every value and sub-key, whether changed or not: the item is saved whole.
  bool Save(VProfileKey& key, bool force) override;
  bool IsModified() const override { return !(contents_ == saved_); }
  void CopyValue(const VProfileData& other) override;
  void DoCommit() override { saved_ = contents_; }
  void DoRevert() override { contents_ = saved_; }

 protected:
  void OnBeforeLoad(const VProfileKey* key) override;
  // An item without any value still becomes a key of its own.
  int SaveKeyFlags(const VProfileKey& collectionKey) const override;

 private:
  Node contents_;
  Node saved_;
};

// A new object of the kind that `collection` keeps, named `itemName`, not yet loaded (Load with a
// null key gives every default).
NamedItemConfig* CreateNamedItemConfig(ItemCollection collection, const VUnicodeString& itemName);
