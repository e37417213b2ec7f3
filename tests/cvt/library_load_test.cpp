// Runs in a process of its own, to see what loading the library built and
// nothing else.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "marlix/internal/test_hooks.h"
#include "marlix/marlix.h"

namespace marlix {
namespace {

TEST(library_load, BuildsTheSharedConvertersOnceAndTheInvalidEditLabel) {
    // The first static object, the invalid edit label, takes the converter
    // of type 0: the whole table (one dummy, 34 converters) is built then.
    EXPECT_EQ(label_cvt::howmany, 35);
    EXPECT_EQ(edit_label::howmany, 1);
    EXPECT_EQ(invalid_edit_label()->type(), LABEL_DUMMY);
    // Built before the natural-pitch table was filled, the invalid labels
    // carry pitch 0.
    EXPECT_EQ(invalid_edit_label()->get_pitch(), 0.0);
    EXPECT_EQ(get_invalid_label()->get_pitch(), 0.0);
    EXPECT_EQ(label::get_natural_pitch(LABEL_PAL), 0.04);
    EXPECT_EQ(zero_label_point().get_sample(), 0);

    // Concurrent callers all see the one table and build nothing more.
    std::atomic<bool> go{false};
    std::vector<label_cvt*> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] {
            while (!go) std::this_thread::yield();
            seen[i] = get_static_label_cvt(static_cast<label_t>(5 + i));
            get_label_type("pal_label");
        });
    go = true;
    for (auto& t : threads) t.join();
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], get_static_label_cvt(static_cast<label_t>(5 + i)));
    EXPECT_EQ(label_cvt::howmany, 35);
}

void* refuse(std::size_t) { return nullptr; }
void release(void*) {}

TEST(build_converter_slots, RefusedAllocationsLeaveNullSlots) {
    label_cvt* slots[converter_slot_count];
    Tov::Heap::Functions const previous = Tov::Heap::Selector::setHeapFunctions({refuse, release});
    build_converter_slots(slots);
    Tov::Heap::Selector::setHeapFunctions(previous);
    for (label_cvt* s : slots) EXPECT_EQ(s, nullptr);
    EXPECT_NE(make_label_cvt(LABEL_PAL), nullptr);  // the heap works again

    build_converter_slots(slots);
    for (int t = 0; t < converter_slot_count; ++t)
        EXPECT_TRUE(t < label_type_count
                        ? slots[t] != nullptr &&
                              slots[t]->type() ==
                                  get_static_label_cvt(static_cast<label_t>(t))->type()
                        : slots[t] == nullptr)
            << t;
    label_cvt* const dummy = slots[0];
    for (int t = 0; t < label_type_count; ++t)
        if (slots[t] != dummy) delete slots[t];
    delete dummy;
}

}  // namespace
}  // namespace marlix
