// Whether the system runs under a FIPS policy: the kernel says so in a one-character file.
#pragma once

#include <string>

#include "platform/env.h"

inline constexpr char kSystemFipsPolicyFile[] = "/proc/sys/crypto/fips_enabled";

// True when `path` reads as a number other than 0. A missing or unreadable file, or one that
// holds anything else, is no policy: the check decides nothing when the system cannot answer.
bool SystemFipsPolicyEnabled(vfs::Env* env, const std::string& path = kSystemFipsPolicyFile);
