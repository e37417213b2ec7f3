#include "marlix/entry/library_entry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "marlix/host/host_services.h"
#include "marlix/internal/test_hooks.h"
#include "tests/support/captured_messages.h"

namespace marlix {
namespace {

std::string run_probe(char const* mode, char const* library = MARLIX_LIBRARY) {
    std::string const command =
        std::string(MARLIX_FLAVOUR_PROBE) + " " + library + " " + mode + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    if (pipe != nullptr) pclose(pipe);
    return out;
}

int count_of(std::string const& text, std::string const& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(library_entry, LoadLeavesTheReleaseMarkerAndReportsOnlyADebugComponent) {
    std::string const report =
        "TovAssert - Assertion Failed\nAssertion failed:\n\nNew line 203:\n\n( \"Build "
        "inconsistency - debug build components are linking with release build components!\", 0 "
        ")\n\nPress OK to debug or Cancel to ignore.\n";
    for (char const* mode : {"plain", "debug"}) {
        std::string const out = run_probe(mode);
        EXPECT_EQ(count_of(out, "release_marker_before=0"), 1) << out;
        EXPECT_EQ(count_of(out, "release_marker_after=1\n"), 1) << out;
        EXPECT_EQ(count_of(out, "version=10.0.V.9.0\n"), 1) << out;
        EXPECT_EQ(count_of(out, "Assertion"), mode[0] == 'p' ? 0 : 2) << out;
        EXPECT_EQ(count_of(out, report), mode[0] == 'p' ? 0 : 1) << out;
    }
    // The shipped library holds none of the unit tests' hooks; the test
    // library, linked from the same objects and the hooks, exports all six.
    EXPECT_EQ(count_of(run_probe("plain"), "exported_hooks=0"), 1);
    EXPECT_EQ(count_of(run_probe("plain", MARLIX_TESTING_LIBRARY), "exported_hooks=6"), 1);
}

TEST(library_entry, MarkersOfThisProcess) {
    char release[marker_name_capacity], debug[marker_name_capacity];
    release_marker_name(release, static_cast<unsigned>(getpid()));
    debug_marker_name(debug, 0x1234abcdu);
    EXPECT_STREQ(debug, "TovApp_PID_1234abcd_IsDebug");
    EXPECT_TRUE(marker_exists(release));  // made when this process loaded the library
    EXPECT_FALSE(marker_exists(debug));
    EXPECT_FALSE(marker_exists(debug));  // probing does not create it
    EXPECT_TRUE(create_marker(debug));
    EXPECT_TRUE(marker_exists(debug));
    EXPECT_FALSE(create_marker(debug));
}

int handled = 0;
bool press_cancel(char const*, char const*) {
    ++handled;
    return false;
}

TEST(library_entry, AssertionReport) {
    test_support::captured_messages reports;
    testing::internal::CaptureStderr();  // where each report goes as well
    assertion_handler const previous = set_assertion_handler(press_cancel);
    report_assertion("x > 0", "file.cpp", 12);
    EXPECT_EQ(reports.text,
              "TovAssert - Assertion Failed\nAssertion failed:\n\nfile.cpp line 12:\n\nx > "
              "0\n\nPress OK to debug or Cancel to ignore.\n");
    EXPECT_EQ(handled, 1);
    reports.text.clear();
    report_assertion(std::string(2000, 'e').c_str(), "f", 1);
    EXPECT_LT(reports.text.size(), 600u);  // cut, not overrun
    set_assertion_handler(previous);
    EXPECT_EQ(count_of(testing::internal::GetCapturedStderr(), "TovAssert - Assertion Failed"), 2);
}

}  // namespace
}  // namespace marlix
