// A failure or status message: catalogue id, insertion strings and topic. Operations that can
// fail fill one supplied by the caller, who decides whether to show, route or drop it.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/status.h"
#include "platform/unicode_string.h"
#include "platform/unknown.h"
#include "report/message_catalogue.h"

// Message id layout: bits 31-30 severity, bit 29 customer flag, bits 27-16 facility, 15-0 code.
constexpr bool VIsCustomerId(uint32_t id) { return (id & 0x20000000u) != 0; }
constexpr uint32_t VMessageFacility(uint32_t id) { return (id >> 16) & 0x0FFFu; }

class IReportMessageParams : public IUnknown {
 public:
  virtual void Reset(uint32_t id) = 0;
  virtual void Assign(const IReportMessageParams& other) = 0;
  virtual uint32_t GetMessageId() const = 0;
  virtual void SetMessageId(uint32_t id) = 0;
  virtual int32_t GetTopic() const = 0;
  virtual void SetTopic(int32_t topic) = 0;
  virtual uint64_t GetUserValue() const = 0;
  virtual void SetUserValue(uint64_t value) = 0;
  virtual void AddInsert(const char16_t* text) = 0;
  virtual void AddInsertNarrow(const char* text) = 0;
  virtual void AddInsertFormatted(const char16_t* format, uint32_t value) = 0;
  virtual void AddInsertFormatted64(const char16_t* format, uint64_t value) = 0;
  virtual const VMessageModule* GetModule() const = 0;
  virtual const VUnicodeString& GetText() = 0;
  virtual const VUnicodeString& GetTextTrimmed() = 0;
  virtual const VUnicodeString& GetTextOneLine() = 0;
  virtual const VUnicodeString& GetTextOneLineTrimmed() = 0;
  virtual VUnicodeString GetTextWithContext(uint32_t wrapperId) = 0;
  virtual size_t GetTextLength() = 0;
  virtual const VStringArray& GetInserts() const = 0;
};

class VReportMessageParams : public VUnknown<IReportMessageParams> {
 public:
  explicit VReportMessageParams(uint32_t id = 0, const VMessageModule* module = nullptr);
  VReportMessageParams(const VReportMessageParams& other);
  VReportMessageParams& operator=(const VReportMessageParams& other);
  ~VReportMessageParams() override = default;

  void Reset(uint32_t id) override;
  void Assign(const IReportMessageParams& other) override;
  uint32_t GetMessageId() const override { return id_; }
  void SetMessageId(uint32_t id) override;
  int32_t GetTopic() const override { return topic_; }
  void SetTopic(int32_t topic) override { topic_ = topic; }
  uint64_t GetUserValue() const override { return userValue_; }
  void SetUserValue(uint64_t value) override { userValue_ = value; }
  void AddInsert(const char16_t* text) override;
  void AddInsertNarrow(const char* text) override;
  void AddInsertFormatted(const char16_t* format, uint32_t value) override;
  void AddInsertFormatted64(const char16_t* format, uint64_t value) override;
  const VMessageModule* GetModule() const override { return module_; }
  const VUnicodeString& GetText() override;
  const VUnicodeString& GetTextTrimmed() override;
  const VUnicodeString& GetTextOneLine() override;
  const VUnicodeString& GetTextOneLineTrimmed() override;
  VUnicodeString GetTextWithContext(uint32_t wrapperId) override;
  size_t GetTextLength() override { return GetText().size(); }
  const VStringArray& GetInserts() const override { return inserts_; }

  // Conveniences for the common cases.
  void AddInsert(const VUnicodeString& text) { AddInsert(text.c_str()); }
  void SetContext(const VUnicodeString& text, int32_t number);
  // Sets a Win32 error code (no inserts).
  void SetError(uint32_t win32Code) { Reset(win32Code); }
  // Takes a status from below the message layer: its message with inserts when it has one, else
  // its Win32 code; success clears the message.
  void SetStatus(const VStatus& status);
  bool IsError() const { return id_ != 0; }
  void SetModule(const VMessageModule* module);

 private:
  enum class Form { None, Full, OneLine };
  void Invalidate() { form_ = Form::None; }
  const VUnicodeString& Format(Form form);

  int32_t topic_ = -1;
  VStringArray inserts_;
  uint32_t id_ = 0;
  const VMessageModule* module_ = nullptr;
  VUnicodeString text_;
  Form form_ = Form::None;
  std::optional<VUnicodeString> contextText_;
  int32_t contextNumber_ = 0;
  uint64_t userValue_ = 0;
};

// Formats `id` with `inserts` as the message machinery does, without an object (hosts, tests).
VUnicodeString VFormatCatalogueMessage(uint32_t id, const VStringArray& inserts,
                                       bool oneLine = false);
