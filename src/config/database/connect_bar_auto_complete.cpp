#include "config/database/connect_bar_auto_complete.h"

#include <algorithm>
#include <vector>

#include "config/database/session_database_instance.h"
#include "storage/model/key_path.h"

namespace {

std::u16string Lowered(std::u16string_view text) {
  std::u16string lowered(text);
  for (char16_t& c : lowered) c = vtext::FoldCase(c);
  return lowered;
}

// Folds `text` into `out`, reusing its buffer: a search folds every session name of the tree.
void LowerInto(std::u16string& out, std::u16string_view text) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    out[i] = c < 0x80 ? (c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c)
                      : vtext::FoldCase(c);
  }
}

VUnicodeString Joined(const VUnicodeString& folder, const VUnicodeString& name) {
  return VKeyPath::Join(folder, name);
}

}  // namespace

ConnectBarAutoCompleteDataSource::~ConnectBarAutoCompleteDataSource() {
  // Requests still open hold their sinks; they are let go with the source.
  for (auto& [sink, text] : pending_) sink->Release();
}

VStringArray ConnectBarAutoCompleteDataSource::Search(ISessionListing* sessions,
                                                      const VUnicodeString& text,
                                                      std::vector<SkippedFolder>* skipped) {
  VStringArray result;
  if (text.empty() || !sessions) return result;
  std::u16string wanted = Lowered(text);
  // Gathered, then sorted once: thousands of matches go into a tree node by node otherwise.
  std::vector<VUnicodeString> matches;
  std::u16string lowered;
  std::vector<SkippedFolder> unread =
      sessions->VisitAllSessions([&](const VUnicodeString& folder, const VUnicodeString& name) {
        // The template of new sessions is not a place to connect to.
        if (folder.empty() && name == u"Default") return;
        LowerInto(lowered, name);
        if (lowered.find(wanted) != std::u16string::npos) matches.push_back(Joined(folder, name));
      });
  if (skipped) *skipped = std::move(unread);
  // In the order of the strings themselves, each path once.
  std::sort(matches.begin(), matches.end(), [](const VUnicodeString& a, const VUnicodeString& b) {
    return static_cast<const std::u16string&>(a) < static_cast<const std::u16string&>(b);
  });
  matches.erase(std::unique(matches.begin(), matches.end(),
                            [](const VUnicodeString& a, const VUnicodeString& b) {
                              return static_cast<const std::u16string&>(a) ==
                                     static_cast<const std::u16string&>(b);
                            }),
                matches.end());
  for (auto& match : matches) result.Add(std::move(match));
  return result;
}

bool ConnectBarAutoCompleteDataSource::AutoComplete(const VUnicodeString& text,
                                                    IAutoCompleteDataSink* sink) {
  if (!sink) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto [entry, inserted] = pending_.try_emplace(sink, text);
    if (!inserted) {
      // A search is already on its way for this sink; it will pick up the newest text.
      entry->second = text;
      return true;
    }
    sink->AddRef();
  }
  // Dispatched without the lock: a dispatcher may run the search before it returns.
  return DispatchSearch(sink);
}

bool ConnectBarAutoCompleteDataSource::DispatchSearch(IAutoCompleteDataSink* sink) {
  // The host may let the source go before the dispatcher gets to it; the search holds it.
  AddRef();
  if (dispatcher_ && dispatcher_->Dispatch(this, sink)) return true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.erase(sink);
  }
  sink->Release();
  Release();
  return false;
}

void ConnectBarAutoCompleteDataSource::Execute(void* argument) {
  auto* sink = static_cast<IAutoCompleteDataSink*>(argument);
  VUnicodeString text;
  bool known = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto entry = pending_.find(sink);
    if (entry != pending_.end()) {
      text = entry->second;
      known = true;
    }
  }
  if (known) {
    ISessionListing* sessions = sessions_ ? sessions_ : GetSessionDatabase();
    VStringArray matches = Search(sessions, text);
    sink->OnAutoCompleteResult(text, matches, this);
    bool again = false;
    bool done = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      auto entry = pending_.find(sink);
      if (entry != pending_.end()) {
        // A newer text arrived during the search: it gets a search of its own.
        again = entry->second != text;
        if (!again) {
          pending_.erase(entry);
          done = true;
        }
      }
    }
    if (again) DispatchSearch(sink);
    if (done) sink->Release();
  }
  // The reference this run held; the source may go now.
  Release();
}
