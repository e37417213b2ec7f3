#include "marlix/cvt/label_cvt_factory.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "marlix/marlix.h"

namespace marlix {
namespace {

class every_label_type : public ::testing::TestWithParam<int> {};

TEST_P(every_label_type, SharedAndFactoryConvertersAgree) {
    auto const t      = static_cast<label_t>(GetParam());
    label_cvt* shared = get_static_label_cvt(t);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(get_static_label_cvt(t), shared);
    label_cvt_ptr own = make_label_cvt(t);
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own.get(), shared);
    EXPECT_EQ(own->type(), shared->type());
    EXPECT_STREQ(own->type_str(), shared->type_str());
    bool const own_class = label_type_class_name(t) == std::string(shared->type_str());
    EXPECT_EQ(shared->type(), own_class ? t : LABEL_DUMMY);
    // The shared dummy stands first in slot 0, so its name reads as type 0.
    EXPECT_EQ(get_label_type(shared->type_str()), own_class && t != LABEL_DUMMY ? t : LABEL_NONE);
    if (own_class) {
        EXPECT_EQ(shared->UserType(), label_type_family(t));
    }
}
INSTANTIATE_TEST_SUITE_P(label_types, every_label_type, ::testing::Range(0, label_type_count));

TEST(get_static_label_cvt, SlotsOutsideTheTypesAreEmpty) {
    for (int t : {42, 45, 49, 50, -1, 1000})
        EXPECT_EQ(get_static_label_cvt(static_cast<label_t>(t)), nullptr) << t;
    EXPECT_EQ(get_static_label_cvt(LABEL_TIMECODE), get_static_label_cvt(LABEL_INK));
    EXPECT_EQ(get_static_label_cvt(LABEL_INK)->type(), LABEL_DUMMY);
    int const before = label_cvt::howmany;
    get_label_type("pal_label");
    get_static_label_cvt(LABEL_PAL);
    EXPECT_EQ(label_cvt::howmany, before);  // built once
}

TEST(get_label_type, ClassNamesOnly) {
    std::pair<char const*, int> const cases[] = {
        {"pal_label", 5},          {"PAL_LABEL", 0},
        {"dummy_label", 0},        {"timecode_label", 0},
        {"keycode_label", 0},      {"foot_label", 0},
        {"ink_label", 0},          {"variable_label", 0},
        {"prefix_label", 0},       {"keycode_6515_120_label", 41},
        {"film_frames_label", 30}, {"", 0}};
    for (auto const& [name, type] : cases) EXPECT_EQ(get_label_type(name), type) << name;
    EXPECT_EQ(get_label_type(nullptr), 0);
}

TEST(make_any_label_cvt, DummyForTypesWithoutAClass) {
    for (int t : {0, 1, 4, 9, 13, 17, 42, 99, -3}) {
        label_cvt_ptr c = make_label_cvt(static_cast<label_t>(t));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->type(), LABEL_DUMMY) << t;
    }
    label_cvt* raw   = make_any_label_cvt(LABEL_PAL);
    label_cvt* other = make_any_label_cvt(LABEL_PAL);
    EXPECT_NE(raw, other);
    delete raw;  // through label_cvt*: the destructor is virtual
    delete other;
}

}  // namespace
}  // namespace marlix
