#include "marlix/cvt/label_cvt.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "marlix/base/special_samples.h"
#include "marlix/cvt/foot_label.h"
#include "marlix/cvt/ink_label.h"
#include "marlix/cvt/keycode_label.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/cvt/label_template.h"
#include "marlix/cvt/timecode_label.h"
#include "marlix/marlix.h"
#include "marlix/values/label_point.h"

namespace marlix {
namespace {

TEST(dummy_label, AnswersTheAbsenceOfALabelType) {
    dummy_label d;
    label_point point(12, &d);
    EXPECT_EQ(d.UserType(), UserLabelNone);
    EXPECT_FALSE(d.has_prefix());
    for (long32 s : {0, 1, -1, 93079, INVALID_SAMPLE, SAMPLE_PAST_END}) {
        EXPECT_STREQ(d.get_abs_string(&point, s), "???");
        EXPECT_STREQ(d.get_string(&point, s), "???");
        EXPECT_STREQ(d.get_perfs_string(&point, s), "??");
        EXPECT_STREQ(d.get_abs_perfs_string(&point, s), "");
        EXPECT_EQ(d.get_abs_smpte_string(&point, s) | d.get_smpte_string(&point, s), 0u);
        EXPECT_EQ(d.get_V2tc(s), invalid_position);
        EXPECT_EQ(d.get_sample(&point, s), INVALID_SAMPLE);
        EXPECT_EQ(d.normalise_sample_unit(s), s);
    }
    for (char const* text : {"", "00:00:01.00", "F35 1234", "???"}) {
        EXPECT_EQ(d.get_abs_sample(text), INVALID_SAMPLE);
        EXPECT_EQ(d.get_keep_sample(text), INVALID_SAMPLE);
        EXPECT_EQ(d.get_sample(&point, text), INVALID_SAMPLE);
        EXPECT_EQ(d.get_abs_sample_from_packed_string(text), INVALID_SAMPLE);
    }
    EXPECT_EQ(d.get_abs_sample(2.0), INVALID_SAMPLE);
    EXPECT_STREQ(d.get_prefix(&point), "");
    EXPECT_STREQ(d.get_dummy_prefix(), "");
}

TEST(variable_label, DecodesSmpteWordsByNibble) {
    std::tuple<int, long32, unsigned, long32, bool> const cases[] = {
        {25, 1, 0x01020304u, 93079, false},
        {25, 1, 0x01020344u, 93079, true},  // bit 6: drop flag, frames tens from bits 4-5
        {30, 1, 0x00000000u, 0, false},
        {24, 2, 0x00000101u, 50, false},  // one second and a frame at two samples each
        // Masks: hours tens 2 bits, minutes and seconds tens 3 bits.
        {25, 1, 0xf0000000u, 3 * 36000 * 25, false},
        {25, 1, 0x00f00000u, 7 * 600 * 25, false},
        {25, 1, 0x0000f000u, 7 * 10 * 25, false},
        {25, 1, 0x000000f0u, 30, true},
        // Every nibble at its largest: hours 3 and 15, minutes and seconds 7 and
        // 15, frames 3 and 15.
        {60, 1, 0xffffffffu, ((((45 * 6 + 7) * 10 + 15) * 6 + 7) * 10 + 15) * 60 + 45, true},
    };
    for (auto const& [modulus, unit, word_in, samples, drop] : cases) {
        dummy_label base;
        base.modulus      = modulus;
        base.unit_samples = unit;
        unsigned word     = word_in;
        bool read_drop    = !drop;
        EXPECT_EQ(base.get_samples_from_SMPTETc(word, read_drop), samples) << word_in;
        EXPECT_EQ(read_drop, drop) << word_in;
    }
}

// The answers a host's own converter inherits from the two base classes.
TEST(label_cvt, BaseClassesAnswerTheirDefaults) {
    struct fixed_shape : fixed_label {
        int get_modulus() override { return 1; }
        void build_template() override { label_cvt::build_template(); }
    } f;
    variable_label v(10, 1);
    label_point p(0, LABEL_PAL);
    unsigned word = 0x01020304u;
    bool drop     = true;
    EXPECT_TRUE(!f.has_prefix() && f.get_prefix_length() == 0 && f.get_count_length() == 0 &&
                f.samples_per_unit() == 1 && f.get_samples_from_SMPTETc(word, drop) == 0);
    EXPECT_TRUE(f.get_string(&p, 0) == nullptr && f.get_abs_string(&p, 5) == nullptr &&
                f.get_keep_string(&p, 5) == nullptr);
    EXPECT_TRUE(f.get_smpte_string(&p, 0) == 0 && f.get_abs_smpte_string(&p, 0) == 0 &&
                f.get_V2tc(3) == 0.0);
    for (long32 s :
         {f.get_sample(&p, 3), f.get_sample(&p, "1"), f.get_abs_sample_from_packed_string("1"),
          f.get_sample_span_from_packed_strings("1", "2"), f.get_abs_sample(1.0)})
        EXPECT_EQ(s, INVALID_SAMPLE);
    EXPECT_TRUE(f.get_abs_sample("1") == 0 && f.get_keep_sample("1") == 0 &&
                v.get_abs_sample("12") == 0);
    for (char const* text :
         {f.get_perfs_string(&p, 0), f.get_abs_perfs_string(&p, 0),
          static_cast<char const*>(f.get_prefix(&p)),
          static_cast<char const*>(f.get_dummy_prefix()), v.get_abs_string(&p, 3)})
        EXPECT_STREQ(text, "");
    for (label_cvt* c : {static_cast<label_cvt*>(&f), static_cast<label_cvt*>(&v)}) {
        c->templates[0].set("X");
        c->templates[1].set("Y");
        c->build_template();
        EXPECT_TRUE(c->templates[0].get_length() == 0 && c->templates[1].get_length() == 0);
    }
}

TEST(variable_label, RelativeFormsWorkFromThePoint) {
    pal_label pal;
    label_point point(90000, &pal);
    EXPECT_EQ(pal.get_sample(&point, 25), 90025);
    EXPECT_EQ(pal.get_sample(&point, " 01:00:01.00"), 25);
    // Relative parses do not test for failure: the invalid sample is offset too.
    EXPECT_EQ(pal.get_sample(&point, "junk"), INVALID_SAMPLE - 90000);
    label_point far(INT32_MAX, &pal);
    far.sample = INT32_MAX;
    EXPECT_EQ(pal.get_sample(&far, 1), INT32_MIN);  // 32-bit wrap, no overflow
}

// Constructor and setter arguments the library's own classes never use:
// each gives its text where it has one, and a defined answer
// (no overflow, no division by zero, no read past a table) everywhere.
TEST(label_cvt, ArgumentsAtTheExtremesGiveDefinedAnswers) {
    label_point point(0, LABEL_PAL);
    timecode_label tc120(120, TC_ALL_FIELDS);  // frame 119: tens digit 11 is '0' + 11
    EXPECT_STREQ(tc120.get_abs_string(&point, 119), " 00:00:00.;9");
    EXPECT_STREQ(tc120.get_abs_string(&point, 100), " 00:00:00.:0");
    // Frame tens fit their nibble up to frame 159; beyond, no word.
    timecode_label tc200(200, TC_ALL_FIELDS);
    EXPECT_EQ(tc200.get_abs_smpte_string(&point, 159), 0xf9u);  // tens 15, units 9
    EXPECT_EQ(tc200.get_abs_smpte_string(&point, 100), 0xa0u);
    EXPECT_EQ(tc200.get_abs_smpte_string(&point, 200 + 99), 0x199u);  // 00:00:01, frame 99
    EXPECT_EQ(tc200.get_abs_smpte_string(&point, 160), 0u);

    variable_label huge(INT32_MAX, INT32_MAX);
    unsigned word = 0x00000100;  // one second: INT32_MAX squared samples
    bool drop     = false;
    EXPECT_EQ(huge.get_samples_from_SMPTETc(word, drop), INVALID_SAMPLE);
    word = 0;
    EXPECT_EQ(huge.get_samples_from_SMPTETc(word, drop), 0);

    ink_35_label wide;
    wide.set_count_len(8);        // cycle 4 x 10^8 x 16: beyond 32 bits
    label_cvt& wide_base = wide;  // normalising is public through the interface
    EXPECT_EQ(wide_base.normalise_sample_unit(INT32_MAX), INT32_MAX);
    EXPECT_EQ(wide_base.normalise_sample_unit(-1), INVALID_SAMPLE);
    for (int m : {0, -5, INT32_MIN, INT32_MAX}) {
        ink_label ink(m, m);
        keycode_label kc(m, m);
        kc.set_count_len(4);
        for (long32 s : {0, -1, 12345, INT32_MIN, INT32_MAX}) {
            EXPECT_NE(ink.get_abs_string(&point, s), nullptr);
            static_cast<label_cvt&>(ink).normalise_sample_unit(s);
            static_cast<label_cvt&>(kc).normalise_sample_unit(s);
            EXPECT_NE(kc.get_abs_string(&point, s), nullptr);
        }
        EXPECT_NE(ink.get_abs_sample("AB121234+15"), 0);
    }

    std::tuple<int, char const*, char const*> const feet[] = {
        {0, "-.19", " 5.00"},    // wraps at 10 feet
        {1, "-9.19", " 15.00"},  // wraps at 100
        {-3, "-.19", " 5.00"},   // a negative count is 0
        {8, "-99999999.19", " 00000015.00"},
        {42, "-999999999.19", " 000000015.00"},  // more than 9 is 9
    };
    for (auto const& [digits, templ, fifteen_feet] : feet) {
        foot_35_label foot(digits);
        EXPECT_STREQ(foot.templates[0].text, templ) << digits;
        EXPECT_STREQ(foot.get_abs_string(&point, 15 * 64), fifteen_feet) << digits;
    }
}

// Every type's shared converter and a converter of its own agree; the
// types without a class get the dummy, whose name reads as type 0.
TEST(label_cvt_factory, SharedAndOwnConvertersOfEveryType) {
    int const before = label_cvt::howmany;
    for (int t = -3; t < label_type_count + 60; ++t) {
        auto const type   = static_cast<label_t>(t);
        label_cvt* shared = get_static_label_cvt(type);
        label_cvt_ptr own = make_label_cvt(type);
        ASSERT_NE(own, nullptr);
        bool const known     = t >= 0 && t < label_type_count;
        bool const own_class = known && label_type_class_name(type) == std::string(own->type_str());
        EXPECT_EQ(own->type(), own_class ? type : LABEL_DUMMY) << t;
        EXPECT_TRUE(known || shared == nullptr) << t;  // the slots past the catalogue stay empty
        if (!known) continue;
        ASSERT_NE(shared, nullptr) << t;
        EXPECT_TRUE(shared != own.get() && shared->type() == own->type() &&
                    std::string(shared->type_str()) == own->type_str())
            << t;
        EXPECT_EQ(get_label_type(shared->type_str()), own_class && t != LABEL_DUMMY ? t : 0) << t;
        EXPECT_TRUE(!own_class || shared->UserType() == label_type_family(type)) << t;
    }
    EXPECT_EQ(label_cvt::howmany, before);  // the shared ones were built once, before
    for (char const* name : {"PAL_LABEL", "timecode_label", "prefix_label", "variable_label", ""})
        EXPECT_EQ(get_label_type(name), 0) << name;
    EXPECT_EQ(get_label_type(nullptr), 0);
    label_cvt* raw = make_any_label_cvt(LABEL_PAL);
    EXPECT_EQ(label_cvt::howmany, before + 1);
    delete raw;  // through label_cvt*: the destructor is virtual
    EXPECT_EQ(label_cvt::howmany, before);
}

TEST(label_template, SetCutsAt23AndDerivesTheThreeTexts) {
    std::tuple<char const*, char const*, char const*, char const*, char const*> const cases[] = {
        {"", "", "", "", ""},
        {"~~ ??+9#a:Z", "~~ ??+9#a:Z", "~~ ????#?:?", "~~ >>>>#>:>", "~~ <<<<#<:<"},
        {"123456789012345678901234567890", "12345678901234567890123", "???????????????????????",
         ">>>>>>>>>>>>>>>>>>>>>>>", "<<<<<<<<<<<<<<<<<<<<<<<"},
    };
    for (auto const& [src, text, invalid, past, before] : cases) {
        SCOPED_TRACE(src);
        label_template t(src);
        EXPECT_STREQ(t.text, text);
        EXPECT_STREQ(t.invalid_text, invalid);
        EXPECT_STREQ(t.past_end_text, past);
        EXPECT_STREQ(t.before_start_text, before);
        EXPECT_EQ(t.get_length(), static_cast<int>(std::string(text).size()));
        EXPECT_STREQ(static_cast<char const*>(t), text);
    }
    label_template null_src(nullptr);
    EXPECT_EQ(null_src.get_length(), 0);
}

TEST(label_template, ValidCharFollowsTheCharacterLanguage) {
    label_template const tc("-29.59.59.29");
    label_template const prefix("?~ A-Z9");
    // clang-format off
    std::tuple<label_template const*, char, int, int> const cases[] = {
        {&tc, '2', 1, 1}, {&tc, '3', 1, 0}, {&tc, '0', 1, 1}, {&tc, '/', 1, 0}, {&tc, '6', 4, 0},
        {&tc, '5', 4, 1}, {&tc, '9', 11, 1}, {&tc, ' ', 0, 1}, {&tc, '+', 0, 1}, {&tc, '-', 0, 1},
        {&tc, '1', 0, 0}, {&tc, '5', 3, 0}, {&tc, '.', 3, 0}, {&tc, '1', 12, 0}, {&tc, '1', -1, 0},
        {&prefix, ' ', 0, 0}, {&prefix, '!', 0, 1}, {&prefix, '\x7f', 0, 1},
        {&prefix, static_cast<char>(0x80), 0, 0},  // codes compare as signed 8-bit values
        {&prefix, 'A', 1, 0}, {&prefix, '1', 2, 0}, {&prefix, 'A', 3, 1}, {&prefix, 'B', 3, 0},
        {&prefix, 'Q', 5, 1}, {&prefix, 'a', 5, 0}, {&prefix, '@', 5, 0}, {&prefix, '9', 6, 1},
    };
    // clang-format on
    for (auto const& [t, c, i, ok] : cases)
        EXPECT_EQ(t->valid_char(c, i), ok)
            << std::string(t->text) + " '" + c + "' at " + std::to_string(i);
}

TEST(label_template, PositionKinds) {
    label_template const tc("-29.59.59.29"), kinds("~+#.: ?-A"), empty("");
    EXPECT_TRUE(tc.at_separator(3) == 1 && tc.at_separator(12) == 1 && !tc.at_separator(0) &&
                !tc.at_separator(1) && empty.at_separator(0));
    EXPECT_TRUE(tc.get_char(12) == '?' && tc.get_char(-1) == '?' && tc.get_char(2) == '9' &&
                empty.get_char(0) == '?');
    for (int i = 0; i < 9; ++i) EXPECT_EQ(kinds.at_separator(i), i < 5 ? 1 : 0) << i;
    EXPECT_TRUE(kinds.read_only_char(0) && !kinds.read_only_char(1) && !kinds.read_only_char(40));
    for (char c = 1; c < 127; ++c) EXPECT_EQ(kinds.valid_char(c, 0) + empty.valid_char(c, 0), 0);
    EXPECT_STREQ(tc.get_invalid_string(5), "???.??.??.??");  // any other sample
    EXPECT_STREQ(tc.past_end_text, ">>>.>>.>>.>>");
}

}  // namespace
}  // namespace marlix
