// Runs in a process of its own: the shared table must not have been built
// before these tests start.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "marlix/marlix.h"

namespace marlix {
namespace {

void* refuse(std::size_t) { return nullptr; }
void release(void*) {}

TEST(get_static_label_cvt, ConcurrentFirstUseBuildsOneTable) {
    int const before = label_cvt::howmany;
    std::atomic<bool> go{false};
    std::vector<label_cvt*> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] {
            while (!go) std::this_thread::yield();
            seen[i] = get_static_label_cvt(LABEL_PAL);
        });
    go = true;
    for (auto& t : threads) t.join();
    for (label_cvt* c : seen) EXPECT_EQ(c, seen[0]);
    EXPECT_EQ(label_cvt::howmany, before + 35);  // one dummy and 34 converters
    get_label_type("pal_label");
    EXPECT_EQ(label_cvt::howmany, before + 35);

    // With the heap refusing, the factory gives null and no converter is built.
    Tov::Heap::Functions const previous = Tov::Heap::Selector::setHeapFunctions({refuse, release});
    EXPECT_EQ(make_any_label_cvt(LABEL_PAL), nullptr);
    EXPECT_EQ(label_cvt::howmany, before + 35);
    Tov::Heap::Selector::setHeapFunctions(previous);
}

}  // namespace
}  // namespace marlix
