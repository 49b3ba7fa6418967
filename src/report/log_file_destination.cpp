#include "report/log_file_destination.h"

#include "report/message_formatter.h"

void VFileDestination::HandleMessage(IReportMessageParams& message) {
  const char16_t* topic = GetTopicName(static_cast<uint32_t>(message.GetTopic()));
  if (!topic) return;
  // Daily files carry the date in their name.
  std::u16string time = VFormatLogTime(Now(), IsDaily() ? u"%H:%M:%S" : u"%Y-%m-%d %H:%M:%S");
  // The text on one line: a message's own line breaks would split the entry.
  WriteLine(VFormatString(u"%1,%2,%3", {time, topic, message.GetTextOneLineTrimmed()}));
}
