// Any converter class, built with any constructor arguments (and any count
// length where it has one), then every operation of the interface with
// arbitrary samples, texts, words and time values: no fault, no read or
// write out of bounds, no undefined behaviour, and printed text that fits
// the point's buffer.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_draw.h"
#include "marlix/marlix.h"

namespace {

using namespace marlix;

std::unique_ptr<label_cvt> build(FuzzedDataProvider& in) {
    int const a = draw_int(in, -2, 130), b = draw_int(in, -2, 20), c = draw_int(in, -2, 20);
    switch (in.ConsumeIntegralInRange<int>(0, 17)) {
        case 0: return std::make_unique<timecode_label>(a, b);
        case 1: return std::make_unique<pal_label>(a);
        case 2: return std::make_unique<ntsc_label>(a);
        case 3: return std::make_unique<ntsc_drop_label>(a);
        case 4: return std::make_unique<tc_24_label>(a);
        case 5: return std::make_unique<tc_48_label>(a);
        case 6: return std::make_unique<tc_50_label>(a);
        case 7: return std::make_unique<tc_60_label>(a);
        case 8: return std::make_unique<variable_label>(a, b);
        case 9: return std::make_unique<prefix_label>(a, b, c);
        case 10: return std::make_unique<keycode_label>(a, b);
        case 11: return std::make_unique<ink_label>(a, b);
        case 12: return std::make_unique<foot_35_label>(a);
        case 13: return std::make_unique<foot_16_label>(a);
        case 14: return std::make_unique<foot_353_label>(a);
        case 15: return std::make_unique<film_frames_label>();
        case 16: return std::make_unique<dummy_label>();
        default: {  // every catalogue class, as the factory builds it
            label_cvt* made = make_any_label_cvt(draw_enum<label_t>(in, -1, 45));
            return std::unique_ptr<label_cvt>(made);
        }
    }
}

void fits(char const* text, std::size_t capacity) {
    if (text != nullptr && std::strlen(text) >= capacity) {
        std::fprintf(stderr, "too long for %zu: %s\n", capacity, text);
        std::abort();
    }
}

// A printed label is in the point's buffer, or a template's special text,
// or a constant: each within its own storage.
void printed(char const* text, label_point const& point) {
    char const* const buffer = point.text_buffer;
    bool const in_point      = text >= buffer && text < buffer + sizeof point.text_buffer;
    fits(text, in_point ? sizeof point.text_buffer : label_template::max_length + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::unique_ptr<label_cvt> cvt = build(in);
    if (cvt == nullptr) return 0;
    if (auto* prefixed = dynamic_cast<prefix_label*>(cvt.get()); prefixed && in.ConsumeBool()) {
        prefixed->set_count_len(draw_int(in, -2, 12));
        if (in.ConsumeBool()) prefixed->build_template();
    }
    long32 const s1 = draw_int(in, -200, 700000), s2 = draw_int(in, -200, 700000);
    double const t           = draw_double(in);
    unsigned word            = in.ConsumeIntegral<unsigned>();
    std::string const prefix = in.ConsumeRandomLengthString(40);
    std::string const a      = in.ConsumeRandomLengthString(80);
    std::string const b      = in.ConsumeRemainingBytesAsString();

    label_point point(s1, cvt.get());
    std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", prefix.c_str());
    label_cvt& c = *cvt;
    fits(c.type_str(), 64);
    c.type();
    c.UserType();
    c.has_prefix();
    c.get_prefix_length();
    c.get_count_length();
    c.get_modulus();
    c.samples_per_unit();
    c.normalise_sample_unit(s2);
    c.perfs_per_keyKode();
    printed(c.get_string(&point, s2), point);
    printed(c.get_perfs_string(&point, s2), point);
    c.get_smpte_string(&point, s2);
    bool drop = false;
    c.get_samples_from_SMPTETc(word, drop);
    c.get_sample(&point, s2);
    c.get_sample(&point, a.c_str());
    c.get_abs_sample_from_packed_string(a.c_str());
    c.get_sample_span_from_packed_strings(a.c_str(), b.c_str());
    printed(c.get_abs_string(&point, s2), point);
    c.get_abs_smpte_string(&point, s2);
    printed(c.get_abs_perfs_string(&point, s2), point);
    c.get_abs_sample(t);
    c.get_abs_sample(a.c_str());
    printed(c.get_keep_string(&point, s2), point);
    c.get_keep_sample(b.c_str());
    c.get_V2tc(s2);
    fits(c.get_dummy_prefix(), sizeof point.prefix_text);
    fits(c.get_prefix(&point), sizeof point.prefix_text);
    c.set_prefix(&point, a.c_str());
    fits(point.prefix_text, sizeof point.prefix_text);
    fits(c.get_invalid_string(&point, s2), 64);
    c.build_template();
    printed(c.get_abs_string(&point, s1), point);
    return 0;
}
