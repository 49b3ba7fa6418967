#include "report/report_message_params.h"

#include <vector>

#include "report/message_formatter.h"

namespace {

std::vector<VFormatArg> ToArgs(const VStringArray& inserts) {
  std::vector<VFormatArg> args;
  args.reserve(inserts.GetSize());
  for (const auto& insert : inserts) args.push_back(VFormatArg::Text(insert));
  return args;
}

// Finds the text of `id`: system texts for ids without the customer flag, then the object's own
// module, then the host's catalogue.
bool FindPattern(uint32_t id, const VMessageModule* module, std::u16string& pattern) {
  VLanguage language = VGetMessageLanguage();
  if (!VIsCustomerId(id) && VGetSystemMessageModule()->Find(id, language, pattern)) return true;
  if (module && module->Find(id, language, pattern)) return true;
  const VMessageModule* host = VGetHostMessageModule();
  return host && host != module && host->Find(id, language, pattern);
}

std::u16string FormatId(uint32_t id, const VMessageModule* module, const VStringArray& inserts,
                        int width) {
  std::u16string pattern;
  std::u16string out;
  if (FindPattern(id, module, pattern)) {
    std::vector<VFormatArg> args = ToArgs(inserts);
    if (VFormatMessageText(pattern, &args, width, out)) return out;
    // The inserts do not fit the text: show the text with its markers rather than nothing.
    if (VFormatMessageText(pattern, nullptr, width, out)) return out;
  }
  std::vector<VFormatArg> args = {VFormatArg::Number(id)};
  VFormatMessageText(u"Could not retrieve the error text for error code 0x%1!08x!.\r\n", &args,
                     width, out);
  return out;
}

}  // namespace

VReportMessageParams::VReportMessageParams(uint32_t id, const VMessageModule* module)
    : id_(id), module_(module ? module : VGetLibraryMessageModule()) {}

VReportMessageParams::VReportMessageParams(const VReportMessageParams& other)
    : VUnknown<IReportMessageParams>() {
  Assign(other);
}

VReportMessageParams& VReportMessageParams::operator=(const VReportMessageParams& other) {
  if (this != &other) Assign(other);
  return *this;
}

void VReportMessageParams::SetStatus(const VStatus& status) {
  Reset(status.MessageId() ? status.MessageId() : status.Code());
  for (const std::string& insert : status.Inserts()) AddInsert(vtext::FromUtf8(insert).c_str());
}

void VReportMessageParams::Reset(uint32_t id) {
  id_ = id;
  inserts_.RemoveAll();
  topic_ = -1;
  module_ = VGetLibraryMessageModule();
  contextText_.reset();
  contextNumber_ = 0;
  userValue_ = 0;
  text_.clear();
  Invalidate();
}

void VReportMessageParams::Assign(const IReportMessageParams& other) {
  const auto* same = dynamic_cast<const VReportMessageParams*>(&other);
  if (!same) return;
  id_ = same->id_;
  module_ = same->module_;
  topic_ = same->topic_;
  inserts_ = same->inserts_;
  contextText_ = same->contextText_;
  contextNumber_ = same->contextNumber_;
  userValue_ = same->userValue_;
  text_.clear();
  Invalidate();
}

void VReportMessageParams::SetMessageId(uint32_t id) {
  id_ = id;
  Invalidate();
}

void VReportMessageParams::SetModule(const VMessageModule* module) {
  module_ = module ? module : VGetLibraryMessageModule();
  Invalidate();
}

void VReportMessageParams::AddInsert(const char16_t* text) {
  inserts_.Add(VUnicodeString(text));
  Invalidate();
}

void VReportMessageParams::AddInsertNarrow(const char* text) {
  inserts_.Add(VUnicodeString(vtext::FromNarrow(text ? text : "")));
  Invalidate();
}

void VReportMessageParams::AddInsertFormatted(const char16_t* format, uint32_t value) {
  std::vector<VFormatArg> args = {VFormatArg::Number(value)};
  std::u16string out;
  if (!VFormatMessageText(format ? format : u"%1!u!", &args, 0, out)) out = u"?";
  inserts_.Add(VUnicodeString(std::move(out)));
  Invalidate();
}

void VReportMessageParams::AddInsertFormatted64(const char16_t* format, uint64_t value) {
  std::vector<VFormatArg> args = {VFormatArg::Number64(value)};
  std::u16string out;
  if (!VFormatMessageText(format ? format : u"%1!I64u!", &args, 0, out)) out = u"?";
  inserts_.Add(VUnicodeString(std::move(out)));
  Invalidate();
}

void VReportMessageParams::SetContext(const VUnicodeString& text, int32_t number) {
  contextText_ = text;
  contextNumber_ = number;
}

const VUnicodeString& VReportMessageParams::Format(Form form) {
  if (form_ != form) {
    text_ = FormatId(id_, module_, inserts_, form == Form::OneLine ? kMaxWidthOneLine : 0);
    form_ = form;
  }
  return text_;
}

const VUnicodeString& VReportMessageParams::GetText() { return Format(Form::Full); }

const VUnicodeString& VReportMessageParams::GetTextTrimmed() {
  Format(Form::Full);
  if (text_.size() >= 2 && text_.compare(text_.size() - 2, 2, u"\r\n") == 0) text_.resize(text_.size() - 2);
  return text_;
}

const VUnicodeString& VReportMessageParams::GetTextOneLine() { return Format(Form::OneLine); }

const VUnicodeString& VReportMessageParams::GetTextOneLineTrimmed() {
  Format(Form::OneLine);
  if (!text_.empty() && text_.back() == u' ') text_.pop_back();
  return text_;
}

VUnicodeString VReportMessageParams::GetTextWithContext(uint32_t wrapperId) {
  if (!contextText_) return GetText();
  VReportMessageParams wrapper(wrapperId, module_);
  wrapper.AddInsert(GetText());
  wrapper.AddInsert(*contextText_);
  wrapper.AddInsertFormatted(u"%1!d!", static_cast<uint32_t>(contextNumber_));
  return wrapper.GetText();
}

VUnicodeString VFormatCatalogueMessage(uint32_t id, const VStringArray& inserts, bool oneLine) {
  return VUnicodeString(
      FormatId(id, VGetLibraryMessageModule(), inserts, oneLine ? kMaxWidthOneLine : 0));
}
