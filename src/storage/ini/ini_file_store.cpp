#include "storage/ini/ini_file_store.h"

#include "storage/ini/ini_file_key.h"

VProfilePrivateKey* VIniFileStore::CreateRootKey(bool readOnly) {
  return new VIniFileKey(folder_, personalFolder_, readOnly, nullptr, env_);
}
