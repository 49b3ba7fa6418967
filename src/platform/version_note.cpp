#include "platform/version_note.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

template <typename T>
bool ReadAt(const uint8_t* data, size_t size, uint64_t offset, T& out) {
  if (offset > size || sizeof(T) > size - offset) return false;
  std::memcpy(&out, data + offset, sizeof(T));
  return true;
}

size_t Align4(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }

// Looks through one note area for our note.
bool ScanNotes(const uint8_t* data, size_t size, uint64_t offset, uint64_t length,
               VFileVersionInfo& info) {
  if (offset > size || length > size - offset) return false;
  uint64_t pos = offset;
  const uint64_t end = offset + length;
  while (end - pos >= 12) {
    uint32_t nameSize = 0, descSize = 0, type = 0;
    ReadAt(data, size, pos, nameSize);
    ReadAt(data, size, pos + 4, descSize);
    ReadAt(data, size, pos + 8, type);
    uint64_t namePos = pos + 12;
    uint64_t descPos = namePos + Align4(nameSize);
    uint64_t next = descPos + Align4(descSize);
    if (Align4(nameSize) > end - namePos || next > end || descPos > end) return false;
    if (type == kVersionNoteType && nameSize == sizeof(kVersionNoteOwner) &&
        std::memcmp(data + namePos, kVersionNoteOwner, sizeof(kVersionNoteOwner)) == 0 &&
        descSize >= 12) {
      const uint8_t* desc = data + descPos;
      std::memcpy(&info.fileType, desc, 4);
      std::memcpy(info.version, desc + 4, 8);
      const char* company = reinterpret_cast<const char*>(desc + 12);
      size_t available = descSize - 12;
      info.companyName.assign(company, strnlen(company, available));
      return true;
    }
    pos = next;
  }
  return false;
}

template <typename Ehdr, typename Shdr>
bool ParseElf(const uint8_t* data, size_t size, VFileVersionInfo& info) {
  Ehdr header;
  if (!ReadAt(data, size, 0, header)) return false;
  if (header.e_shentsize != sizeof(Shdr) || header.e_shnum == 0 || header.e_shnum > 4096)
    return false;
  for (uint16_t i = 0; i < header.e_shnum; ++i) {
    Shdr section;
    if (!ReadAt(data, size, header.e_shoff + static_cast<uint64_t>(i) * sizeof(Shdr), section))
      return false;
    if (section.sh_type == 7 /* note */ && ScanNotes(data, size, section.sh_offset, section.sh_size, info))
      return true;
  }
  return false;
}

struct Elf64Header {
  uint8_t ident[16];
  uint16_t e_type, e_machine;
  uint32_t e_version;
  uint64_t e_entry, e_phoff, e_shoff;
  uint32_t e_flags;
  uint16_t e_ehsize, e_phentsize, e_phnum, e_shentsize, e_shnum, e_shstrndx;
};
struct Elf64Section {
  uint32_t sh_name, sh_type;
  uint64_t sh_flags, sh_addr, sh_offset, sh_size;
  uint32_t sh_link, sh_info;
  uint64_t sh_addralign, sh_entsize;
};
struct Elf32Header {
  uint8_t ident[16];
  uint16_t e_type, e_machine;
  uint32_t e_version, e_entry, e_phoff, e_shoff, e_flags;
  uint16_t e_ehsize, e_phentsize, e_phnum, e_shentsize, e_shnum, e_shstrndx;
};
struct Elf32Section {
  uint32_t sh_name, sh_type, sh_flags, sh_addr, sh_offset, sh_size, sh_link, sh_info,
      sh_addralign, sh_entsize;
};

}  // namespace

bool VParseVersionNote(const uint8_t* data, size_t size, VFileVersionInfo& info) {
  if (!data || size < 16 || std::memcmp(data, "\x7F" "ELF", 4) != 0) return false;
  if (data[5] != 1) return false;  // little-endian only, as on the machines we build for
  if (data[4] == 2) return ParseElf<Elf64Header, Elf64Section>(data, size, info);
  if (data[4] == 1) return ParseElf<Elf32Header, Elf32Section>(data, size, info);
  return false;
}

bool VReadFileVersionInfo(const std::string& path, VFileVersionInfo& info) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = false;
  // Mapped, not read: only the pages holding the headers and the note are touched.
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    size_t size = static_cast<size_t>(st.st_size);
    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map != MAP_FAILED) {
      ok = VParseVersionNote(static_cast<const uint8_t*>(map), size, info);
      munmap(map, size);
    }
  }
  close(fd);
  return ok;
}
