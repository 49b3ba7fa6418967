// VProfileStruct<T>: a plain structure of typed values used as one setting object. T holds the
// typed values and declares their rows:
//
//   struct InstallFields {
//     VProfile<bool> shortcuts;
//     VProfileString folder;
//     static const VMemberTable& MemberTable();  // rows name VProfileStruct<InstallFields>
//   };
//   using InstallConfig = VProfileStruct<InstallFields>;
//   const VMemberTable& InstallFields::MemberTable() {
//     static const VMemberRow kRows[] = {
//         QL_ROW(InstallConfig, shortcuts, u"Shortcuts", true), ...};
//     static const VMemberTable table(kRows);
//     return table;
//   }
#pragma once

#include "storage/values/profile_composite.h"

template <class T>
class VProfileStruct : public VProfileComposite, public T {
 public:
  const VMemberTable& GetMemberTable() const override { return T::MemberTable(); }
};
