#include "crypto/user_protection.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <crypto++/aes.h>
#include <crypto++/gcm.h>

#include "crypto/clear_buffer.h"
#include "crypto/crypto_messages.h"
#include "crypto/random_source.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"

namespace vprotect {
namespace {

// "QLP" and a format version, so that a later format can be told apart.
constexpr uint8_t kMagic[4] = {'Q', 'L', 'P', 1};
constexpr size_t kNonceSize = 12;
constexpr size_t kTagSize = 16;
constexpr size_t kHeaderSize = sizeof kMagic + kNonceSize;

enum class KeyLoad { Loaded, Missing, Refused };

void ReportCode(uint32_t id, const std::string& path, uint32_t code, VReportMessageParams& error) {
  error.Reset(id);
  error.AddInsert(VUnicodeString::FromUtf8(path));
  error.AddInsert(VFormatCatalogueMessage(code, {}, true));
}

void ReportCheck(KeyFileCheck check, const std::string& path, mode_t mode,
                 VReportMessageParams& error) {
  switch (check) {
    case KeyFileCheck::Ok:
      return;
    case KeyFileCheck::WrongOwner:
      error.Reset(crypto_messages::kKeyFileOwner);
      break;
    case KeyFileCheck::OpenToOthers: {
      error.Reset(crypto_messages::kKeyFileMode);
      error.AddInsert(VUnicodeString::FromUtf8(path));
      char octal[8];
      snprintf(octal, sizeof octal, "%03o", static_cast<unsigned>(mode & 0777));
      error.AddInsert(VUnicodeString::FromUtf8(octal));
      return;
    }
    case KeyFileCheck::NotRegular:
    case KeyFileCheck::WrongSize:
      error.Reset(crypto_messages::kKeyFileDamaged);
      break;
  }
  error.AddInsert(VUnicodeString::FromUtf8(path));
}

KeyLoad LoadKey(const std::string& path, uint8_t* key, VReportMessageParams& error,
                vfs::Env* env = vfs::Env::Default()) {
  // No symbolic links (a link could point at anyone's file) and no waiting on a FIFO.
  auto opened = env->OpenForReading(path, false);
  if (!opened) {
    const uint32_t code = opened.Code();
    if (code == win32::kFileNotFound || code == win32::kPathNotFound) return KeyLoad::Missing;
    if (code == win32::kCantResolveFilename || code == win32::kBadFileType ||
        code == win32::kAccessDenied) {
      auto st = env->LinkStat(path);
      if (code != win32::kAccessDenied || (st && st->kind != vfs::EntryKind::kFile)) {
        ReportCheck(KeyFileCheck::NotRegular, path, 0, error);
        return KeyLoad::Refused;
      }
    }
    ReportCode(crypto_messages::kKeyFileUnusable, path, code, error);
    return KeyLoad::Refused;
  }
  vfs::EnvFile file(env, *opened);
  auto st = env->StatOpen(file.Descriptor());
  if (!st) {
    ReportCode(crypto_messages::kKeyFileUnusable, path, st.Code(), error);
    return KeyLoad::Refused;
  }
  struct stat info {};
  info.st_mode = st->mode;
  info.st_uid = st->uid;
  info.st_size = static_cast<off_t>(st->size);
  KeyFileCheck check = CheckKeyFile(info, env->UserId());
  if (check != KeyFileCheck::Ok) {
    ReportCheck(check, path, info.st_mode, error);
    return KeyLoad::Refused;
  }
  std::string bytes;
  VStatus read = env->ReadAll(file.Descriptor(), bytes, kKeySize);
  bool whole = read.ok() && bytes.size() == kKeySize;
  if (whole) memcpy(key, bytes.data(), kKeySize);
  explicit_bzero(bytes.data(), bytes.size());
  if (!whole) {
    explicit_bzero(key, kKeySize);
    if (!read.ok() && read.Code() != win32::kFileTooLarge)
      ReportCode(crypto_messages::kKeyFileUnusable, path, read.Code(), error);
    else
      ReportCheck(KeyFileCheck::WrongSize, path, 0, error);
    return KeyLoad::Refused;
  }
  return KeyLoad::Loaded;
}

// Writes a new key under a temporary name and moves it into place only when the name is free, so
// two processes creating the key at once agree on one (the first), and nobody ever reads a file
// that is only half written.
bool CreateKey(const std::string& path, VReportMessageParams& error,
               vfs::Env* env = vfs::Env::Default()) {
  std::string folder = vfs::ParentFolder(path);
  if (VStatus made = vfs::CreateFolderTree(folder, 0700, env); !made.ok()) {
    ReportCode(crypto_messages::kKeyFileUnusable, path, made.Code(), error);
    return false;
  }
  const std::string temporary = vfs::TemporaryPathBeside(path);
  auto created = env->CreateNew(temporary, 0600);
  if (!created) {
    ReportCode(crypto_messages::kKeyFileUnusable, path, created.Code(), error);
    return false;
  }
  vfs::EnvFile file(env, *created);
  uint8_t key[kKeySize];
  IRandomSource* random = VGetProcessRandomSource();
  bool generated = random->GenerateBlock(key, kKeySize);
  VStatus status;
  if (generated) status = env->ChangeMode(file.Descriptor(), 0600);
  if (generated && status.ok())
    status = env->Write(file.Descriptor(), std::string_view(reinterpret_cast<char*>(key), kKeySize));
  if (generated && status.ok()) status = env->Sync(file.Descriptor());
  explicit_bzero(key, sizeof key);
  file.Close();
  if (generated && status.ok()) {
    status = env->RenameNoReplace(temporary, path);
    // Another process published its key first: that one is used.
    if (status.Code() == win32::kAlreadyExists) status = VStatus();
  }
  // Gone after a successful move; otherwise nothing else refers to it.
  if (!vfs::RemoveFile(temporary, env).ok()) { /* left for the sweep of temporary files */ }
  if (!generated) {
    VReportRandomFailure(random, error);
    return false;
  }
  if (status.ok()) status = env->SyncFolder(folder);
  if (!status.ok()) {
    ReportCode(crypto_messages::kKeyFileUnusable, path, status.Code(), error);
    return false;
  }
  return true;
}

std::string AdditionalData(std::u16string_view description) {
  std::string data(reinterpret_cast<const char*>(kMagic), sizeof kMagic);
  data += vtext::ToUtf8(description);
  return data;
}

}  // namespace

std::string KeyFilePath() {
  return vfs::JoinPath(vfs::JoinPath(vapp::XdgDataHome(), "Tolvane"), "protect.key");
}

KeyFileCheck CheckKeyFile(const struct stat& info, uid_t owner) {
  if (!S_ISREG(info.st_mode)) return KeyFileCheck::NotRegular;
  if (info.st_uid != owner) return KeyFileCheck::WrongOwner;
  if ((info.st_mode & 077) != 0) return KeyFileCheck::OpenToOthers;
  if (info.st_size != static_cast<off_t>(kKeySize)) return KeyFileCheck::WrongSize;
  return KeyFileCheck::Ok;
}

bool Protect(const uint8_t* data, size_t length, std::u16string_view description,
             std::vector<uint8_t>& blob, VReportMessageParams& error) {
  const std::string path = KeyFilePath();
  VClearBuffer key(kKeySize);
  KeyLoad load = LoadKey(path, key.data(), error);
  if (load == KeyLoad::Missing) {
    if (!CreateKey(path, error)) return false;
    load = LoadKey(path, key.data(), error);
    if (load == KeyLoad::Missing) ReportCode(crypto_messages::kKeyFileUnusable, path, win32::kFileNotFound, error);
  }
  if (load != KeyLoad::Loaded) return false;

  std::vector<uint8_t> out(kHeaderSize + length + kTagSize);
  std::copy(std::begin(kMagic), std::end(kMagic), out.begin());
  uint8_t* nonce = out.data() + sizeof kMagic;
  IRandomSource* random = VGetProcessRandomSource();
  if (!random->GenerateBlock(nonce, kNonceSize)) {
    VReportRandomFailure(random, error);
    return false;
  }
  std::string aad = AdditionalData(description);
  CryptoPP::GCM<CryptoPP::AES>::Encryption gcm;
  gcm.SetKeyWithIV(key.data(), key.size(), nonce, kNonceSize);
  gcm.EncryptAndAuthenticate(out.data() + kHeaderSize, out.data() + kHeaderSize + length, kTagSize,
                             nonce, kNonceSize, reinterpret_cast<const uint8_t*>(aad.data()),
                             aad.size(), data, length);
  blob = std::move(out);
  return true;
}

bool Unprotect(const uint8_t* blob, size_t length, std::u16string_view description,
               VClearBuffer& data, VReportMessageParams& error) {
  data.Resize(0);
  // Not ours in form (another system's blob, a damaged text): nothing to try a key on.
  if (length < kHeaderSize + kTagSize || !std::equal(std::begin(kMagic), std::end(kMagic), blob)) {
    error.Reset(crypto_messages::kProtectedByOther);
    return false;
  }
  const std::string path = KeyFilePath();
  VClearBuffer key(kKeySize);
  switch (LoadKey(path, key.data(), error)) {
    case KeyLoad::Loaded:
      break;
    case KeyLoad::Missing:
      // This user never protected anything here, so someone else did.
      error.Reset(crypto_messages::kProtectedByOther);
      return false;
    case KeyLoad::Refused:
      return false;
  }
  const uint8_t* nonce = blob + sizeof kMagic;
  const size_t cipherLength = length - kHeaderSize - kTagSize;
  std::string aad = AdditionalData(description);
  VClearBuffer clear(cipherLength);
  CryptoPP::GCM<CryptoPP::AES>::Decryption gcm;
  gcm.SetKeyWithIV(key.data(), key.size(), nonce, kNonceSize);
  bool good = gcm.DecryptAndVerify(clear.data(), blob + kHeaderSize + cipherLength, kTagSize, nonce,
                                   kNonceSize, reinterpret_cast<const uint8_t*>(aad.data()),
                                   aad.size(), blob + kHeaderSize, cipherLength);
  if (!good) {
    error.Reset(crypto_messages::kProtectedByOther);
    return false;
  }
  data.Assign(clear.data(), clear.size());
  return true;
}

}  // namespace vprotect
