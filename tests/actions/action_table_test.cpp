// The action table read in-process: every row agrees with itself (types, editor fields, the
// words its combo offers), and each action's handler accepts exactly the words the editor
// offers for it, through the plug-in.
#include "actions/action_table.h"
#include <gtest/gtest.h>
#include <set>
#include "browser_fixture.h"

using namespace browsertest;

TEST(ActionTable, RowsAgreeWithThemselves) {
  std::set<int32_t> ids;
  for (const TActionRow& row : ActionTable()) {
    SCOPED_TRACE(row.Name);
    if (row.Id == 0) {
      EXPECT_EQ(row.Types, std::vector<uint8_t>{ptHeader});
      EXPECT_EQ(row.Count, 0);
      EXPECT_EQ(row.Invoke, nullptr);
      EXPECT_EQ(row.EditorTitle, nullptr);
      continue;
    }
    EXPECT_TRUE(ids.insert(row.Id).second) << "id registered twice";
    EXPECT_EQ(row.Types.size(), static_cast<size_t>(row.Count));
    EXPECT_NE(row.Invoke, nullptr);
    EXPECT_EQ(FindAction(row.Id), &row);
    EXPECT_EQ(ActionId(row.Name), row.Id);
    if (!row.EditorTitle) {
      EXPECT_TRUE(row.Fields.empty());
      continue;
    }
    ASSERT_EQ(row.Fields.size(), static_cast<size_t>(row.Count));
    // An action on a browser names its Rectangle first, with the object picker.
    EXPECT_EQ(row.Types[0], ptObject);
    EXPECT_EQ(row.Fields[0].Kind, fkObject);
    for (size_t i = 0; i < row.Fields.size(); ++i) {
      const TFieldSpec& field = row.Fields[i];
      ASSERT_NE(field.Caption, nullptr) << i;
      if (field.Kind != fkCombo) continue;
      // The editor offers exactly the words the action accepts.
      EXPECT_EQ(field.Options.Words, row.AcceptedWords.Words) << i;
      EXPECT_EQ(field.Options.Count, row.AcceptedWords.Count) << i;
      EXPECT_GT(field.Options.Count, 0u) << i;
    }
  }
  EXPECT_EQ(ids, (std::set<int32_t>{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                    14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}));
}

TEST(ActionTable, LooksUpActionsOnly) {
  EXPECT_EQ(FindAction(0), nullptr);
  EXPECT_EQ(FindAction(26), nullptr);
  EXPECT_EQ(ActionId("Served Web App"), 0);
  EXPECT_EQ(FindAction(-1), nullptr);
  EXPECT_EQ(ActionId("Initiation"), 0);      // a group header is no action
  EXPECT_EQ(ActionId("zkTamrelcreate"), 0);  // names are exact
  EXPECT_EQ(ActionId("tamrelGetZoom"), 15);
}

namespace {
// The actions with a word parameter: its index, and the other parameters it is given.
struct WordCase {
  const char* action;
  size_t wordIndex;
  std::vector<std::wstring> params;  // the word goes in at wordIndex
};

class AcceptedWords : public BrowserTest, public ::testing::WithParamInterface<WordCase> {};
}  // namespace

TEST_P(AcceptedWords, EveryOfferedWordIsAcceptedAndOthersAreRefused) {
  const WordCase& c = GetParam();
  const TActionRow* row = FindAction(ActionId(c.action));
  ASSERT_NE(row, nullptr);
  ASSERT_GT(row->AcceptedWords.Count, 0u);
  ASSERT_NO_FATAL_FAILURE(ReadyHost());

  for (const wchar_t* word : row->AcceptedWords) {
    std::vector<std::wstring> params = c.params;
    params[c.wordIndex] = word;
    host->variables.erase("[LastError]");
    EXPECT_EQ(host->ExecW(row->Id, params), 1) << testhost::Utf8(word);
    EXPECT_FALSE(host->HasVar("[LastError]")) << testhost::Utf8(word) << ": " << LastError();
  }
  std::vector<std::wstring> params = c.params;
  params[c.wordIndex] = L"NoSuchWord";
  EXPECT_EQ(host->ExecW(row->Id, params), 0);
  EXPECT_TRUE(host->HasVar("[LastError]"));
}

INSTANTIATE_TEST_SUITE_P(ActionTable, AcceptedWords,
                         ::testing::Values(WordCase{"zkTamrelOnEvent", 1, {L"Rect1", L"", L"[Event]", L""}},
                                           WordCase{"zkTamrelGetInfo", 1, {L"Rect1", L"", L"[Info]"}},
                                           WordCase{"zkTamrelControl", 1, {L"Rect1", L""}}),
                         [](const ::testing::TestParamInfo<WordCase>& info) { return std::string(info.param.action); });
