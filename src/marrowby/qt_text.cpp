#include "marrowby/qt_text.h"

#include "marrowby/ui_messages.h"

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

VUnicodeString FromQString(const QString& text) {
  return VUnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

QString MessageText(IReportMessageParams& message) {
  // Catalogue texts end their lines with CR LF; Qt's labels break on LF alone.
  return ToQString(message.GetTextTrimmed()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString CatalogueText(uint32_t id, const VMessageModule* module,
                      std::initializer_list<std::u16string_view> inserts) {
  VReportMessageParams message(id, module ? module : VGetUiMessageModule());
  for (std::u16string_view insert : inserts) message.AddInsert(VUnicodeString(insert));
  return MessageText(message);
}
