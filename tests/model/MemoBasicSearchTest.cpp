// Finding, grepping and replacing a keyword in the parts of a node.
#include <gtest/gtest.h>

#include "model/MemoHolder.h"
#include "model/ModelTestSupport.h"
#include "text/SjisSamples.h"

namespace vrk {
namespace {

using modeltest::FixedServices;
using namespace sjis;

struct OneNode {
  FixedServices services;
  MemoHolder holder;
  MemoNode* node = nullptr;
  explicit OneNode(const std::string& name) {
    holder.addNode_(holder.createNode(), name);
    node = holder.nodeAt_(0);
  }
};

TEST(MemoBasicFindKeyword, PartsAndCase) {
  OneNode one("Title");
  one.node->aMemo = {"first", "second ABC"};
  one.node->aComment = StringList{"note"};
  one.node->aFields = {"Key=\"Value\""};
  MemoNode& n = *one.node;
  struct Case {
    const char* label;
    std::string keyword;
    bool ignore, fields, comment, memo, name, expected;
  } cases[] = {
      {"memo, exact", "ABC", false, false, false, true, false, true},
      {"memo, case differs", "abc", false, false, false, true, false, false},
      {"memo, ignore", "abc", true, false, false, true, false, true},
      {"only name chosen", "ABC", false, false, false, false, true, false},
      {"name", "itl", false, false, false, false, true, true},
      {"comment", "note", false, false, true, false, false, true},
      {"field key", "Key=", false, true, false, false, false, true},
      {"field value", "value", true, true, false, false, false, true},
      {"lines joined by CR LF", "first\r\nsecond", false, false, false, true, false, true},
      {"empty keyword", "", false, true, true, true, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(n.findKeyword_(c.keyword, c.ignore, c.fields, c.comment, c.memo, c.name), c.expected)
        << c.label;
  }
  n.aComment.reset();
  EXPECT_FALSE(n.findKeyword_("note", false, true, true, true, true));
}

TEST(MemoBasicGrepKeyword, NumbersHitsAndLines) {
  OneNode one("abc name");
  MemoNode& n = *one.node;
  n.aMemo = StringList(12, "x");
  n.aMemo[2] = "abc three";
  n.aMemo[11] = "ABC twelve";
  n.aComment = StringList{"c", "abc"};
  n.aFields = {"F=\"abc\""};
  StringList out = {"kept"};
  EXPECT_TRUE(n.grepKeyword_("abc", true, out, true, true, true, true));
  EXPECT_EQ(out, (StringList{"kept", "Name:abc name", "Memo:000001:      3: abc three",
                             "Memo:000002:     12: ABC twelve", "Comment:000001:      2: abc",
                             "Fields:000001:      1: F=\"abc\""}));
  out.clear();
  EXPECT_TRUE(n.grepKeyword_("abc", false, out, false, false, true, false));
  EXPECT_EQ(out, StringList{"Memo:000001:      3: abc three"});
  out.clear();
  EXPECT_FALSE(n.grepKeyword_("zzz", true, out, true, true, true, true));
  EXPECT_FALSE(n.grepKeyword_("", true, out, true, true, true, true));
  EXPECT_TRUE(out.empty());
}

TEST(MemoBasicReplaceKeyword, LinesNameAndLog) {
  OneNode one("a-name");
  one.holder.addNode_(one.holder.createNode(), "b-nbme");
  MemoNode& n = *one.node;
  n.aMemo = {"aaa", "xyz", "Aa"};
  n.aComment = StringList{"a"};
  n.aFields = {"a=\"1\""};
  StringList log;
  EXPECT_EQ(n.replaceKeyword_("a", "b", log, false, false, true, true, false), 3);
  EXPECT_EQ(n.aMemo, (StringList{"bbb", "xyz", "Ab"}));
  // The rename was made unique by the holder; the log keeps the name asked for.
  EXPECT_EQ(log, (StringList{"replace name b-nbme", "replace Memo 000001", "replace Memo 000003"}));
  EXPECT_NE(n.getName(), "b-nbme");
  EXPECT_TRUE(startsWith_(n.getName(), "b-nbme"));
  EXPECT_EQ(n.aComment, StringList{"a"});
  EXPECT_EQ(n.aFields, StringList{"a=\"1\""});

  log.clear();
  n.replaceKeyword_("A", "", log, true, true, true, false, true);
  EXPECT_EQ(n.aMemo, (StringList{"bbb", "xyz", "b"}));
  EXPECT_EQ(n.aComment, StringList{""});
  EXPECT_EQ(n.aFields, StringList{"=\"1\""});  // the key may change
  EXPECT_EQ(log,
            (StringList{"replace Memo 000003", "replace Comment 000001", "replace Field 000001"}));
  log.clear();
  EXPECT_EQ(n.replaceKeyword_("", "x", log, true, true, true, true, false), 0);
  EXPECT_TRUE(log.empty());
}

TEST(MemoBasicReplaceKeyword, ShiftJisTrailBytesNeverMatch) {
  OneNode one("n");
  MemoNode& n = *one.node;
  n.aMemo = {kSo + "\\", kA + "A", kDi + "a"};
  StringList log;
  EXPECT_EQ(n.replaceKeyword_("\\", "/", log, false, false, true, false, false), 1);
  EXPECT_EQ(n.aMemo[0], kSo + "/");  // ソ keeps its 83 5C
  n.replaceKeyword_("a", "z", log, false, false, true, false, true);
  EXPECT_EQ(n.aMemo[1], kA + "z");
  EXPECT_EQ(n.aMemo[2], kDi + "z");
  n.replaceKeyword_(kA, "x", log, false, false, true, false, true);
  EXPECT_EQ(n.aMemo[2], kDi + "z");  // ア never matches ヂ
  EXPECT_EQ(n.aMemo[1], "xz");
}

TEST(MemoHolderFieldLists, NamesAndValuesOncePerCase) {
  FixedServices services;
  MemoHolder holder;
  const StringList fields[] = {{" Date =\"1\"", "nokey", "Kind=\"A\""},
                               {"date=\"2\"", "kind=\"a\""},
                               {"Kind=\"\"", "Other=\"b\""}};
  for (int i = 0; i < 3; ++i) {
    holder.addNode_(holder.createNode(), "n" + std::to_string(i));
    holder.nodeAt_(i)->aFields = fields[i];
  }
  StringList names = {"other"};
  EXPECT_EQ(holder.getFieldNames_(names), 3);
  EXPECT_EQ(names, (StringList{"other", "Date", "Kind"}));
  StringList values;
  EXPECT_EQ(holder.getFieldValues_("kind", values), 1);
  EXPECT_EQ(values, StringList{"A"});
}

}  // namespace
}  // namespace vrk
