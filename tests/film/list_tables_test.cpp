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

// A piece of the change list says where it is by its key numbers, or,
// without them, by its source timecodes; by reel it takes the reel order.
TEST(list_tables, ChangeRowsNameTheirFilmOrTheirSource) {
    change_list changes;
    change_row keyed;
    keyed.event      = 1;
    keyed.key_in     = "KU2290121000+00";
    keyed.source_in  = smpte::timecode(90000, smpte::rate_25);
    keyed.source_out = smpte::timecode(90025, smpte::rate_25);
    change_row timed = keyed;
    timed.event      = 2;
    timed.key_in     = "";
    change_row black = timed;  // no film and no source
    black.event      = 3;
    black.source_in = black.source_out = smpte::timecode(0, smpte::rate_25);
    changes.rows                       = {keyed, timed, black};
    changes.reel_order                 = {1, 0, 2};
    auto const cell_of                 = [](table_row const& r, std::string const& name) {
        for (table_cell const& c : r)
            if (c.name == name) return c.text;
        return std::string("?");
    };
    list_table const by_record = change_table(changes, false);
    ASSERT_EQ(by_record.size(), 3u);
    EXPECT_EQ(cell_of(by_record[2], "source_in"), "");
    EXPECT_EQ(cell_of(by_record[0], "source_in"), "");
    EXPECT_EQ(cell_of(by_record[1], "source_in"), "01:00:00:00");
    EXPECT_EQ(cell_of(by_record[1], "source_out"), "01:00:01:00");
    list_table const by_reel = change_table(changes, true);
    ASSERT_EQ(by_reel.size(), 3u);
    EXPECT_EQ(cell_of(by_reel[0], "event"), "2");
    EXPECT_EQ(cell_of(by_reel[0], "order"), "reel");
    // An order that names no row (a list put together by hand) skips it.
    changes.rows.pop_back();
    changes.reel_order       = {2, 1};
    list_table const skipped = change_table(changes, true);
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(cell_of(skipped[0], "event"), "2");
}

// An optical's speed in frames a second, from tenths, signed.
TEST(list_tables, OpticalSpeedsInFramesASecond) {
    std::pair<std::int32_t, char const*> const speeds[] = {
        {0, "0.0"}, {240, "24.0"}, {125, "12.5"}, {-125, "-12.5"}, {-5, "-0.5"}};
    for (auto const& [tenths, text] : speeds) {
        film_lists lists;
        optical_row o;
        o.kind                = optical_kind::speed;
        o.speed_tenths        = tenths;
        lists.opticals        = {o};
        list_table const rows = optical_table(lists, false);
        ASSERT_FALSE(rows.empty());
        for (table_cell const& c : rows[0]) {
            if (c.name == "speed") {
                EXPECT_EQ(c.text, text) << tenths;
            }
        }
    }
}

}  // namespace
}  // namespace marlix::film
