// Version information carried by our executables in an ELF note section, read by the library to
// tell which applications of the family are installed beside the running one.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t kVersionNoteType = 0x56455253;  // "VERS"
constexpr char kVersionNoteOwner[] = "Tolvane";     // the note's name field
constexpr uint32_t kFileTypeApplication = 1;        // as the file type of a version resource

struct VFileVersionInfo {
  uint32_t fileType = 0;
  uint16_t version[4] = {};  // major, minor, build, revision
  std::string companyName;
  uint16_t Major() const { return version[0]; }
};

// Reads the note of an ELF file in memory; false when the file is not ELF or carries no valid
// note. Never reads outside `size`.
bool VParseVersionNote(const uint8_t* data, size_t size, VFileVersionInfo& info);
// The same for a file on disk (only its headers and the note are read).
bool VReadFileVersionInfo(const std::string& path, VFileVersionInfo& info);

// Declares the note in an executable. The section name starts with ".note" so the assembler gives
// it the note type, and `used` keeps it from being dropped.
#define QUILLANE_VERSION_NOTE(MAJOR, MINOR, BUILD, REVISION, COMPANY)                          \
  extern "C" __attribute__((section(".note.tolvane.version"), used, aligned(4)))              \
  const struct {                                                                               \
    uint32_t nameSize, descSize, type;                                                         \
    char name[8];                                                                              \
    uint32_t fileType;                                                                         \
    uint16_t version[4];                                                                       \
    char companyName[(sizeof(COMPANY) + 3) / 4 * 4];                                               \
  } quillane_version_note = {8, 12 + (sizeof(COMPANY) + 3) / 4 * 4, kVersionNoteType,         \
                             "Tolvane", kFileTypeApplication, {MAJOR, MINOR, BUILD, REVISION}, \
                             COMPANY}
