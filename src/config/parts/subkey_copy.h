// A sub-key kept whole: every value (of any kind) and every sub-key below it, read at load and
// written back at save. Keys whose own objects are not there yet are kept this way, and objects
// keep the parts of their key they do not know, so that a load and save never loses what another
// program stored there.
#pragma once

#include <utility>
#include <vector>

#include "storage/values/profile_composite.h"

class VProfileSubkeyCopy : public VProfileComposite {
 public:
  struct Node {
    VUnicodeString name;
    std::vector<std::pair<VUnicodeString, VStoredValue>> values;  // in the key's order
    std::vector<Node> children;
    bool operator==(const Node& other) const = default;
  };

  explicit VProfileSubkeyCopy(const char16_t* subkeyName);

  const VUnicodeString& GetSubkeyName() const { return contents_.name; }
  // What was read (or set since); an absent sub-key is an empty node.
  const Node& GetContents() const { return contents_; }
  void SetContents(const Node& contents);
  bool IsEmpty() const { return contents_.values.empty() && contents_.children.empty(); }

  // Reads every value and sub-key of `key` into `node` (whose name is left as it is); writes a
  // node's values and sub-keys into `key` and then the key itself. Other objects that keep a key
  // whole use these too.
  static void ReadNode(const VProfileKey& key, Node& node);
  static bool WriteNode(VProfileKey& key, const Node& node);

  const VMemberTable& GetMemberTable() const override;
  // Writes the whole sub-key when forced, flagged or changed; an empty copy writes nothing (and
  // creates no sub-key). False when a key refused a value or could not be written.
  bool Save(VProfileKey& key, bool force) override;
  bool IsModified() const override { return !(contents_ == saved_); }
  void CopyValue(const VProfileData& other) override;
  void DoCommit() override;
  void DoRevert() override { contents_ = saved_; }

 protected:
  void OnBeforeLoad(const VProfileKey* key) override;

 private:
  Node contents_;
  Node saved_;
};
