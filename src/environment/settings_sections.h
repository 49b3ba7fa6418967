// The sections of a settings file, in the order an export writes them and an import reads them.
// Sections whose objects have no model of their own yet travel as their keys, whole; an object
// that arrives later changes its row's kind, and both directions follow.
#pragma once

#include <cstdint>
#include <span>

// Option bits of a run.
constexpr uint32_t kImportExportGlobal = 1;
constexpr uint32_t kImportExportSessions = 2;
constexpr uint32_t kImportExportTasks = 8;
// Import only ("Do not import sensitive data"): every imported item gets its secrets empty,
// whatever passphrase the file's secrets are under, and nobody is asked for it.
constexpr uint32_t kImportExportSkipSecrets = 0x100;

enum class VSettingsSectionKind {
  Security,   // the exporter's passphrase check value
  Global,     // the global configuration
  Sessions,   // the session tree
  Firewalls,  // saved firewalls, their passwords carried between passphrases
  WholeKey,   // the key of the same name below the root, copied whole
  FileTypes,  // the host's file-type settings, through the sink
  Files,      // the files the exported objects refer to
};

struct VSettingsSection {
  const char16_t* name;  // the key in the settings file (and in the configuration)
  uint32_t bits;         // written and read when one of these option bits is chosen; 0: always
  VSettingsSectionKind kind;
};

std::span<const VSettingsSection> SettingsSections();
