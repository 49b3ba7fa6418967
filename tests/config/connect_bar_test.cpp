// Connect bar suggestions searched on real dispatcher threads: merged requests, a text that
// changes during a search, the empty text, and the Default session.
#include <deque>
#include <functional>
#include <future>
#include <thread>

#include "config/database/connect_bar_auto_complete.h"
#include "session_tree.h"

namespace {

// Runs each procedure on a thread of its own, once opened; Finish waits for every one, those
// dispatched by procedures included.
class ThreadDispatcher : public IDeferredProcedureDispatcher {
 public:
  bool Dispatch(IDeferredProcedure* procedure, void* argument) override {
    std::lock_guard<std::mutex> lock(mutex_);
    threads_.emplace_back([=, gate = gate_] {
      gate.wait();
      procedure->Execute(argument);
    });
    return true;
  }
  void Open() {
    if (!opened_.exchange(true)) opener_.set_value();
  }
  void Finish() {
    for (size_t i = 0;; ++i) {
      std::unique_lock<std::mutex> lock(mutex_);
      if (i == threads_.size()) return;
      std::thread& thread = threads_[i];
      lock.unlock();
      if (thread.joinable()) thread.join();
    }
  }
  ~ThreadDispatcher() override {
    Open();
    Finish();
  }

 private:
  std::mutex mutex_;
  std::promise<void> opener_;
  std::shared_future<void> gate_ = opener_.get_future().share();
  std::deque<std::thread> threads_;
  std::atomic<bool> opened_{false};
};

// The item database, counting the folders read, and running `duringFirstRead` in the first read.
struct WatchedListing : ISessionListing {
  explicit WatchedListing(SessionDatabase& db) : db(db) {}
  bool ListSessions(const VUnicodeString& folder, VStringArray& names) override {
    if (reads++ == 0 && duringFirstRead) duringFirstRead();
    return db.ListSessions(folder, names);
  }
  bool ListFolders(const VUnicodeString& folder, VStringArray& names) override {
    return db.ListFolders(folder, names);
  }
  SessionDatabase& db;
  std::atomic<int> reads{0};
  std::function<void()> duringFirstRead;
};

using Delivery = std::pair<std::string, Strings>;

struct RecordingSink : VUnknown<IAutoCompleteDataSink> {
  void OnAutoCompleteResult(const VUnicodeString& text, const VStringArray& matches,
                            IAutoCompleteDataSource* source) override {
    deliveries.emplace_back(text.ToUtf8(), Names(matches));
    if (then) then(text, source);
  }
  std::vector<Delivery> deliveries;  // one search at a time runs for a sink
  std::function<void(const VUnicodeString&, IAutoCompleteDataSource*)> then;
};

class ConnectBar : public SessionTreeTest {
 protected:
  void SetUp() override {
    SessionTreeTest::SetUp();
    for (const char* path : {"Default", "abc-host", "lab-ab", "Lab\\Default", "Lab\\xABy",
                             "Lab\\Deep\\tab", "other"})
      Session(path);
    source_ = VRef<ConnectBarAutoCompleteDataSource>(
        new ConnectBarAutoCompleteDataSource(&dispatcher_, &listing_));
  }
  SessionDatabase db_;
  WatchedListing listing_{db_};
  ThreadDispatcher dispatcher_;
  VRef<ConnectBarAutoCompleteDataSource> source_;
  VRef<RecordingSink> sink_{new RecordingSink};
};

TEST_F(ConnectBar, TextsTypedBeforeTheSearchRunsGiveOneSearchAndAnEmptyTextReadsNothing) {
  VRef<RecordingSink> other(new RecordingSink);
  EXPECT_TRUE(source_->AutoComplete(u"ab", sink_.Get()));
  EXPECT_TRUE(source_->AutoComplete(u"", other.Get()));
  EXPECT_TRUE(source_->AutoComplete(u"aBc", sink_.Get()));
  source_.Reset();  // the searches keep the source alive
  dispatcher_.Open();
  dispatcher_.Finish();
  EXPECT_EQ(sink_->deliveries, (std::vector<Delivery>{{"aBc", {"abc-host"}}}));
  EXPECT_EQ(other->deliveries, (std::vector<Delivery>{{"", {}}}));
  EXPECT_EQ(listing_.reads, 3);  // one search: the top, Lab and Lab\Deep, once each
  EXPECT_EQ(sink_->GetReferenceCount(), 1);
  EXPECT_EQ(other->GetReferenceCount(), 1);
}

TEST_F(ConnectBar, ATextChangedDuringASearchIsSearchedAfterTheFirstIsDelivered) {
  listing_.duringFirstRead = [&] { EXPECT_TRUE(source_->AutoComplete(u"TAB", sink_.Get())); };
  // The sink may ask again while it is called back: no lock is held then.
  sink_->then = [&](const VUnicodeString& text, IAutoCompleteDataSource* source) {
    if (text == u"TAB") {
      EXPECT_TRUE(source->AutoComplete(u"default", sink_.Get()));
    }
  };
  dispatcher_.Open();
  EXPECT_TRUE(source_->AutoComplete(u"ab", sink_.Get()));
  dispatcher_.Finish();
  EXPECT_EQ(sink_->deliveries,
            (std::vector<Delivery>{{"ab", {"Lab\\Deep\\tab", "Lab\\xABy", "abc-host", "lab-ab"}},
                                   {"TAB", {"Lab\\Deep\\tab"}},
                                   {"default", {"Lab\\Default"}}}));  // not the top's Default
  EXPECT_EQ(sink_->GetReferenceCount(), 1);
}

}  // namespace
