#include "config/session/none_config.h"

const VMemberTable& NoneConfig::GetMemberTable() const {
  static const VMemberTable table{std::span<const VMemberRow>()};
  return table;
}
