#include "marlix/front/keep_string.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "marlix/cvt/label_cvt_factory.h"

namespace {

using namespace marlix;
using front::reason;

std::string const pal = "LABEL_REV:1 pal_label  10:00:00.00 250 0.0400000000 1";

// Stored keep strings read as the library reads them, the fields' own
// slack included; what a copy adds after the last field, and a start that
// is no label, are refused by both readers.
TEST(read_keep_string, RefusesTextAfterTheLastFieldAndStartsThatAreNoLabel) {
    for (auto const& [keep, why] : {
             std::pair{pal, reason::none},
             {"LABEL_REV:1 pal_label  10:00:00.00 250 0.04", reason::none},  // fields left off
             {"LABEL_REV:1 pal_label  10:00:00.00 -250", reason::none},
             {pal + " MediumRollId 21,2", reason::none},
             {"LABEL_REV:1 ntsc_drop_label 01:00:00:00 1 1 1", reason::none},
             {"LABEL_REV:1 keycode_35_label ku2290121234+00 16 0.17 0", reason::none},
             {pal + " x", reason::text_after_keep_string},
             {pal + "x", reason::text_after_keep_string},
             {pal + "\t1", reason::text_after_keep_string},
             {"LABEL_REV:1 pal_label  10:00:00.00 250 0.04x", reason::text_after_keep_string},
             {pal + " MediumRollId 21,2 0", reason::text_after_keep_string},
             {pal + " MediumRollId 21,2x", reason::text_after_keep_string},
             {pal + " 21,2", reason::text_after_keep_string},
             {pal + " MediumRollId", reason::not_a_keep_string},
             {pal + " MediumRollId ,2", reason::text_after_keep_string},
             {"LABEL_REV:1 pal_label  10:00:00.00 -", reason::text_after_keep_string},
             {"LABEL_REV:2 pal_label  10:00:00.00 250 0.04 1", reason::none},
             {"LABEL_REV:1 pal_label  10:00:00.00 250 0x1.47ae147ae147bp-5 1", reason::none},
             {"LABEL_REV:1 pal_label  10:00:00.00 250 0,04 1", reason::text_after_keep_string},
             {"LABEL_REV:1 pal_label 99:99:99.99 250 0.04 1", reason::keep_start_not_label},
             {"LABEL_REV:1 pal_label 10:00:00.25 250 0.04 1", reason::keep_start_not_label},
             {"LABEL_REV:1 pal_label 10:00:00.0 250 0.04 1", reason::keep_start_not_label},
             {"LABEL_REV:1 ntsc_drop_label 01:01:00;00 1 1 1", reason::keep_start_not_label},
             {"LABEL_REV:1 keycode_35_label KU2290121234+16 1 1 1", reason::keep_start_not_label},
             {"LABEL_REV:3 pal_label 0 1 1 1", reason::not_a_keep_string},
             {"LABEL_REV:1 keycode_label 0 1 1 1", reason::not_a_keep_string},
             {"LABEL_REV:1 dummy_label 0 1 1 1", reason::not_a_keep_string},
             {pal.substr(0, 12) + '\0' + pal.substr(12), reason::not_a_keep_string},
             {"", reason::not_a_keep_string},
         }) {
        auto const plain = front::read_keep_string(keep);
        auto const edit  = front::read_edit_keep_string(keep);
        EXPECT_TRUE(plain.why == why && edit.why == why && (plain.value != nullptr) == plain.ok() &&
                    (edit.value != nullptr) == edit.ok())
            << keep;
    }
}

TEST(keep_string_of, RefusesWhatItsKeepStringWouldNotCarryBack) {
    struct {
        label_t type;
        char const* prefix;
        long32 start, length;
        reason why;
    } const cases[] = {
        {LABEL_KEYCODE_35, "KU229012", 78976, 640, reason::none},
        {LABEL_KEYCODE_35, "KU229012", 78976, 641, reason::length_not_whole_frames},
        {LABEL_KEYCODE_35, "KU229012", 78976, -64, reason::negative_length},
        {LABEL_KEYCODE_35, "KU229012", 78977, 64, reason::start_not_on_frame},
        {LABEL_KEYCODE_353, "KU229012", 78977, 6, reason::none},  // the label names its perforation
        {LABEL_KEYCODE_353, "KU229012", 78977, 7, reason::length_not_whole_frames},
        {LABEL_KEYCODE_35, nullptr, 78976, 64, reason::prefix_needed},
        {LABEL_KEYCODE_35, "KU22", 78976, 64, reason::prefix_needed},
        {LABEL_KEYCODE_35, "KU 22901", 78976, 64, reason::prefix_not_kept},
        {LABEL_KEYCODE_35, "KU\n22901", 78976, 64, reason::prefix_not_kept},  // one line of fields
        {LABEL_PAL, nullptr, -25, 25, reason::none},
        {LABEL_PAL, nullptr, 0, 0, reason::none},
        {LABEL_FOOT_35, nullptr, 1 << 30, 64, reason::keep_string_not_kept},  // past 9999 feet
        {LABEL_KEYCODE, nullptr, 0, 1, reason::no_converter},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.start);
        label l(c.type);
        if (c.prefix != nullptr) l.set_prefix(c.prefix);
        l.set_start(c.start);
        l.set_length(c.length);
        EXPECT_EQ(front::keep_string_of(l).why, c.why) << c.type;
        EXPECT_EQ(front::keep_string_of(edit_label(l, MediumRollIdent())).why, c.why) << c.type;
    }
}

// What the writer gives, the readers take back to the same label: every
// type with a converter, starts on and off a frame, a bounded label of the
// default length and an edit label on a medium roll.
TEST(keep_string_of, EveryTypesKeepStringsReadBack) {
    for (int t = 0; t < label_type_count; ++t) {
        auto const type = static_cast<label_t>(t);
        if (type == LABEL_DUMMY || !has_own_converter(type)) continue;
        long32 const u = get_static_label_cvt(type)->samples_per_unit();
        for (long32 start : {0, 1, 2 * u, 1000 * u + 1, 7000 * u}) {
            SCOPED_TRACE(start);
            label l(type);
            l.set_prefix("KU229012AB12");
            l.set_start(start);
            l.set_length(front::default_kept_length(type));
            l.set_bounded(1);
            auto const kept = front::keep_string_of(l);
            if (!kept) {
                EXPECT_TRUE(kept.why == reason::start_not_on_frame && start % u != 0) << t;
                continue;
            }
            auto const back = front::read_keep_string(kept.value);
            ASSERT_TRUE(back) << kept.value;
            EXPECT_EQ(front::keep_string_of(*back.value).value, kept.value);
            edit_label const e(l, MediumRollIdent(MediumRoll30p, MediumRoll1stGen));
            auto const edit = front::read_edit_keep_string(front::keep_string_of(e).value);
            ASSERT_TRUE(edit) << t;
            EXPECT_TRUE(edit.value->get_MediumRoll() == e.get_MediumRoll() &&
                        edit.value->get_length() == l.get_length())
                << t;
        }
    }
}

}  // namespace
