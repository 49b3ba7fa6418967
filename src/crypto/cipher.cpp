#include "crypto/cipher.h"

#include <string.h>

#include <crypto++/aes.h>
#include <crypto++/modes.h>

#include <algorithm>
#include <optional>

#include "crypto/crypto_messages.h"
#include "platform/win32_errors.h"

namespace CryptUtils {
namespace {

struct CipherRow {
  const char* name;
  size_t keyBits;
};

// The ciphers an encrypted setting may name.
constexpr CipherRow kCiphers[] = {
    {"aes128-cbc", 128},
    {"aes192-cbc", 192},
    {"aes256-cbc", 256},
};

}  // namespace

Cipher::~Cipher() { ForgetPending(); }

void Cipher::ForgetPending() {
  explicit_bzero(pending_, sizeof pending_);
  pendingLength_ = 0;
}

size_t Cipher::Update(const uint8_t* input, size_t length, uint8_t* output) {
  const size_t block = BlockSize();
  size_t written = 0;
  if (pendingLength_ > 0) {
    size_t take = std::min(block - pendingLength_, length);
    memcpy(pending_ + pendingLength_, input, take);
    pendingLength_ += take;
    input += take;
    length -= take;
    if (pendingLength_ < block) return 0;
    if (!Process(pending_, block)) return 0;
    memcpy(output, pending_, block);
    ForgetPending();
    written = block;
  }
  size_t whole = length - length % block;
  if (whole > 0) {
    if (output + written != input) memmove(output + written, input, whole);
    if (!Process(output + written, whole)) return written;
    written += whole;
  }
  memcpy(pending_, input + whole, length - whole);
  pendingLength_ = length - whole;
  return written;
}

std::unique_ptr<Cipher> Cipher::Create(std::string_view name, VReportMessageParams& error) {
  for (const CipherRow& row : kCiphers) {
    if (name == row.name) return std::make_unique<CipherAes>(row.keyBits);
  }
  error.Reset(crypto_messages::kUnknownAlgorithm);
  error.AddInsert(VUnicodeString::FromUtf8(name));
  return nullptr;
}

// Only the direction in use is built: each one allocates its own key schedule.
struct CipherAes::Engine {
  std::optional<CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption> encryption;
  std::optional<CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption> decryption;
  bool encrypting = true;
  bool ready = false;
};

CipherAes::CipherAes(size_t keyBits) : keyBits_(keyBits), engine_(std::make_unique<Engine>()) {}

// The engines wipe their key schedules when they go.
CipherAes::~CipherAes() = default;

bool CipherAes::InitEncrypt(const uint8_t* iv, const uint8_t* key) {
  ForgetPending();
  if (!engine_->encryption) engine_->encryption.emplace();
  engine_->encryption->SetKeyWithIV(key, KeySize(), iv, IvSize());
  engine_->encrypting = true;
  engine_->ready = true;
  return true;
}

bool CipherAes::InitDecrypt(const uint8_t* iv, const uint8_t* key) {
  ForgetPending();
  if (!engine_->decryption) engine_->decryption.emplace();
  engine_->decryption->SetKeyWithIV(key, KeySize(), iv, IvSize());
  engine_->encrypting = false;
  engine_->ready = true;
  return true;
}

bool CipherAes::Process(uint8_t* data, size_t length) {
  // Both are mistakes of the caller; they are reported rather than left to the engine, which
  // would assert or throw.
  if (!engine_->ready || length % BlockSize() != 0) {
    error_.SetError(win32::kInvalidParameter);
    return false;
  }
  if (length == 0) return true;
  if (engine_->encrypting) engine_->encryption->ProcessData(data, data, length);
  else engine_->decryption->ProcessData(data, data, length);
  return true;
}

}  // namespace CryptUtils
