// The timecode parsers against sscanf with the stated formats, over every
// short text of a timecode-like alphabet and many longer generated ones.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "marlix/cvt/timecode_label.h"
#include "tests/support/timecode_reference.h"

namespace marlix {
namespace {

constexpr char alphabet[] = "019:;. -+\tx";
constexpr int letters     = sizeof alphabet - 1;

struct parser {
    std::unique_ptr<timecode_label> cvt;
    int flags;
};

void check(parser& p, std::string const& text) {
    bool const drop = p.cvt->type() == LABEL_NTSC_DROP;
    int const fps   = p.cvt->get_modulus();
    ASSERT_EQ(p.cvt->get_abs_sample(text.c_str()),
              reference::parse_text(text.c_str(), fps, drop, p.flags))
        << p.cvt->type_str() << " flags " << p.flags << " '" << text << "'";
    ASSERT_EQ(p.cvt->get_abs_sample_from_packed_string(text.c_str()),
              reference::parse_packed(text.c_str(), fps, drop))
        << p.cvt->type_str() << " packed '" << text << "'";
}

TEST(timecode_label, ParsesExactlyAsSscanf) {
    parser parsers[] = {
        {std::make_unique<pal_label>(15), 15},       {std::make_unique<pal_label>(2), 2},
        {std::make_unique<pal_label>(4), 4},         {std::make_unique<pal_label>(0), 0},
        {std::make_unique<ntsc_drop_label>(15), 15}, {std::make_unique<tc_60_label>(6), 6},
    };
    // Every text of up to five characters.
    for (int length = 0; length <= 5; ++length) {
        int count = 1;
        for (int i = 0; i < length; ++i) count *= letters;
        for (int n = 0; n < count; ++n) {
            std::string text;
            for (int i = 0, v = n; i < length; ++i, v /= letters) text += alphabet[v % letters];
            for (auto& p : parsers) check(p, text);
        }
    }
    // Longer texts built from timecode pieces, some of them damaged.
    char const* pieces[] = {"01", "2",  ":",           ";", ".",  " ",  "-",
                            "+",  "59", "99999999999", "x", "\t", "007"};
    std::uint64_t x      = 1;
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        x             = x * 6364136223846793005ull + 1442695040888963407ull;
        int const len = static_cast<int>(x >> 60);
        for (int i = 0; i < len; ++i) {
            x = x * 6364136223846793005ull + 1442695040888963407ull;
            text += pieces[(x >> 33) % std::size(pieces)];
        }
        for (auto& p : parsers) check(p, text);
    }
}

}  // namespace
}  // namespace marlix
