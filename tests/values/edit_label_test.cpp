#include "marlix/values/edit_label.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/host/host_services.h"
#include "tests/support/captured_messages.h"

namespace marlix {
namespace {

MediumRollIdent id(int m, int g) {
    return MediumRollIdent(static_cast<MediumRollMedium>(m), static_cast<MediumRollGeneration>(g));
}

// The timecode pitch of each type on each medium, written out as a table
// of its own: film 24 a second; 30 fps timecode at 30 on sound and the
// integer 30/60 media, else 29.97; 60 fps likewise; 24 fps at 23.976 on
// the M media; 25 fps at 50 on 50p.
double expected_pitch(label_t t, int m) {
    bool const film = m == 2, audio = m == 4;
    switch (t) {
        case LABEL_NTSC:
        case LABEL_NTSC_DROP:
            if (film) return 1.0 / 24;
            if (audio || m == 21 || m == 23 || m == 26 || m == 34 || m == 36 || m == 39)
                return 1.0 / 30;
            return 0.03336666666666666;
        case LABEL_TC_60:
            if (film) return 1.0 / 24;
            if (audio || m == 26 || m == 39) return 1.0 / 60;
            return 0.01668333333333333;
        case LABEL_PAL: return film ? 1.0 / 24 : (m == 25 || m == 38) ? 0.02 : 0.04;
        case LABEL_TC_48: return film ? 1.0 / 24 : 1.0 / 48;
        case LABEL_TC_50: return film ? 1.0 / 24 : 0.02;
        case LABEL_TC_24:
            return (m == 16 || m == 18 || m == 29 || m == 31) ? 0.04170833333333333 : 1.0 / 24;
        default: return label::get_natural_pitch(t);
    }
}

TEST(edit_label, FixupPitchForEveryTimecodeTypeOnEveryMedium) {
    for (label_t t : {LABEL_PAL, LABEL_NTSC, LABEL_NTSC_DROP, LABEL_TC_24, LABEL_TC_48, LABEL_TC_50,
                      LABEL_TC_60, LABEL_KEYCODE_35, LABEL_FOOT_16}) {
        for (int m = 0; m <= 40; ++m) {
            edit_label const e(t, id(m, 2));
            EXPECT_TRUE(e.get_pitch() == expected_pitch(t, m) && !e.get_dirty())
                << t << " on " << m;
        }
    }
}

TEST(edit_label, DirtyFlagForEverySetter) {
    edit_label e(LABEL_NTSC, id(3, 2));
    // name, change, whether it sets the dirty flag
    // clang-format off
    std::tuple<char const*, void (*)(edit_label&), bool> const setters[] = {
        {"set_length(long)", [](edit_label& x) { x.set_length(5); }, true},
        {"set_length(double)", [](edit_label& x) { x.set_length(0.5); }, true},
        {"set_pitch", [](edit_label& x) { x.set_pitch(0.1); }, true},
        {"set_start(long)", [](edit_label& x) { x.set_start(7); }, true},
        {"set_start(double)", [](edit_label& x) { x.set_start(1.0); }, true},
        {"set_start(text)", [](edit_label& x) { x.set_start(" 00:00:01.00"); }, true},
        {"set_start(point)", [](edit_label& x) { label_point p(3, LABEL_NTSC); x.set_start(p); },
        true}, {"set_type(keycode)", [](edit_label& x) { x.set_type(LABEL_KEYCODE_35); }, false},
        {"set_type(pal)", [](edit_label& x) { x.set_type(LABEL_PAL); }, true},
        {"set_MediumRoll(same)", [](edit_label& x) { x.set_MediumRoll(x.get_MediumRoll()); },
        false}, {"set_MediumRoll(other)", [](edit_label& x) { x.set_MediumRoll(id(21, 2)); }, true},
        {"set_dumpable", [](edit_label& x) { x.set_dumpable(0); }, false}};
    // clang-format on
    for (auto const& [name, change, dirties] : setters) {
        edit_label x(e);
        x.set_dirty(false);
        change(x);
        EXPECT_EQ(x.get_dirty(), dirties) << name;
    }
    e.set_MediumRoll(id(21, 2));
    edit_label copy(e);  // keeps the pitch as it was, and is not dirty
    EXPECT_TRUE(e.get_pitch() == 1.0 / 30 && copy.get_pitch() == 1.0 / 30 && !copy.get_dirty());
}

TEST(edit_label, FixAudioLabelPitchByBranch) {
    Tov::ScopedProject restore;
    // clang-format off
    std::tuple<label_t, int, int, int, int, double> const cases[] = {
        {LABEL_PAL, 2, 7, 19, 1, 0.04}, {LABEL_PAL, 2, 3, 19, 1, ((1.0 / 25) * 25) / 24},
        {LABEL_PAL, 2, 3, 19, 3, 1.0 / 25}, {LABEL_NTSC, 2, 0, 22, 1, (1.0 / 30) * 1.001},
        {LABEL_NTSC, 2, 0, 21, 1, 1.0 / 30},
        {LABEL_TC_60, 2, 3, 40, 1, 1.0 / 60},  // no rule for playout: step 3's pitch stays
        {LABEL_TC_60, 2, 3, 13, 1, 1.0 / 60},  // nor for the generic 24p medium
        {LABEL_TC_60, 2, 0, 26, 1, 1.0 / 24},
        {LABEL_NTSC, 3, 7, 23, 1, 1.0 / 30},  // not first generation
        {LABEL_NTSC, 2, 3, 23, 1, ((1.0 / 30) * 30) / 24}, {LABEL_NTSC, 2, 3, 23, 4, 1.0 / 30},
        {LABEL_NTSC_DROP, 2, 7, 27, 1, 1.0 / 30}, {LABEL_TC_24, 2, 3, 16, 1, 1.0 / 24},
        {LABEL_PAL, 2, 1, 18, 1, (1.0 / 25) * 1.001},
    };
    // clang-format on
    for (auto const& [type, generation, transfer, picture, film_speed, pitch] : cases) {
        Tov::ProjectSettings s;
        s.in_camera_film_speed = static_cast<Tov::FrameRate>(film_speed);
        Tov::CurrentProject::apply(s);
        edit_label e(type, id(4, generation));
        e.set_dirty(false);
        e.fix_audio_label_pitch(static_cast<transfer_type>(transfer),
                                static_cast<MediumRollMedium>(picture));
        EXPECT_TRUE(e.get_pitch() == pitch && e.get_dirty())
            << type << " transfer " << transfer << " on " << picture << " shot at " << film_speed;
    }
    edit_label video(LABEL_NTSC, id(3, 2));
    video.set_dirty(false);
    video.fix_audio_label_pitch(transfer_frame_for_frame, MediumRoll30i);
    EXPECT_FALSE(video.get_dirty());  // not audio: nothing changes
}

TEST(edit_label, EquivalenceTests) {
    // Playout media of one family, generations 2 and 3.
    for (auto [a, b, same] :
         {std::tuple{34, 36, true}, std::tuple{34, 35, false}, std::tuple{38, 38, true},
          std::tuple{38, 39, false}, std::tuple{29, 31, true}, std::tuple{15, 15, false}}) {
        edit_label const x(LABEL_PAL, id(a, 2)), y(LABEL_PAL, id(b, 3));
        EXPECT_EQ(x.equivalentPlayoutLabelMediumRolls(&y), same) << a << " " << b;
    }
    int const previous[][5] = {{13, 3, 18, 3, 1}, {19, 3, 21, 3, 0}, {13, 2, 18, 3, 0},
                               {13, 3, 18, 2, 0}, {20, 1, 25, 4, 1}, {14, 3, 14, 3, 0}};
    for (auto const& [a, ga, b, gb, same] : previous) {
        edit_label const x(LABEL_PAL, id(a, ga)), y(LABEL_PAL, id(b, gb));
        EXPECT_EQ(x.equivalentPreviousGenerationMediumRolls(&y), same == 1) << a << " " << b;
    }
    EXPECT_FALSE(edit_label(LABEL_PAL, id(34, 2)).equivalentPlayoutLabelMediumRolls(nullptr));
    // Equal: the same label on the same medium roll, generation included.
    edit_label const a(LABEL_PAL, id(3, 2)), b(LABEL_PAL, id(3, 3)), c(LABEL_NTSC, id(3, 2));
    EXPECT_TRUE(a == edit_label(LABEL_PAL, id(3, 2)));
    EXPECT_FALSE(a != edit_label(LABEL_PAL, id(3, 2)));
    for (edit_label const* other : {&b, &c}) {
        EXPECT_FALSE(a == *other);
        EXPECT_TRUE(a != *other);
    }
}

TEST(edit_label, KeepStringsRoundTrip) {
    for (int t = 0; t < label_type_count; ++t) {
        for (int m : {1, 2, 3, 4, 10, 15, 20, 24, 25, 33, 40}) {
            SCOPED_TRACE(std::to_string(t) + " on " + std::to_string(m));
            edit_label e(static_cast<label_t>(t), id(m, 3));
            e.set_start(960);
            char shown[label_point::text_capacity];
            std::snprintf(shown, sizeof shown, "%s", e.start.get_string());
            e.set_prefix(shown);
            e.set_length(1200);
            char text[edit_label::keep_buffer_capacity];
            e.make_keep_string(text);
            edit_label const back(text);
            EXPECT_TRUE(back.get_MediumRoll() == id(m, 3));
            if (back.type() != LABEL_DUMMY) {
                EXPECT_TRUE(back == e) << text;
            }
            edit_label again(back);
            char second[edit_label::keep_buffer_capacity];
            EXPECT_STREQ(again.make_keep_string(second), text);
        }
    }
    edit_label e(LABEL_PAL, id(3, 2));
    EXPECT_EQ(e.make_keep_string(nullptr), e.keep_buffer);  // without a buffer, the label's own

    edit_label const plain("LABEL_REV:1 pal_label  10:00:00.00 250 0.0400000000 1");
    EXPECT_TRUE(plain.get_MediumRoll() == id(1, 1));
    edit_label const ink("LABEL_REV:1 ink_35_label AB121234+15 1 0.04 0 MediumRollId 2");
    EXPECT_TRUE(ink.get_MediumRoll() == id(10, 1));
    edit_label const bad("LABEL_REV:1 pal_label 0 1 0.04 0 MediumRollId x");
    EXPECT_TRUE(bad.get_MediumRoll() == id(0, 0));
    // Valid: a type, a medium and a generation, each of them given.
    EXPECT_TRUE(plain.is_valid() && ink.is_valid());
    EXPECT_FALSE(bad.is_valid());
    EXPECT_FALSE(edit_label(label(LABEL_PAL), id(3, 0)).is_valid());
    EXPECT_FALSE(edit_label(label(LABEL_NONE), id(3, 2)).is_valid());

    test_support::captured_messages c;
    edit_label const beta("LABEL_REV:2 pal_label  10:00:00.00 250 0.04 1 MediumRollId 3,2");
    edit_label const current("LABEL_REV:1 pal_label  10:00:00.00 250 0.04 1 MediumRollId 3,2");
    EXPECT_EQ(c.text, "WARNING: Beta labels. Sometime, run VUVUVIZA (call us if confused).\n");
    EXPECT_EQ(beta.get_pitch(), 0.04);  // read as written, not fixed up
}

TEST(edit_label, CountsLiveLabelsAndAssigns) {
    int const before = edit_label::howmany;
    {
        edit_label a;
        edit_label b(a);
        edit_label c("LABEL_REV:1 pal_label 0 1 0.04 0");
        EXPECT_EQ(edit_label::howmany, before + 3);
        EXPECT_TRUE(a.get_MediumRoll() == id(1, 1) && a.get_dumpable() == 1);
        c.set_dirty(true);
        c.set_dumpable(5);
        c = edit_label(LABEL_NTSC, id(21, 2));  // leaves dirty and dumpable
        EXPECT_TRUE(c.get_dirty() && c.get_dumpable() == 5 && c.get_MediumRoll() == id(21, 2) &&
                    c.get_pitch() == 1.0 / 30);
    }
    EXPECT_EQ(edit_label::howmany, before);
    EXPECT_FALSE(invalid_edit_label()->is_valid());
}

}  // namespace
}  // namespace marlix
