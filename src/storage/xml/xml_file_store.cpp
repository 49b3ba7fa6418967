#include "storage/xml/xml_file_store.h"

#include "storage/xml/xml_file_key.h"

VProfilePrivateKey* VXmlFileStore::CreateRootKey(bool readOnly) {
  return new VXmlFileKey(path_, flags_, readOnly, env_);
}
