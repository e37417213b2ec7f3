// Positions between rates: real time, frame for frame and the pulldown
// cadences from a sync point.

#include "marlix/internal/floor_div.h"
#include "marlix/internal/narrow32.h"
#include "marlix/smpte/detail/smpte_support.h"
#include "marlix/smpte/timecode.h"
#include "marlix/xlate/cadence_tables.h"

namespace marlix::smpte {

namespace {

namespace num = marlix::detail;
using detail::known;
using detail::refused;

// The film frame on show in a field, and the first field of a film frame,
// from the cadence tables at phase 0 (2:3: A on fields 0-1, B 2-4, C 5-6,
// D 7-9 of each ten).
struct field_cadence {
    cadence_pair pair;
    int film_frames, fields;
};
constexpr field_cadence two_three{cadence_pair::film24_to_60_fields, 4, 10};
constexpr field_cadence pal_24_25{cadence_pair::film24_to_50_fields, 24, 50};

long long film_at_field(field_cadence c, long long field) {
    cadence_table const inverse = cadence_inverse(c.pair);
    return c.film_frames * num::floor_div(field, c.fields) +
           inverse.at(0, static_cast<int>(num::floor_mod(field, c.fields)));
}

}  // namespace

std::int64_t pulldown_first_field(std::int64_t film_frame) {
    // Beyond the limit ten fields a cycle would leave 64 bits.
    if (film_frame > pull_frame_limit) film_frame = pull_frame_limit;
    if (film_frame < -pull_frame_limit) film_frame = -pull_frame_limit;
    cadence_table const forward = cadence_forward(cadence_pair::film24_to_60_fields);
    return two_three.fields * num::floor_div(film_frame, two_three.film_frames) +
           forward.at(0, static_cast<int>(num::floor_mod(film_frame, two_three.film_frames)));
}

std::int64_t pulldown_film_frame(std::int64_t field) { return film_at_field(two_three, field); }

result<timecode> convert(timecode t, rate to, method m, sync_point sync) {
    rate const from = t.frame_rate();
    if (!known(from) || !known(to)) return refused{error::unknown_rate};
    long long v = t.frames();
    switch (m) {
        case method::frame: break;
        case method::realtime:
            // The frame on show at the instant frame v starts.
            v = num::floor_div(v * from.den * to.num, static_cast<long long>(from.num) * to.den);
            break;
        case method::pulldown: {
            bool const film_23976 = from == rate_23_976 || to == rate_23_976;
            bool const video_2997 = from.num == 30000 || to.num == 30000;
            bool const film_24    = from == rate_24 || to == rate_24;
            bool const video_30   = from == rate_30 || to == rate_30;
            if (!((film_23976 && video_2997) || (film_24 && video_30)))
                return refused{error::no_pulldown};
            if (from.nominal() == 24) {  // film to video: the first frame showing it
                long long const field = pulldown_first_field(v - sync.film_frame);
                v                     = sync.video_frame + num::floor_div(field + 1, 2);
            } else {  // video to film: the film frame of the first field
                v = sync.film_frame + pulldown_film_frame(2 * (v - sync.video_frame));
            }
            break;
        }
    }
    if (!num::fits_long32(v)) return refused{error::out_of_range};
    return {timecode(static_cast<std::int32_t>(v), to), error::none};
}

result<pulled_frame> pull(std::int64_t video_frame, rate video) {
    if (!known(video)) return refused{error::unknown_rate};
    if (video_frame > pull_frame_limit || video_frame < -pull_frame_limit)
        return refused{error::out_of_range};
    switch (video.nominal()) {
        case 24: return {{video_frame, false}, error::none};
        case 25: {
            long long const first = film_at_field(pal_24_25, 2 * video_frame);
            return {{first, film_at_field(pal_24_25, 2 * video_frame + 1) != first}, error::none};
        }
        case 30: {
            long long const first = film_at_field(two_three, 2 * video_frame);
            return {{first, film_at_field(two_three, 2 * video_frame + 1) != first}, error::none};
        }
        // 59.94 and 60 progressive: each frame is one step of the 2:3 cadence.
        case 60: return {{film_at_field(two_three, video_frame), false}, error::none};
        default: return refused{error::no_pulldown};
    }
}

}  // namespace marlix::smpte
