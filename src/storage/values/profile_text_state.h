// String settings with a parsed form: window and view states that the host's views keep as a
// short text of numbers. The text is what is stored and compared; it always holds a valid form,
// so the parsed state can be taken from it at any time, and a new state is written into it at
// once. Stored text that does not parse counts as absent (the default stays and is written).
//
// `Fields` is a plain structure with
//   static constexpr const char* kKindName;      the name in listings
//   static constexpr const char16_t* kForm;      the form shown when a text is refused
//   static bool Parse(std::u16string_view, Fields&);
//   VUnicodeString Format() const;
#pragma once

#include <cstdint>
#include <string_view>

#include "storage/values/profile_value2.h"
#include "storage/values/setting_text.h"

namespace vscan {

// Reads a decimal number at `pos` as the C library's %d does (leading blanks, an optional sign,
// digits) and requires it within [min, max]; `pos` moves past it. False when there is none.
bool Number(std::u16string_view text, size_t& pos, int64_t min, int64_t max, int64_t& value);
// The same for %u: a negative number gives its 32-bit two's complement, as the C library's.
bool Unsigned(std::u16string_view text, size_t& pos, uint32_t& value);
bool Int(std::u16string_view text, size_t& pos, int32_t& value);
// Takes `c` at `pos` when it is there.
bool Char(std::u16string_view text, size_t& pos, char16_t c);

}  // namespace vscan

template <class Fields>
class VProfileTextState : public VProfileString {
 public:
  using State = Fields;

  // The zeroed state until the owner gives a default.
  VProfileTextState() {
    Current() = Fields().Format();
    saved = Current();
  }
  VProfileTextState(const VUnicodeString& valueName, const Fields& defaultState) {
    SetName(valueName);
    Current() = defaultState.Format();
    saved = Current();
  }

  static constexpr const char* KindName() { return Fields::kKindName; }

  Fields GetState() const {
    Fields state;
    Fields::Parse(Current(), state);
    return state;
  }
  void SetState(const Fields& state) { Current() = state.Format(); }
  const VUnicodeString& GetText() const { return Current(); }
  // Takes a text form; false (nothing changed) when it does not parse.
  bool SetText(std::u16string_view text) {
    Fields state;
    if (!Fields::Parse(text, state)) return false;
    Current() = state.Format();
    return true;
  }
  // Writes the text anew from its parsed form (a stored text may have been written loosely).
  void Reform() { SetState(GetState()); }

  bool Read(const VProfileKey& key) override {
    VUnicodeString text;
    if (!ReadValue(key, GetName(), &text)) return false;
    Fields state;
    if (!Fields::Parse(text, state)) return false;
    Current() = std::move(text);
    return true;
  }
  void CopyValue(const VProfileData& other) override {
    Fields state;
    auto* text = dynamic_cast<const VUnicodeString*>(&other);
    if (dynamic_cast<const VProfileSz*>(&other) && text && Fields::Parse(*text, state))
      Current() = *text;
  }
  bool LoadFromText(const VUnicodeString& text, IProfileTextConverter* converter,
                    VReportMessageParams& error) override {
    VUnicodeString before = Current();
    VUnicodeString beforeSaved = saved;
    bool beforePending = writePending;
    if (!VProfileString::LoadFromText(text, converter, error)) return false;
    if (Fields state; Fields::Parse(Current(), state)) return true;
    Current() = before;
    saved = beforeSaved;
    writePending = beforePending;
    error.Reset(kMsgConversionFailed);
    error.AddInsert(GetName());
    return false;
  }
  bool ValueFromVariant(const VVariant& in, VReportMessageParams& error) override {
    Fields state;
    if (in.vt != VT_BSTR || !Fields::Parse(in.text, state)) {
      error.Reset(kMsgConversionFailed);
      error.AddInsert(GetName());
      return false;
    }
    Current() = in.text;
    return true;
  }
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override {
    if (SetText(text)) return true;
    VSettingError(error, kMsgSettingForm, GetName(), &text, {VUnicodeString(Fields::kForm)});
    return false;
  }
};
