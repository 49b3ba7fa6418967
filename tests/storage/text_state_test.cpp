// Window and view states kept as short texts of numbers: their forms, round trips, unreadable
// stored texts, and the ways a text reaches them.
#include <gtest/gtest.h>

#include "ini_folder.h"
#include "config/parts/explorer_frame_state.h"
#include "config/parts/list_view_state.h"
#include "storage/values/setting_text.h"
#include "config/parts/tab_state.h"

namespace {

template <class Fields>
bool RoundTrips(const char16_t* text, const char16_t* formatted = nullptr) {
  Fields state;
  if (!Fields::Parse(text, state)) return false;
  VUnicodeString again = state.Format();
  EXPECT_EQ(again, VUnicodeString(formatted ? formatted : text));
  Fields second;
  EXPECT_TRUE(Fields::Parse(again, second));
  EXPECT_EQ(second, state);
  return true;
}

TEST(ListViewState, HeaderAndColumns) {
  VListViewStateFields state;
  ASSERT_TRUE(VListViewStateFields::Parse(u"1,2,4294967295,-4,5,10,1,100,11,0,-1", state));
  EXPECT_EQ(state.number1, 1);
  EXPECT_EQ(state.number3, 4294967295u);
  EXPECT_EQ(state.number4, -4);
  ASSERT_EQ(state.columns.size(), 2u);
  EXPECT_EQ(state.columns[0].first, 10);
  EXPECT_EQ(state.columns[0].flag, 1);
  EXPECT_EQ(state.columns[0].last, 100);
  EXPECT_EQ(state.columns[1].last, -1);
  EXPECT_TRUE(RoundTrips<VListViewStateFields>(u"1,2,4294967295,-4,5,10,1,100,11,0,-1"));
  EXPECT_TRUE(RoundTrips<VListViewStateFields>(u"0,0,0,0,0"));
  EXPECT_TRUE(RoundTrips<VListViewStateFields>(u"1, 2,-1,3,4", u"1,2,4294967295,3,4"));
  EXPECT_TRUE(RoundTrips<VListViewStateFields>(u"1,2,3,4,5,1,255,2"));
  for (const char16_t* text :
       {u"", u"1,2,3,4", u"1,2,3,4,5,", u"1,2,3,4,5,6", u"1,2,3,4,5,6,7", u"1,2,3,4,5,6,256,8",
        u"1,2,3,4,5,6,-1,8", u"1,2,3,4,5 ", u"x,2,3,4,5", u"1;2;3;4;5", u"2147483648,0,0,0,0",
        u"0,0,4294967296,0,0"}) {
    EXPECT_FALSE(VListViewStateFields::Parse(text, state)) << vtext::ToUtf8(text);
  }
}

TEST(ExplorerFrameState, ThreeNumbersTheFirstAFlag) {
  VExplorerFrameStateFields state;
  ASSERT_TRUE(VExplorerFrameStateFields::Parse(u"7,-1,200", state));
  EXPECT_TRUE(state.flag);
  EXPECT_EQ(state.number2, -1);
  EXPECT_EQ(state.number3, 200);
  EXPECT_EQ(state.Format(), u"1,-1,200");
  EXPECT_TRUE(RoundTrips<VExplorerFrameStateFields>(u"0,1000,200"));
  for (const char16_t* text : {u"", u"1,2", u"1,2,3,4", u"1,2,3;", u"a,b,c", u"1,,3"})
    EXPECT_FALSE(VExplorerFrameStateFields::Parse(text, state)) << vtext::ToUtf8(text);
}

TEST(TabState, ThreeNumbersThenAList) {
  VTabStateFields state;
  ASSERT_TRUE(VTabStateFields::Parse(u"1,1,0;", state));
  EXPECT_TRUE(state.items.empty());
  ASSERT_TRUE(VTabStateFields::Parse(u"1,1,0;0,3,-2", state));
  EXPECT_EQ(state.items, (std::vector<int32_t>{0, 3, -2}));
  EXPECT_TRUE(RoundTrips<VTabStateFields>(u"1,1,0;"));
  EXPECT_TRUE(RoundTrips<VTabStateFields>(u"1,1,0;0"));
  EXPECT_TRUE(RoundTrips<VTabStateFields>(u"5,6,7;1,2,3"));
  EXPECT_TRUE(RoundTrips<VTabStateFields>(u"1,1,0", u"1,1,0;"));  // the older form: no list
  for (const char16_t* text : {u"", u"1,1", u"1,1,0;,", u"1,1,0;1,", u"1,1,0;;", u"1,1,0,1"})
    EXPECT_FALSE(VTabStateFields::Parse(text, state)) << vtext::ToUtf8(text);
}

TEST(TextStateSetting, StateChangesAreSavedAsText) {
  EXPECT_EQ(VProfileListViewState().GetText(), u"0,0,0,0,0");  // the start of a row without default
  IniFolder folder;
  folder.WriteLines("Test", "S:\"Local ListView State\"=1,0,3,0,1,0,1,120\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileListViewState list;
    list.SetName(u"Local ListView State");
    EXPECT_TRUE(list.Load(&key));
    VListViewStateFields state = list.GetState();
    ASSERT_EQ(state.columns.size(), 1u);
    state.columns.push_back({1, 0, 80});
    list.SetState(state);
    EXPECT_TRUE(list.IsModified());
    EXPECT_TRUE(list.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "S:\"Local ListView State\"=1,0,3,0,1,0,1,120,1,0,80\r\n");
}

TEST(TextStateSetting, UnreadableStoredTextIsAbsentAndReplacedByTheDefault) {
  IniFolder folder;
  folder.WriteLines("Test", "S:\"Tab State\"=garbage\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileTabState tab;
    tab.SetName(u"Tab State");
    ASSERT_TRUE(tab.SetText(u"1,1,0;0"));
    EXPECT_FALSE(tab.Load(&key));
    EXPECT_EQ(tab.GetText(), u"1,1,0;0");
    EXPECT_TRUE(tab.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "S:\"Tab State\"=1,1,0;0\r\n");
}

TEST(TextStateSetting, LooseStoredTextIsKeptUntilReformed) {
  IniFolder folder;
  folder.WriteLines("Test", "S:\"Frame\"=5, 10, 20\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileExplorerFrameState frame;
    frame.SetName(u"Frame");
    EXPECT_TRUE(frame.Load(&key));
    EXPECT_TRUE(frame.GetState().flag);
    EXPECT_TRUE(frame.Save(key, false));  // unchanged: not written
    frame.Reform();
    EXPECT_TRUE(frame.IsModified());
    EXPECT_TRUE(frame.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "S:\"Frame\"=1,10,20\r\n");
}

TEST(TextStateSetting, EveryWayInChecksTheForm) {
  VReportMessageParams error;
  VProfileExplorerFrameState frame;
  frame.SetName(u"Frame");
  EXPECT_FALSE(frame.SetText(u"1,2"));
  EXPECT_TRUE(frame.SetFromText(u"1,2,3", error));
  EXPECT_FALSE(frame.SetFromText(u"1,2", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingForm);
  EXPECT_EQ(error.GetInserts()[0], u"Frame");
  EXPECT_EQ(error.GetInserts()[1], u"1,2");
  EXPECT_EQ(frame.GetText(), u"1,2,3");

  EXPECT_TRUE(frame.LoadFromText(u"0,4,5", nullptr, error));
  EXPECT_EQ(frame.GetText(), u"0,4,5");
  EXPECT_FALSE(frame.IsModified());
  EXPECT_FALSE(frame.LoadFromText(u"nope", nullptr, error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionFailed);
  EXPECT_EQ(frame.GetText(), u"0,4,5");
  EXPECT_FALSE(frame.IsModified());

  EXPECT_TRUE(frame.FromVariant(VVariant::String(u"1,1,1"), error));
  EXPECT_FALSE(frame.FromVariant(VVariant::String(u"1,1"), error));
  EXPECT_FALSE(frame.FromVariant(VVariant::Integer(VT_I4, 1), error));
  EXPECT_EQ(frame.GetText(), u"1,1,1");
  VVariant v;
  ASSERT_TRUE(frame.ToVariant(v, error));
  EXPECT_EQ(v.text, u"1,1,1");

  VProfileString plain(u"Plain", u"9,9,9");
  frame.CopyValue(plain);
  EXPECT_EQ(frame.GetText(), u"9,9,9");
  plain = VUnicodeString(u"not a frame");
  frame.CopyValue(plain);
  EXPECT_EQ(frame.GetText(), u"9,9,9");
  VProfileExplorerFrameState other;
  ASSERT_TRUE(other.SetText(u"0,0,7"));
  frame.CopyValue(other);
  EXPECT_EQ(frame.GetText(), u"0,0,7");
  frame.Revert();
  EXPECT_EQ(frame.GetText(), u"0,4,5");
}

}  // namespace
