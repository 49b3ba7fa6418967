// A multi-line text kept as a list of strings, one element per line (a key's strings cannot hold
// line breaks).
#pragma once

#include <string_view>

#include "storage/values/profile_value2.h"

class VProfileMultiLineString : public VProfile2<VStringArray, VProfileMultiSz> {
 public:
  using VProfile2::VProfile2;
  using VProfile2::operator=;

  static constexpr const char* KindName() { return "multi-line string"; }

  // Splits the text into lines. A line ends at LF, CR LF or a lone CR; every line is kept,
  // empty ones included, so a final line end gives a final empty line. An empty text is no
  // lines at all.
  void SetText(std::u16string_view text);
  // Joins the lines with CR LF between them (LF alone when asked), nothing after the last.
  VUnicodeString GetText(bool lineFeedOnly = false) const;

  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override;
};
