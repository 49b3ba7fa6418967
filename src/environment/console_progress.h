// The progress window of the passes over the saved secrets, for console hosts: on a terminal, the
// message and a bar redrawn in place on standard error; elsewhere (a pipe, a log) nothing but the
// list of items that failed, so that scripts' output stays clean.
#pragma once

#include <cstdio>
#include <string>

#include "crypto/secret_pass_progress.h"

class VConsoleSecretPassProgress : public VWaitingSecretPassProgress {
 public:
  // Draws on `stream` (a terminal or not); `listFailures` false leaves the list to the caller.
  explicit VConsoleSecretPassProgress(FILE* stream = stderr, bool listFailures = true);

  void ShowFailures(const std::vector<VSecretPassFailure>& failures) override;
  bool IsDrawing() const { return terminal_; }

  // The bar for `done` of `total` in `width` cells ("[#####     ] 5/10").
  static std::string Bar(size_t done, size_t total, size_t width);

 protected:
  void OnShow(VReportMessageParams& message) override;
  void OnAdvance(size_t done, size_t total, const VUnicodeString& item) override;
  void OnClose() override;

 private:
  FILE* stream_;
  bool listFailures_;
  bool terminal_;
  bool drawn_ = false;
};
