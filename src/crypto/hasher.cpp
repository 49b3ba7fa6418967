#include "crypto/hasher.h"

// The MD5 of older settings lives in the library's namespace of weak algorithms.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <crypto++/md5.h>
#include <crypto++/sha.h>

#include "crypto/crypto_messages.h"

namespace CryptUtils {
namespace {

class HasherOf : public Hasher {
 public:
  explicit HasherOf(std::unique_ptr<CryptoPP::HashTransformation> hash) : hash_(std::move(hash)) {}

  void Initialize() override { hash_->Restart(); }
  void Update(const void* data, size_t length) override {
    hash_->Update(static_cast<const CryptoPP::byte*>(data), length);
  }
  size_t Final(uint8_t* output, size_t capacity) override {
    size_t size = DigestSize();
    if (capacity < size) return 0;
    hash_->Final(output);  // also restarts the hash
    return size;
  }
  size_t DigestSize() const override { return hash_->DigestSize(); }

 private:
  std::unique_ptr<CryptoPP::HashTransformation> hash_;
};

template <class Hash>
std::unique_ptr<CryptoPP::HashTransformation> Make() {
  return std::make_unique<Hash>();
}

struct HashRow {
  const char* name;
  std::unique_ptr<CryptoPP::HashTransformation> (*make)();
};

constexpr HashRow kHashes[] = {
    {"md5", &Make<CryptoPP::Weak::MD5>},   {"sha1", &Make<CryptoPP::SHA1>},
    {"sha224", &Make<CryptoPP::SHA224>},   {"sha256", &Make<CryptoPP::SHA256>},
    {"sha384", &Make<CryptoPP::SHA384>},   {"sha512", &Make<CryptoPP::SHA512>},
};

}  // namespace

std::unique_ptr<Hasher> Hasher::Create(std::string_view name, VReportMessageParams& error) {
  for (const HashRow& row : kHashes) {
    if (name == row.name) return std::make_unique<HasherOf>(row.make());
  }
  error.Reset(crypto_messages::kUnknownAlgorithm);
  error.AddInsert(VUnicodeString::FromUtf8(name));
  return nullptr;
}

}  // namespace CryptUtils
