// CSV text as memo nodes: what counts as importable, the field keys and
// values, and records longer or shorter than the header.
#include "model/CsvImport.h"

#include <gtest/gtest.h>

#include "model/MemoHolder.h"
#include "model/ModelTestSupport.h"
#include "model/TObjectParent.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

using modeltest::FixedServices;

TEST(CsvImport, WhatIsImportable) {
  EXPECT_TRUE(csvColumns_({}).empty());
  EXPECT_TRUE(csvColumns_({"title", "a,b"}).empty());        // two lines: no records
  EXPECT_TRUE(csvColumns_({"title", "  ", "1,2"}).empty());  // blank header
  EXPECT_EQ(csvColumns_({"title", " name , age ", "x"}), (StringList{"name", "age"}));
}

TEST(CsvImport, StoredValues) {
  struct Case {
    std::string value, stored;
  };
  for (const Case& c : std::vector<Case>{{" plain ", "\"plain\""},
                                         {"", "\"\""},
                                         {"   ", "\"\""},
                                         {"\"kept\"", "\"kept\""},
                                         {"\"open", "\"\"open\""},
                                         {"\"", "\"\"\""},
                                         {"mid\"dle", "\"mid\"dle\""}})
    EXPECT_EQ(csvFieldValue_(c.value), c.stored) << c.value;
  const StringList columns = {"name", " ", "", " a=b \"c\"<d>&e'f\tg "};
  EXPECT_EQ(csvFieldKey_(columns, 0), "name");
  EXPECT_EQ(csvFieldKey_(columns, 1), "02");
  EXPECT_EQ(csvFieldKey_(columns, 2), "03");
  EXPECT_EQ(csvFieldKey_(columns, 3), "a_b__c__d__e_f_g");
}

// Each row: the text, and the fields of each node made (a new node's own UID
// aside); no nodes when nothing is importable.
TEST(CsvImport, RecordsBecomeNodesWithFields) {
  struct Case {
    const char* what;
    StringList lines;
    std::vector<StringList> fields;
  };
  const Case cases[] = {
      {"two lines", {"# title", "a,b"}, {}},
      {"blank header", {"t", "", "a"}, {}},
      {"blank header of spaces", {"# title", "  ", "1,2"}, {}},
      // More values than columns: the extra one is ignored. Fewer: the
      // missing fields stay unset. An empty line still makes its node.
      {"extra, missing and quoted values",
       {"ignored title,x", "name,,note", "apple, 3 ,red,extra", "pear", "\"quoted\",,\"half", ""},
       {{"name=\"apple\"", "02=\"3\"", "note=\"red\""},
        {"name=\"pear\""},
        {"name=\"quoted\"", "02=\"\"", "note=\"\"half\""},
        {}}},
      {"empty column name", {"# t", "a,,c", "1,2,3"}, {{"a=\"1\"", "02=\"2\"", "c=\"3\""}}},
      {"quoted and empty values",
       {"# t", "k,v,w", "\"x y\",,z", " 7 ,8, 9"},
       {{"k=\"x y\"", "v=\"\"", "w=\"z\""}, {"k=\"7\"", "v=\"8\"", "w=\"9\""}}},
      {"extra and missing values",
       {"# t", "a,b", "1,2,3", "4"},
       {{"a=\"1\"", "b=\"2\""}, {"a=\"4\""}}},
      {"names that would break a field line",
       {"# t", "k=v,q\",<t>,a&b,my key", "1,2,3,4,5"},
       {{"k_v=\"1\"", "q_=\"2\"", "_t_=\"3\"", "a_b=\"4\"", "my_key=\"5\""}}},
  };
  FixedServices services;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TObjectParent list;
    auto made = std::make_unique<MemoHolder>(&list);
    MemoHolder& holder = *made;
    list.addChild_(std::move(made), "csv");
    EXPECT_EQ(importCsvRecords_(c.lines, holder), static_cast<int>(c.fields.size()));
    ASSERT_EQ(holder.countOfNodes(), static_cast<int>(c.fields.size()));
    for (int i = 0; i < holder.countOfNodes(); ++i) {
      StringList fields;
      for (const std::string& line : holder.nodeAt_(i)->aFields)
        if (!startsWith_(line, "UID=")) fields.push_back(line);
      EXPECT_EQ(fields, c.fields[static_cast<std::size_t>(i)]) << i;
    }
  }
}

}  // namespace
}  // namespace vrk
