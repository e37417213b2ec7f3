#include "marlix/film/list_tables.h"

#include <gtest/gtest.h>

namespace marlix::film {
namespace {

TEST(list_tables, CsvQuotesOnlyWhatNeedsIt) {
    struct {
        char const* text;
        char const* field;
    } const cases[] = {
        {"12A-1", "12A-1"},
        {"", ""},
        {"a, b", "\"a, b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(csv_field(c.text), c.field);
    }
    list_table const rows = {
        {{"event", "1", true, false}, {"clip", "a,b", false, true}},
        {{"event", "2", true, false}, {"clip", "", false, true}},
    };
    EXPECT_EQ(table_csv(rows), "event,clip\n1,\"a,b\"\n2,\n");
    EXPECT_EQ(table_csv({}), "");
}

TEST(list_tables, TextAlignsAndLeavesOutEmptyColumns) {
    list_table const rows = {
        {{"event", "1", true, false},
         {"ink_in", "", false, true},
         {"key_in", "K1", false, true},
         {"notes", "", false, false}},
        {{"event", "1000", true, false},
         {"ink_in", "", false, true},
         {"key_in", "KU2290121003+00", false, true},
         {"notes", "M2", false, false}},
        {{"event", "7", true, false}},  // a short row prints blanks
    };
    EXPECT_EQ(table_text(rows),
              "EVENT  KEY IN           NOTES\n"
              "1      K1\n"
              "1000   KU2290121003+00  M2\n"
              "7\n");
    EXPECT_EQ(table_text({}), "");
}

}  // namespace
}  // namespace marlix::film
