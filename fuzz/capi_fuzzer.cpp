// The C interface on whole-domain input: any label type, medium, cadence,
// rate and buffer size, any text through every reader. Each call answers a
// status it documents; a text written into a buffer is terminated within
// its size; a label text that reads prints and reads back to its sample.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_draw.h"
#include "marlix/marlix_c.h"

namespace {

// The output buffer: its first `size` bytes may be written, the guard bytes
// after it never.
struct out_buffer {
    char bytes[160];
    std::size_t size;
    explicit out_buffer(std::size_t n) : size(n) { std::memset(bytes, 0x5a, sizeof bytes); }
    void check(marlix_status s) const {
        for (std::size_t i = size; i < sizeof bytes; ++i)
            if (bytes[i] != 0x5a) std::abort();
        if ((s == MARLIX_OK || s == MARLIX_ERR_TRUNCATED) && std::strlen(bytes) >= size)
            std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    int32_t const type    = draw_int(in, -1, 43);
    int32_t const sample  = in.ConsumeIntegral<int32_t>();
    int32_t const medium  = draw_int(in, -1, 41);
    int32_t const other   = draw_int(in, -1, 41);
    int32_t const number  = draw_int(in, -2, 300);
    int64_t const wide    = in.ConsumeIntegral<int64_t>();
    double const position = draw_double(in);
    std::size_t const n   = in.ConsumeIntegralInRange<std::size_t>(1, 128);
    uint32_t const flags  = in.ConsumeBool() ? MARLIX_READ_LAX : 0u;
    marlix_tc_rate const rate{draw_int(in, -1, 60000), draw_int(in, -1, 1001), in.ConsumeBool()};
    marlix_medium_id const id{medium, draw_int(in, -1, 6)};
    std::string const prefix = in.ConsumeRandomLengthString(40);
    std::string const text   = in.ConsumeRemainingBytesAsString();
    char const* t            = text.c_str();

    out_buffer out(n);
    int32_t v = 0;
    out.check(marlix_type_text(type, sample, prefix.c_str(), flags, out.bytes, out.size));
    if (marlix_type_sample(type, t, prefix.c_str(), flags, &v) == MARLIX_OK) {
        out_buffer printed(sizeof out.bytes - 1);
        // A strictly read text's own prefix stands; a typed one may be none.
        char const* again = flags != 0 ? prefix.c_str() : nullptr;
        if (marlix_type_text(type, v, again, flags, printed.bytes, printed.size) != MARLIX_OK)
            std::abort();
    }
    int32_t found = 0;
    if (marlix_type_find(t, &found) == MARLIX_OK && (found < 0 || found > 41)) std::abort();
    marlix_medium_find(t, &found);
    marlix_cadence_find(t, &found);
    marlix_rate_find(t, &found, nullptr);
    marlix_tc_rate tc{};
    marlix_tc_rate_find(t, &tc);
    marlix_medium_id read_id{};
    marlix_medium_id_read(t, type, &read_id);
    out_buffer reel(n);
    reel.check(marlix_medium_roll_read(t, &read_id, reel.bytes, reel.size));
    out_buffer keep(n);
    keep.check(marlix_medium_roll_keep_string(id, prefix.c_str(), keep.bytes, keep.size));
    out_buffer names(n);
    names.check(marlix_medium_id_user_text(id, names.bytes, names.size));
    names.check(marlix_medium_name(medium, names.bytes, names.size));
    marlix_medium_id_fits(id, read_id);

    marlix_label* label = nullptr;
    if (marlix_label_read(t, &label) == MARLIX_OK ||
        marlix_edit_label_read(t, &label) == MARLIX_OK ||
        marlix_edit_label_new(type, id, &label) == MARLIX_OK) {
        marlix_label_set_prefix(label, prefix.c_str(), flags);
        marlix_label_set_length(label, number);
        out_buffer label_out(n);
        label_out.check(marlix_label_keep_string(label, label_out.bytes, label_out.size));
        label_out.check(marlix_label_text_at(label, sample, label_out.bytes, label_out.size));
        double seconds = 0;
        marlix_label_position(label, t, flags, &seconds);
        marlix_label_set_start_text(label, t, flags);
        marlix_label_set_start(label, sample);
        marlix_label_set_pitch(label, position);
        label_out.check(marlix_label_text_at(label, number, label_out.bytes, label_out.size));
        marlix_label_free(label);
    }

    marlix_xlate_params params;
    marlix_xlate_params_init(&params);
    params.transfer      = number;
    params.sequence      = draw_int(in, -2, 256);
    params.transfer_rate = draw_int(in, -1, 35);
    params.video_medium  = other;
    marlix_project project;
    marlix_project_default(&project);
    project.frame_rate     = draw_int(in, 0, 35);
    double r               = 0;
    marlix_status const xs = marlix_xlate(position, medium, other, &params, &project, &r);
    if (xs == MARLIX_OK && medium != other && !(std::fabs(r) < 1e99)) std::abort();

    int64_t unit = 0;
    marlix_cadence_forward(number % 9, number, wide, &unit);
    marlix_cadence_inverse(number % 9, number, wide, &unit);
    int32_t frame = 0;
    marlix_cadence_frame(number % 9, number % 30, sample, &frame);

    out_buffer legacy(n);
    legacy.check(marlix_legacy_timecode(sample, number, number & 1, legacy.bytes, legacy.size));
    int32_t code = 0, foot = 0, phase = 0;
    marlix_legacy_label_to_frames(t, number, 0, medium, other & 1, number, other, medium, &frame,
                                  &foot, &phase, &code);
    legacy.check(marlix_legacy_label_plus_frames(t, sample, number, 0, medium, other & 1, number,
                                                 static_cast<uint8_t>(other), other, medium,
                                                 legacy.bytes, legacy.size, &foot, &phase, &code));

    out_buffer tc_text(n);
    if (marlix_tc_read(t, rate, number & 1, &frame) == MARLIX_OK) {
        tc_text.check(marlix_tc_write(frame, rate, 0, tc_text.bytes, tc_text.size));
    }
    tc_text.check(marlix_tc_write(sample, rate, number & 1, tc_text.bytes, tc_text.size));
    marlix_tc_add(sample, rate, wide, sample & 1, &frame);
    marlix_tc_duration(sample, frame, rate, sample & 2, &frame);
    marlix_tc_convert(sample, rate, tc, number, medium, other, &frame);
    int64_t film = 0;
    marlix_tc_pull(wide, rate, &film, &code);
    if (std::strlen(marlix_status_text(sample)) == 0) std::abort();
    return 0;
}
