// Text files of the configuration: read in whatever encoding their byte-order mark names (UTF-8,
// UTF-16 in either byte order; without a mark UTF-8 when valid, else Windows-1252), written as
// UTF-8 with a byte-order mark and CR LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

class VTextFile {
 public:
  enum class Encoding { Utf8Bom, Utf16Le, Utf16Be, NoMark };

  // Decodes a whole file's bytes; tells which encoding was found.
  static std::u16string Decode(std::string_view bytes, Encoding* found = nullptr);

  // Reads a whole file under a shared lock on its first bytes, so that a writer's half-finished
  // content is never seen. Only a regular file of at most `limit` bytes is read: anything else
  // (a pipe, a device) is refused with a message naming the file.
  static VStatus ReadLocked(const std::string& path, std::string& bytes,
                            uint64_t limit = vfs::kMaxSettingsFileSize,
                            vfs::Env* env = vfs::Env::Default());
  // The same, telling which file was read (for a later update to know whether it changed).
  static VStatus ReadLocked(const std::string& path, std::string& bytes, vfs::FileVersion& version,
                            vfs::Env* env = vfs::Env::Default());
  // The former form with an error number: it would take the number for the limit.
  static VStatus ReadLocked(const std::string& path, std::string& bytes, uint32_t& error) = delete;

  // Splits decoded text into lines ended by CR, LF or CR LF.
  class LineReader {
   public:
    explicit LineReader(std::u16string_view text) : text_(text) {}
    bool Next(std::u16string_view& line);
    bool AtEnd() const { return pos_ >= text_.size(); }
    // Offset in the text of the next line to be read.
    size_t Position() const { return pos_; }

   private:
    std::u16string_view text_;
    size_t pos_ = 0;
  };

  // Builds the bytes of a file to be written: the byte-order mark, then lines.
  VTextFile() { bytes_.assign("\xEF\xBB\xBF"); }
  void WriteLine(std::u16string_view line);  // appends CR LF
  void Write(std::u16string_view text);
  void WriteAscii(std::string_view text) { bytes_.append(text); }
  const std::string& Bytes() const { return bytes_; }
  size_t LineCount() const { return lines_; }

 private:
  std::string bytes_;
  size_t lines_ = 0;
};
