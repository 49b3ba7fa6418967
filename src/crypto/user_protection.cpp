#include "crypto/user_protection.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

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

void ReportSystem(uint32_t id, const std::string& path, int errnoValue,
                  VReportMessageParams& error) {
  error.Reset(id);
  error.AddInsert(VUnicodeString::FromUtf8(path));
  error.AddInsert(VFormatCatalogueMessage(win32::FromErrno(errnoValue), {}, true));
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

KeyLoad LoadKey(const std::string& path, uint8_t* key, VReportMessageParams& error) {
  // No symbolic links (a link could point at anyone's file) and no waiting on a FIFO.
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return KeyLoad::Missing;
    if (errno == ELOOP) ReportCheck(KeyFileCheck::NotRegular, path, 0, error);
    else ReportSystem(crypto_messages::kKeyFileUnusable, path, errno, error);
    return KeyLoad::Refused;
  }
  vfs::File file(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    ReportSystem(crypto_messages::kKeyFileUnusable, path, errno, error);
    return KeyLoad::Refused;
  }
  KeyFileCheck check = CheckKeyFile(info, geteuid());
  if (check != KeyFileCheck::Ok) {
    ReportCheck(check, path, info.st_mode, error);
    return KeyLoad::Refused;
  }
  size_t done = 0;
  while (done < kKeySize) {
    ssize_t got = pread(fd, key + done, kKeySize - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      explicit_bzero(key, kKeySize);
      if (got < 0) ReportSystem(crypto_messages::kKeyFileUnusable, path, errno, error);
      else ReportCheck(KeyFileCheck::WrongSize, path, 0, error);
      return KeyLoad::Refused;
    }
    done += static_cast<size_t>(got);
  }
  return KeyLoad::Loaded;
}

// Gives the complete temporary file the key file's name unless that name exists already (then the
// key another process made first is the one to use). Hard links do this on most file systems;
// where they are not offered, a rename that refuses to replace does.
bool PublishWithoutReplacing(const std::string& temporary, const std::string& path) {
  if (link(temporary.c_str(), path.c_str()) == 0 || errno == EEXIST) return true;
  if (errno != EPERM && errno != EOPNOTSUPP) return false;
  return renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0 ||
         errno == EEXIST;
}

// Writes a new key under a temporary name and links it into place: link() fails when the name
// exists, so two processes creating the key at once agree on one, and nobody ever reads a file
// that is only half written.
bool CreateKey(const std::string& path, VReportMessageParams& error) {
  std::string folder = vfs::ParentFolder(path);
  uint32_t code = 0;
  if (!vfs::CreateFolderTree(folder, 0700, code)) {
    error.Reset(crypto_messages::kKeyFileUnusable);
    error.AddInsert(VUnicodeString::FromUtf8(path));
    error.AddInsert(VFormatCatalogueMessage(code, {}, true));
    return false;
  }
  std::string temporary = vfs::JoinPath(folder, ".protect.key.XXXXXX");
  int fd = mkostemp(temporary.data(), O_CLOEXEC);  // O_EXCL, mode 0600
  if (fd < 0) {
    ReportSystem(crypto_messages::kKeyFileUnusable, path, errno, error);
    return false;
  }
  vfs::File file(fd);
  uint8_t key[kKeySize];
  IRandomSource* random = VGetProcessRandomSource();
  bool written = false;
  int failure = 0;
  if (!random->GenerateBlock(key, kKeySize)) {
    VReportRandomFailure(random, error);
  } else if (fchmod(fd, 0600) != 0) {
    failure = errno;
  } else {
    size_t done = 0;
    while (done < kKeySize) {
      ssize_t put = write(fd, key + done, kKeySize - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) break;
      done += static_cast<size_t>(put);
    }
    if (done != kKeySize) failure = errno ? errno : EIO;
    else if (fsync(fd) != 0) failure = errno;
    else written = true;
  }
  explicit_bzero(key, sizeof key);
  file.Close();
  if (written && !PublishWithoutReplacing(temporary, path)) {
    failure = errno;
    written = false;
  }
  unlink(temporary.c_str());
  if (!written) {
    if (failure) ReportSystem(crypto_messages::kKeyFileUnusable, path, failure, error);
    return false;
  }
  if (int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    fsync(dir);
    close(dir);
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
    if (load == KeyLoad::Missing) ReportSystem(crypto_messages::kKeyFileUnusable, path, ENOENT, error);
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
