// Runs in a process of its own: the first fill meets a heap that refuses
// every allocation.

#include <gtest/gtest.h>

#include "marlix/marlix.h"

namespace marlix {
namespace {

void* refuse(std::size_t) { return nullptr; }
void release(void*) {}

TEST(get_static_label_cvt, FailedAllocationsLeaveNullSlots) {
    Tov::Heap::Functions const previous = Tov::Heap::Selector::setHeapFunctions({refuse, release});
    for (int t = 0; t < label_type_count; ++t)
        EXPECT_EQ(get_static_label_cvt(static_cast<label_t>(t)), nullptr) << t;
    EXPECT_EQ(get_label_type("pal_label"), 0);
    label_point point;  // still has a converter of its own
    EXPECT_EQ(point.cvt()->type(), LABEL_DUMMY);
    EXPECT_STREQ(point.get_string(), "???");
    Tov::Heap::Selector::setHeapFunctions(previous);
    EXPECT_EQ(get_static_label_cvt(LABEL_PAL), nullptr);  // the table is built once
}

}  // namespace
}  // namespace marlix
