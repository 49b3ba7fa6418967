// The passphrase cache between real processes: one stores, the others read; a process killed while
// holding the lock or the busy flag does not stop the others; objects another user could have
// made are refused; the block goes with its last holder.
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "crypto/config_passphrase.h"
#include "crypto/crypto_messages.h"
#include "crypto/passphrase_cache.h"
#include "crypto/passphrase_cache_block.h"
#include "crypto/v2_codec.h"
#include "environment/installed_products.h"
#include "environment/library_init.h"
#include "environment/products.h"
#include "support/peer_process.h"

namespace {

using qtest::PeerProcess;
using qtest::SharedObjectExists;

class PassphraseCache : public ::testing::Test {
 protected:
  void TearDown() override { qtest::RemoveSharedObjects(names_); }
  VSharedMemoryNames names_ = qtest::UniqueSharedNames();
};

TEST_F(PassphraseCache, ProcessesShareThePassphraseAndTheFlags) {
  PeerProcess storer(names_), reader(names_);
  ASSERT_EQ(storer.Ask("open"), "shared");
  EXPECT_EQ(reader.Ask("settled"), "no");  // not open yet: nothing to go by
  ASSERT_EQ(reader.Ask("open"), "shared");
  EXPECT_EQ(reader.Ask("settled"), "no");
  EXPECT_EQ(storer.Ask("store correct horse é"), "ok");
  EXPECT_EQ(reader.Ask("get"), "value correct horse é");
  EXPECT_EQ(reader.Ask("settled"), "yes");
  EXPECT_EQ(reader.Ask("refcount"), "2");
  EXPECT_EQ(storer.Ask("disable 1"), "ok");
  EXPECT_EQ(reader.Ask("disabled"), "yes");

  // The block holds the stored form under the empty passphrase, never the passphrase itself.
  VSharedMemoryCache view;
  VSharedObjectStatus status;
  ASSERT_TRUE(view.OpenShared(names_, sizeof(VPassphraseCacheArea), status));
  VUnicodeString text;
  {
    VIpcLockGuard guard(view.Lock());
    auto* area = reinterpret_cast<VPassphraseCacheArea*>(view.Block());
    EXPECT_EQ(area->block.inUse, 1u);
    EXPECT_EQ(area->block.disabled, 1);
    text = area->block.passphrase;
  }
  EXPECT_EQ(text.substr(0, 3), u"02:");
  EXPECT_EQ(text.find(u"horse"), std::u16string::npos);
  VUnicodeString plaintext;
  VReportMessageParams error;
  ASSERT_TRUE(CryptUtils::DecryptV2String(text, u"", plaintext, error));
  EXPECT_EQ(plaintext, u"correct horse é");

  EXPECT_EQ(storer.Ask("store"), "ok");  // an empty passphrase is a settled one
  EXPECT_EQ(reader.Ask("get"), "value ");
  EXPECT_EQ(storer.Ask("disable 0"), "ok");
  EXPECT_EQ(reader.Ask("settled"), "yes");
  EXPECT_EQ(storer.Finish(), 0);
  EXPECT_EQ(reader.Finish(), 0);
}

TEST_F(PassphraseCache, AProcessKilledHoldingTheLockDoesNotBlockTheOthers) {
  VPassphraseCache cache;
  VReportMessageParams error;
  ASSERT_TRUE(cache.OpenShared(names_, error));
  ASSERT_TRUE(cache.StorePassphrase(u"kept", error));
  {
    PeerProcess holder(names_);
    ASSERT_EQ(holder.Ask("hold-lock"), "locked");
    holder.Kill(SIGKILL);
  }
  EXPECT_EQ(cache.LoadPassphrase(), u"kept");

  // A writer killed half-way through the text leaves no passphrase rather than a torn one.
  {
    PeerProcess writer(names_);
    ASSERT_EQ(writer.Ask("torn-write"), "locked");
    writer.Kill(SIGKILL);
  }
  EXPECT_FALSE(cache.IsSettled());
  EXPECT_EQ(cache.LoadPassphrase(), u"");
  ASSERT_TRUE(cache.StorePassphrase(u"again", error));
  EXPECT_EQ(cache.LoadPassphrase(), u"again");
}

TEST_F(PassphraseCache, TheBusyFlagOfAKilledProcessIsTakenOver) {
  VPassphraseCache cache;
  VReportMessageParams error;
  ASSERT_TRUE(cache.OpenShared(names_, error));
  PeerProcess busy(names_), other(names_);
  ASSERT_EQ(busy.Ask("open"), "shared");
  ASSERT_EQ(other.Ask("open"), "shared");
  ASSERT_EQ(busy.Ask("take-busy"), "taken");
  EXPECT_EQ(other.Ask("take-busy"), "held");
  EXPECT_EQ(other.Ask("release-busy"), "ok");  // only the holder can clear it
  EXPECT_TRUE(cache.IsBusy());
  EXPECT_FALSE(cache.TryTakeBusy());

  busy.Kill(SIGKILL);
  EXPECT_FALSE(cache.IsBusy());
  EXPECT_TRUE(cache.TryTakeBusy());
  EXPECT_EQ(other.Ask("take-busy"), "held");
  EXPECT_FALSE(cache.TryTakeBusy()) << "a thread of the holder waits like anyone else";
  cache.ReleaseBusy();
  EXPECT_EQ(other.Ask("take-busy"), "taken");
  EXPECT_EQ(other.Ask("release-busy"), "ok");
  EXPECT_TRUE(cache.TryTakeBusy());
}

TEST_F(PassphraseCache, ObjectsAnotherUserCouldUseAreRefusedForAPrivateBlock) {
  int fd = shm_open(("/" + names_.mapping).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(fchmod(fd, 0644), 0);
  close(fd);
  PeerProcess peer(names_);
  EXPECT_EQ(peer.Ask("open"), "private");
  EXPECT_EQ(peer.Ask("store secret"), "ok");
  EXPECT_EQ(peer.Ask("get"), "value secret");
  struct stat info {};
  ASSERT_EQ(stat(("/dev/shm/" + names_.mapping).c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0) << "nothing was written into the foreign object";

  // The process-wide cache does the same, and says why.
  VReportMessageParams error;
  EXPECT_FALSE(OpenSharedConfigPassphraseCache(names_, error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kSharedObjectNotPrivate);
  EXPECT_NE(error.GetTextOneLine().find(u"0644"), std::u16string::npos);
  EXPECT_FALSE(IsConfigPassphraseCacheShared());
  SetConfigPassphrase(u"private");
  EXPECT_EQ(GetConfigPassphrase(), u"private");
  CloseConfigPassphraseCache();
  EXPECT_EQ(GetConfigPassphrase(), u"");
  qtest::RemoveSharedObjects(names_);

  if (geteuid() != 0) GTEST_SKIP() << "giving an object to another user needs root";
  fd = shm_open(("/" + names_.mapping).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(fchown(fd, 4242, static_cast<gid_t>(-1)), 0);
  close(fd);
  EXPECT_EQ(peer.Ask("open"), "private");
}

TEST_F(PassphraseCache, ThePassphraseTextHoldsAtMost2048Characters) {
  VPassphraseCache cache;
  VReportMessageParams error;
  ASSERT_TRUE(cache.OpenPrivate(error));
  // The longest passphrase whose stored form, with its terminator, fits.
  size_t fits = 0;
  for (size_t length = 900; length < 1100; ++length) {
    VUnicodeString text;
    ASSERT_TRUE(CryptUtils::EncryptV2String(VUnicodeString(std::u16string(length, u'x')), u"", nullptr, text,
                                            error));
    if (text.size() + 1 > kPassphraseCacheTextUnits) break;
    fits = length;
  }
  ASSERT_GT(fits, 900u);
  VUnicodeString longest(std::u16string(fits, u'x'));
  ASSERT_TRUE(cache.StorePassphrase(longest.c_str(), error));
  EXPECT_EQ(cache.LoadPassphrase(), longest);

  ASSERT_TRUE(cache.StorePassphrase(u"previous", error));
  VUnicodeString tooLong(std::u16string(fits + 1, u'x'));
  EXPECT_FALSE(cache.StorePassphrase(tooLong.c_str(), error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kPassphraseTooLongToCache);
  EXPECT_EQ(cache.LoadPassphrase(), u"previous");
  SetConfigPassphrase(u"previous");
  SetConfigPassphrase(tooLong.c_str());
  EXPECT_EQ(GetConfigPassphrase(), u"previous");
  SetConfigPassphrase(nullptr);
}

TEST_F(PassphraseCache, TheLastLiveHolderRemovesTheBlock) {
  PeerProcess first(names_), second(names_), killed(names_);
  ASSERT_EQ(first.Ask("open"), "shared");
  ASSERT_EQ(second.Ask("open"), "shared");
  ASSERT_EQ(killed.Ask("open"), "shared");
  EXPECT_EQ(first.Ask("store kept"), "ok");
  EXPECT_EQ(first.Ask("refcount"), "3");
  EXPECT_EQ(second.Finish(), 0);
  EXPECT_EQ(first.Ask("refcount"), "2");
  killed.Kill(SIGKILL);  // never lowers the count, but no longer holds the block either
  EXPECT_TRUE(SharedObjectExists(names_.mapping));
  EXPECT_EQ(first.Ask("get"), "value kept");
  EXPECT_EQ(first.Finish(), 0);
  EXPECT_FALSE(SharedObjectExists(names_.mapping));
  EXPECT_FALSE(SharedObjectExists(names_.lock));

  // When every holder died, the next process starts with an empty block.
  {
    PeerProcess holder(names_);
    ASSERT_EQ(holder.Ask("open"), "shared");
    EXPECT_EQ(holder.Ask("store lost"), "ok");
    holder.Kill(SIGKILL);
  }
  EXPECT_TRUE(SharedObjectExists(names_.mapping));
  PeerProcess next(names_);
  ASSERT_EQ(next.Ask("open"), "shared");
  EXPECT_EQ(next.Ask("settled"), "no");
  EXPECT_EQ(next.Ask("refcount"), "1");
}

TEST(PassphraseCacheNames, AreFixedPerProductPairAndUser) {
  VSharedMemoryNames own = BuildPassphraseCacheNames(kProductLumbrel, false, 1000);
  EXPECT_EQ(own.mapping, "{BE251B73-D0CC-49D6-BAD8-73E1DF33D0DE}{6}-1000");
  EXPECT_EQ(own.lock, "{4F896D0D-BE15-474B-9673-7EE8C3FB1222}{6}-1000");
  VSharedMemoryNames pair = BuildPassphraseCacheNames(kProductKarvell, true, 0);
  EXPECT_EQ(pair.mapping, "{BE251B73-D0CC-49D6-BAD8-73E1DF33D0DE}-0");
  EXPECT_EQ(pair.lock, "{4F896D0D-BE15-474B-9673-7EE8C3FB1222}-0");
}

TEST(PassphraseCacheSetUp, TheHostAsksForSharingAtInitAndLetsGoAtUnload) {
  QuillaneInit(nullptr, 0);
  EXPECT_FALSE(IsConfigPassphraseCacheShared());
  QuillaneInit(nullptr, kInitCreatePassphraseCache);
  EXPECT_TRUE(IsConfigPassphraseCacheShared());
  VSharedMemoryNames names =
      BuildPassphraseCacheNames(GetCurrentAppProductID(), IsIntegrated(), geteuid());
  EXPECT_TRUE(SharedObjectExists(names.mapping));
  QuillaneCleanupForUnload();
  EXPECT_FALSE(IsConfigPassphraseCacheShared());
  QuillaneInit(nullptr, 0);
}

}  // namespace
