#include "crypto/passphrase_dialogs.h"

#include "crypto/crypto_messages.h"

namespace {
// The file-transfer products carry warnings that name them.
constexpr int kTransferProduct = 6;
constexpr int kSkellanProduct = 9;
}  // namespace

VCreatePassphraseTexts GetCreatePassphraseTexts(int productId, bool integrated) {
  using namespace crypto_messages;
  VCreatePassphraseTexts texts;
  texts.title = kCreatePassphraseTitle;
  texts.explanation = integrated ? kCreatePassphraseExplanationPair : kCreatePassphraseExplanation;
  texts.neededAtStart = integrated ? kPassphraseNeededAtStartPair : kPassphraseNeededAtStart;
  if (integrated) texts.withoutWarning = kWithoutPassphraseWarningPair;
  else if (productId == kTransferProduct) texts.withoutWarning = kWithoutPassphraseWarningTransfer;
  else if (productId == kSkellanProduct) texts.withoutWarning = kWithoutPassphraseWarningSkellan;
  else texts.withoutWarning = kWithoutPassphraseWarning;
  return texts;
}
