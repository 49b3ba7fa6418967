// Conversions between the library's UTF-16 strings and Qt's, and the text of a report message as
// a dialog shows it.
#pragma once

#include <QString>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

QString ToQString(std::u16string_view text);
VUnicodeString FromQString(const QString& text);
// The message's text (inserts filled in), without trailing line breaks.
QString MessageText(IReportMessageParams& message);
// The text of `id` in `module` (the user interface's catalogue when null) with `inserts`.
QString CatalogueText(uint32_t id, const VMessageModule* module = nullptr,
                      std::initializer_list<std::u16string_view> inserts = {});
