#include "crypto/random_source.h"

#include <errno.h>
#include <sys/random.h>

#include "crypto/crypto_messages.h"
#include "platform/win32_errors.h"
#include "report/report_message_params.h"

VCapiRandomSource::VCapiRandomSource() {
  // A zero-length request tells whether the kernel offers the call at all.
  uint8_t probe = 0;
  if (getrandom(&probe, 0, GRND_NONBLOCK) < 0 && errno == ENOSYS)
    error_ = win32::FromErrno(ENOSYS);
}

bool VCapiRandomSource::GenerateBlock(uint8_t* buffer, size_t length) {
  // getrandom may return fewer bytes than asked (large requests, signals): keep asking.
  size_t done = 0;
  while (done < length) {
    ssize_t got = getrandom(buffer + done, length - done, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      error_ = win32::FromErrno(errno);
      return false;
    }
    done += static_cast<size_t>(got);
  }
  return true;
}

IRandomSource* VGetProcessRandomSource() {
  static VCapiRandomSource* source = new VCapiRandomSource();
  return source;
}

void VReportRandomFailure(IRandomSource* source, VReportMessageParams& error) {
  uint32_t code = win32::kGenFailure;
  if (auto* system = dynamic_cast<VCapiRandomSource*>(source); system && system->GetError())
    code = system->GetError();
  error.Reset(crypto_messages::kRandomFailed);
  error.AddInsert(VFormatCatalogueMessage(code, {}, true));
}
