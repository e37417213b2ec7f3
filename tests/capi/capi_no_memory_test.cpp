// The C interface when allocation fails: this program's operator new
// refuses every allocation once a budget is spent. Each call that
// allocates answers MARLIX_ERR_NO_MEMORY, rather than letting
// std::bad_alloc out, for every budget short of what it needs, and
// succeeds with enough. Leaks show under the sanitizer build.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

#include "marlix/marlix_c.h"

namespace {

long budget = -1;  // allocations left before operator new fails; -1 none

}  // namespace

void* operator new(std::size_t size) {
    if (budget == 0) throw std::bad_alloc();
    if (budget > 0) --budget;
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

marlix_status with_budget(long n, std::function<marlix_status()> const& call) {
    budget                     = n;
    marlix_status const status = call();
    budget                     = -1;
    return status;
}

TEST(capi_no_memory, AllocatingCallsAnswerNoMemoryUntilTheyCanAllocate) {
    marlix_set_messages_to_standard_output(0);
    marlix_label* label = nullptr;
    marlix_medium_id const id{2, 2};
    char const keep[] = "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1";
    char const edit_keep[] =
        "LABEL_REV:1 pal_label  01:00:00.00 100000000 0.0416666667 1 MediumRollId 2,2";
    int32_t film = 0, v30i = 0;
    ASSERT_EQ(marlix_medium_find("Film", &film), MARLIX_OK);
    ASSERT_EQ(marlix_medium_find("30i", &v30i), MARLIX_OK);
    double position = 0;
    struct row {
        char const* name;
        std::function<marlix_status()> call;
        marlix_status answer;  // with enough memory
    } const rows[] = {
        {"label_new", [&] { return marlix_label_new(5, &label); }, MARLIX_OK},
        {"edit_label_new", [&] { return marlix_edit_label_new(5, id, &label); }, MARLIX_OK},
        {"label_read", [&] { return marlix_label_read(keep, &label); }, MARLIX_OK},
        {"edit_label_read", [&] { return marlix_edit_label_read(edit_keep, &label); }, MARLIX_OK},
        // The failed translation's message allocates.
        {"xlate", [&] { return marlix_xlate(1e300, film, v30i, nullptr, nullptr, &position); },
         MARLIX_ERR_NO_TRANSLATION},
    };
    for (row const& r : rows) {
        long n = 0;
        for (; n < 64; ++n) {
            label                      = nullptr;
            marlix_status const status = with_budget(n, r.call);
            if (status == r.answer) break;
            EXPECT_EQ(status, MARLIX_ERR_NO_MEMORY) << r.name << " with " << n << " allocations";
            EXPECT_EQ(label, nullptr) << r.name;
        }
        EXPECT_GT(n, 0) << r.name << " allocates nothing: the test proves nothing";
        EXPECT_LT(n, 64) << r.name << " never succeeds";
        marlix_label_free(label);
    }
}

}  // namespace
