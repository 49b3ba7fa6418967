#include "comparisons.h"

namespace bench {

const std::vector<Comparison>& Comparisons() {
  static const std::vector<Comparison> rows = {
      // Whole commands over the generated tree of 10,000 sessions in 500 folders.
      {"`quillane sessions --recursive`", "BM_ColdSessionsRecursive",
       "`find -name '*.ini'` over the same folders", "BM_ColdFindSessionFiles", 2},
      {"`quillane find t12`", "BM_ColdFindText", "`find -iname '*t12*'` over the same folders",
       "BM_ColdFindINameText", 2},
      // The same tree inside one process.
      {"every session opened into a SessionConfig", "BM_OpenEverySessionConfig",
       "plain INI load of every session", "BM_IniLoadEverySession", 4},
      {"every session exported into one settings file", "BM_ExportEverySession",
       "every session opened into a SessionConfig", "BM_OpenEverySessionConfig", 3},
      {"every session imported from that file (each written and flushed)",
       "BM_ImportEverySession", "every session opened into a SessionConfig",
       "BM_OpenEverySessionConfig", 5},
      {"tree enumerated (sub-keys, \"Is Session\")", "BM_IniEnumerateTree",
       "listing the same folders", "BM_ListFoldersAlone", 2},
      {"every session's values loaded", "BM_IniLoadEverySession", "raw read of every file",
       "BM_RawReadEveryFile", 3},
      {"every session's values loaded", "BM_IniLoadEverySession",
       "Qt's QSettings loading the same values", "BM_QSettingsLoadEverySession", 0},
      {"every folder listed in display order", "BM_ListEveryFolderInDisplayOrder",
       "listing the same folders", "BM_ListFoldersAlone", 0},
      {"connect-bar search for \"42\", warm", "BM_FindWarm/2",
       "substring scan of every path in memory", "BM_PlainSubstringScan/2", 0},
      {"10,000 sessions of mixed protocols opened, every module loaded",
       "BM_OpenMixedProtocolSessions", "the same sessions with protocol \"None\"",
       "BM_OpenNoneProtocolSessions", 1.5},
      // One XML settings file of 10,000 sessions.
      {"XML settings file loaded", "BM_LoadWhole", "raw read of the file under its lock",
       "BM_ReadFileRaw", 0},
      {"XML settings file loaded", "BM_LoadWhole", "`xmllint --noout` on the file",
       "BM_XmllintNoout", 0},
      // The INI store on 1,000 sessions.
      {"one session read", "BM_IniReadSession", "its file read and decoded",
       "BM_PeerRawReadAndDecode", 0},
      {"one session written safely", "BM_IniWriteSession",
       "the same bytes to a new file, fsync, rename", "BM_PeerRawSafeWrite", 0},
      {"1,000 sessions walked", "BM_IniWalkSessionTree", "listing and stat of every entry",
       "BM_PeerRawWalk", 0},
      // Configuration objects.
      {"global configuration loaded", "BM_LoadGlobalConfig", "Global.ini read and decoded",
       "BM_ReadGlobalIniBytes", 0},
      {"global configuration with 1,000 user schemes and palettes loaded",
       "BM_LoadGlobalWith1000Colors", "the same Global.ini read and decoded",
       "BM_ReadGlobalWith1000ColorsBytes", 0},
      {"synchronize profile of 1,000 tasks (10 sources, 10 targets) loaded",
       "BM_SyncProfileLoad1000", "plain INI load of the same key", "BM_SyncKeyPlainIniLoad", 0},
      {"synchronize profile of 1,000 tasks saved", "BM_SyncProfileSave1000",
       "plain INI write of the same values", "BM_SyncKeyPlainIniWrite", 0},
      {"300 settings loaded through a member table", "BM_MemberTableLoad",
       "the same 300 values read one by one", "BM_PlainReads", 0},
      // A key map file of 5,000 mappings.
      {"key map of 5,000 lines loaded", "BM_KeymapLoad5000", "raw read of the same bytes",
       "BM_KeymapRawRead5000", 0},
      {"key map of 5,000 lines loaded", "BM_KeymapLoad5000", "the same bytes read and decoded",
       "BM_KeymapRawReadAndDecode5000", 0},
      {"key map of 5,000 lines saved", "BM_KeymapSave5000",
       "the same bytes written as safely", "BM_KeymapRawSafeWrite5000", 0},
      // Secrets and the passphrase.
      {"32-character secret encrypted", "BM_V2Encrypt/32", "its SHA-256 and AES work alone",
       "BM_Sha256AndAesAlone/32", 0},
      {"32-character secret decrypted", "BM_V2Decrypt/32", "its SHA-256 and AES work alone",
       "BM_Sha256AndAesDecryptAlone/32", 0},
      {"every secret of 10,000 sessions re-encrypted", "BM_ReEncryptEverySession",
       "the same secrets decrypted and encrypted alone", "BM_V2WorkAlone", 0},
      {"cached passphrase read (shared block)", "BM_LoadPassphrase/1",
       "one lock round trip on the same block", "BM_IsDisabled/1", 0},
  };
  return rows;
}

}  // namespace bench
