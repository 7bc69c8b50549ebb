// CSV text as memo nodes: what counts as importable, the field keys and
// values, and records longer or shorter than the header.
#include "model/CsvImport.h"

#include <gtest/gtest.h>

#include "model/ModelTestSupport.h"
#include "model/MemoHolder.h"
#include "model/TObjectParent.h"

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

TEST(CsvImport, RecordsBecomeNodesWithFields) {
  FixedServices services;
  TObjectParent list;
  auto made = std::make_unique<MemoHolder>(&list);
  MemoHolder& holder = *made;
  list.addChild_(std::move(made), "csv");
  const StringList lines = {
      "ignored title,x", "name,,note", "apple, 3 ,red,extra", "pear", "\"quoted\",,\"half", ""};
  EXPECT_EQ(importCsvRecords_(lines, holder), 4);
  ASSERT_EQ(holder.countOfNodes(), 4);
  // The fields of a node other than the UID every new node gets.
  const auto fields = [&](int i) {
    MemoNode& node = *holder.nodeAt_(i);
    StringList out = node.aFields;
    std::erase(out, "UID=" + node.getField_("UID"));
    return out;
  };
  // More values than columns: the extra one is ignored; an empty column name
  // gives the position's number.
  EXPECT_EQ(fields(0), (StringList{"name=\"apple\"", "02=\"3\"", "note=\"red\""}));
  // Fewer values: the missing fields stay unset.
  EXPECT_EQ(fields(1), StringList{"name=\"pear\""});
  EXPECT_EQ(holder.nodeAt_(2)->getField_("name"), "\"quoted\"");
  EXPECT_EQ(holder.nodeAt_(2)->getField_("02"), "\"\"");
  EXPECT_EQ(unquote_(holder.nodeAt_(2)->getField_("note")), "\"half");
  EXPECT_TRUE(fields(3).empty());  // an empty line still makes its node

  EXPECT_EQ(importCsvRecords_({"t", "", "a"}, holder), 0);
  EXPECT_EQ(holder.countOfNodes(), 4);
}

}  // namespace
}  // namespace vrk
