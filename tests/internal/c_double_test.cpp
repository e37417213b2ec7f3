#include "marlix/internal/c_double.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "marlix/internal/test_hooks.h"
#include "marlix/values/label.h"

namespace marlix {
namespace {

// strtod itself, in the "C" locale the tests run in, is the reference.
void expect_as_strtod(std::string const& text) {
    char* end      = nullptr;
    double const v = std::strtod(text.c_str(), &end);
    auto const r   = read_c_double(text);
    EXPECT_EQ(r.length, static_cast<std::size_t>(end - text.c_str())) << '"' << text << '"';
    if (std::isnan(v))
        EXPECT_TRUE(std::isnan(r.value) && std::signbit(r.value) == std::signbit(v)) << text;
    else
        EXPECT_EQ(std::memcmp(&r.value, &v, sizeof v), 0) << '"' << text << "\" " << r.value;
}

// Every form strtod reads, and where each ends: signs, blanks, points,
// exponents with and without digits, hexadecimal, the words, and digit runs
// past the kept ones that decide the last bit of a tie.
TEST(c_double, ReadsAsStrtodInTheCLocale) {
    std::string const tie = "9007199254740993", zeros(800, '0');
    for (char const* text : {"  -1.5e3x",
                             "+.5",
                             "5.",
                             ".",
                             "-",
                             "",
                             "e5",
                             "1e",
                             "1e+",
                             "1E-2",
                             "0x1.8p3",
                             "0X1P-2",
                             "0x",
                             "0x.",
                             "0x.8",
                             "0x1p",
                             "0xg",
                             "-0x1.fffffffffffff8p1023",
                             "0x1p-1075",
                             "0x1.00000000000008000000000000000000001p0",
                             "+inf",
                             "-INFINITY",
                             "infinit",
                             "in",
                             "nan(abc_1)",
                             "nan(",
                             "nan(a-b)",
                             "-nan",
                             "NaN()",
                             "1e400",
                             "-1e-400",
                             "4.9e-324",
                             "2.4e-324",
                             "\t\n\v\f\r 7",
                             "\xa0"
                             "7",
                             "0.0400000000",
                             "00012.50",
                             "1e-99999999999",
                             "1e99999999999",
                             "0e99999999999"})
        expect_as_strtod(text);
    for (std::string const& text :
         {tie, tie + zeros, tie + zeros + "1", "0." + zeros + tie + "e816",
          "0." + zeros + tie + zeros + "1e816", zeros + tie + "." + zeros})
        expect_as_strtod(text);
    // Random texts of the grammar's characters.
    std::mt19937 random(3307);
    char const alphabet[] = "0123456789012345678901234abcdefABCDEF..xXpPeE+- infatyINAN()_";
    for (int k = 0; k < 200000; ++k) {
        std::string text(random() % 16, ' ');
        for (char& c : text) c = alphabet[random() % (sizeof alphabet - 1)];
        if (random() % 4 == 0) text.insert(0, random() % 2 ? "0x" : "-0X");
        expect_as_strtod(text);
        if (HasFailure()) break;
    }
}

// printf's numbers with the locale's point made a '.', and nothing else
// touched.
TEST(c_double, PrintedPointsBecomeDots) {
    for (auto const& [printed, c] : {
             std::pair{"12,5000", "12.5000"},
             {"-0,0400000000", "-0.0400000000"},
             {"1\xd9\xab"
              "5",
              "1.5"},  // a point of two bytes
             {"4,0000000000e-02", "4.0000000000e-02"},
             {"12.5", "12.5"},
             {"1e+06", "1e+06"},
             {"100000", "100000"},
             {"7,", "7,"},
             {"-inf", "-inf"},
             {"nan", "nan"},
         }) {
        char text[32];
        std::snprintf(text, sizeof text, "%s", printed);
        detail::use_c_point(text);
        EXPECT_STREQ(text, c) << printed;
    }
}

// A keep string is written and read with a '.' for its point whatever the
// host's numeric locale: one written under a decimal comma reads back in
// the "C" locale, and the reverse.
TEST(c_double, KeepStringsIgnoreTheNumericLocale) {
    std::string const before = std::setlocale(LC_NUMERIC, nullptr);
    bool comma               = false;
    for (char const* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        char shown[8];
        comma = std::setlocale(LC_NUMERIC, name) != nullptr &&
                std::snprintf(shown, sizeof shown, "%.1f", 0.5) > 0 &&
                std::strcmp(shown, "0,5") == 0;
        if (comma) break;
    }
    if (!comma) {
        std::setlocale(LC_NUMERIC, before.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    char keep[label::keep_string_capacity];
    label(LABEL_PAL).make_keep_string(keep);
    label const back("LABEL_REV:1 pal_label  10:00:00.00 250 0.0400000000 1"),
        big("LABEL_REV:1 pal_label  10:00:00.00 250 4.0000000000e+15 1");
    label huge(LABEL_PAL);
    huge.set_pitch(4e15);
    char huge_keep[label::keep_string_capacity];
    huge.make_keep_string(huge_keep);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_STREQ(keep, label(LABEL_PAL).make_keep_string(nullptr));
    EXPECT_STREQ(huge_keep, huge.make_keep_string(nullptr));
    EXPECT_NE(std::strstr(huge_keep, " 4.0000000000e+15 "), nullptr) << huge_keep;
    EXPECT_EQ(back.get_pitch(), 0.04);
    EXPECT_EQ(big.get_pitch(), 4e15);
}

}  // namespace
}  // namespace marlix
