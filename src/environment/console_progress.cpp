#include "environment/console_progress.h"

#include <unistd.h>

#include <string>

#include "platform/env.h"

namespace {
constexpr size_t kBarWidth = 30;
}  // namespace

VConsoleSecretPassProgress::VConsoleSecretPassProgress(FILE* stream, bool listFailures)
    : stream_(stream), listFailures_(listFailures), terminal_(vfs::Env::Default()->IsTerminal(fileno(stream))) {}

std::string VConsoleSecretPassProgress::Bar(size_t done, size_t total, size_t width) {
  size_t filled = total == 0 ? width : (done >= total ? width : done * width / total);
  std::string bar = "[" + std::string(filled, '#') + std::string(width - filled, ' ') + "] ";
  return bar + std::to_string(done) + "/" + std::to_string(total);
}

void VConsoleSecretPassProgress::OnShow(VReportMessageParams& message) {
  if (!terminal_) return;
  fprintf(stream_, "%s\n", message.GetTextOneLineTrimmed().ToUtf8().c_str());
  fflush(stream_);
}

void VConsoleSecretPassProgress::OnAdvance(size_t done, size_t total, const VUnicodeString&) {
  if (!terminal_) return;
  // "\r" and a clear to the end of the line redraw the bar in place.
  fprintf(stream_, "\r%s\x1b[K", Bar(done, total, kBarWidth).c_str());
  fflush(stream_);
  drawn_ = true;
}

void VConsoleSecretPassProgress::OnClose() {
  if (!terminal_ || !drawn_) return;
  fputc('\n', stream_);
  fflush(stream_);
  drawn_ = false;
}

void VConsoleSecretPassProgress::ShowFailures(const std::vector<VSecretPassFailure>& failures) {
  if (!listFailures_) return;
  for (const VSecretPassFailure& failure : failures) {
    VReportMessageParams reason = failure.reason;
    fprintf(stream_, "%s '%s': %s\n", failure.kind.ToUtf8().c_str(), failure.item.ToUtf8().c_str(),
            reason.GetTextOneLineTrimmed().ToUtf8().c_str());
  }
  fflush(stream_);
}
