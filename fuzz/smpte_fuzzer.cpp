// The SMPTE layer on whole-domain input: any text read at any rate (the
// known ones and arbitrary fractions), any frame count written, converted
// and pulled. A text that reads writes back to a text that reads to the same
// frames; a refusal holds no usable position or rate; nothing faults or
// overflows.

#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_draw.h"
#include "marlix/smpte/timecode.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    namespace smpte = marlix::smpte;
    FuzzedDataProvider in(data, size);
    static constexpr smpte::rate known[] = {
        smpte::rate_23_976,   smpte::rate_24,    smpte::rate_25,       smpte::rate_29_97,
        smpte::rate_29_97_df, smpte::rate_30,    smpte::rate_47_952,   smpte::rate_48,
        smpte::rate_50,       smpte::rate_59_94, smpte::rate_59_94_df, smpte::rate_60};
    auto draw_rate = [&] {
        if (in.ConsumeBool()) return known[in.ConsumeIntegralInRange<std::size_t>(0, 11)];
        return smpte::rate{draw_int(in, -2, 120000), draw_int(in, -2, 1002), in.ConsumeBool()};
    };
    smpte::rate const r = draw_rate(), to = draw_rate();
    bool const any_hours      = in.ConsumeBool();
    std::int32_t const frames = draw_int(in, -6000000, 6000000);
    std::int64_t const delta  = in.ConsumeIntegral<std::int64_t>();
    smpte::sync_point const sync{draw_int(in, -100, 100), draw_int(in, -100, 100)};
    auto const m           = static_cast<smpte::method>(in.ConsumeIntegralInRange<int>(0, 2));
    std::string const text = in.ConsumeRemainingBytesAsString();

    auto const t = smpte::read(text, r, {any_hours});
    if (t) {
        char written[smpte::text_capacity];
        std::size_t const n = smpte::write(t.value, written, sizeof written, false);
        if (n >= sizeof written || std::strlen(written) != n) std::abort();
        auto const back = smpte::read(std::string_view(written, n), r, {true});
        if (!back || back.value.frames() != t.value.frames()) std::abort();
    }
    char small[5];
    smpte::write(smpte::timecode(frames, r), small, sizeof small);
    std::string const full = smpte::to_string(smpte::timecode(frames, r), in.remaining_bytes() % 2);
    if (full.size() >= smpte::text_capacity) std::abort();
    smpte::native_text(smpte::timecode(frames, r));
    smpte::timecode const none(0, smpte::no_rate);
    auto const sum   = smpte::add(smpte::timecode(frames, r), delta);
    auto const moved = smpte::convert(smpte::timecode(frames, r), to, m, sync);
    if ((!t && t.value != none) || (!sum && sum.value != none) || (!moved && moved.value != none))
        std::abort();
    auto const length =
        smpte::duration(smpte::timecode(frames, r), smpte::timecode(frames / 3, to));
    auto const pulled = smpte::pull(delta / 4, r);
    auto const named  = smpte::parse_rate(text);
    if ((!length && length.value != 0) || (!pulled && pulled.value.film_frame != 0) ||
        (!named && named.value != smpte::no_rate))
        std::abort();
    return 0;
}
