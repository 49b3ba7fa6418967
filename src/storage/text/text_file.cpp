#include "storage/text/text_file.h"

#include "platform/platform_messages.h"
#include "platform/unicode_string.h"
#include "platform/win32_errors.h"

std::u16string VTextFile::Decode(std::string_view bytes, Encoding* found) {
  auto setFound = [&](Encoding e) {
    if (found) *found = e;
  };
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    setFound(Encoding::Utf8Bom);
    return vtext::FromUtf8(bytes.substr(3));
  }
  if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
    bool little = bytes[0] == '\xFF';
    setFound(little ? Encoding::Utf16Le : Encoding::Utf16Be);
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      auto lo = static_cast<uint8_t>(bytes[little ? i : i + 1]);
      auto hi = static_cast<uint8_t>(bytes[little ? i + 1 : i]);
      out.push_back(static_cast<char16_t>(lo | hi << 8));
    }
    return out;
  }
  setFound(Encoding::NoMark);
  return vtext::FromNarrow(bytes);
}

namespace {

VStatus ReadLockedFile(const std::string& path, std::string& bytes, uint64_t limit,
                       vfs::Env* env, vfs::FileVersion* version) {
  auto file = vfs::File::OpenForReading(path, env);
  if (!file) {
    if (file.Code() == win32::kBadFileType)
      return VStatus::Message(win32::kBadFileType, kMsgNotRegularFile, {path});
    return file.Status();
  }
  VStatus status = file->LockShared();
  if (status.Code() == win32::kLockViolation)
    return VStatus::Message(win32::kSharingViolation, kMsgLockWaitTimedOut, {path, "60"});
  // Closing the file releases the lock; no separate call is needed.
  if (status.ok()) status = file->ReadAll(bytes, limit);
  if (status.Code() == win32::kFileTooLarge)
    return VStatus::Message(win32::kFileTooLarge, kMsgFileTooLarge, {path, std::to_string(limit)});
  if (status.ok() && version) {
    // Asked while the shared lock is still held: no writer can have replaced it in between.
    auto st = env->StatOpen(file->Descriptor());
    *version = st ? vfs::FileVersion::Of(*st) : vfs::FileVersion();
  }
  return status;
}

}  // namespace

VStatus VTextFile::ReadLocked(const std::string& path, std::string& bytes, uint64_t limit,
                              vfs::Env* env) {
  return ReadLockedFile(path, bytes, limit, env, nullptr);
}

VStatus VTextFile::ReadLocked(const std::string& path, std::string& bytes,
                              vfs::FileVersion& version, vfs::Env* env) {
  version = vfs::FileVersion();
  return ReadLockedFile(path, bytes, vfs::kMaxSettingsFileSize, env, &version);
}

bool VTextFile::LineReader::Next(std::u16string_view& line) {
  if (pos_ >= text_.size()) return false;
  size_t end = pos_;
  while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n') ++end;
  line = text_.substr(pos_, end - pos_);
  if (end < text_.size()) {
    bool crlf = text_[end] == u'\r' && end + 1 < text_.size() && text_[end + 1] == u'\n';
    end += crlf ? 2 : 1;
  }
  pos_ = end;
  return true;
}

void VTextFile::WriteLine(std::u16string_view line) {
  Write(line);
  bytes_.append("\r\n");
  ++lines_;
}

void VTextFile::Write(std::u16string_view text) { bytes_.append(vtext::ToUtf8(text)); }
