#include "marlix/legacy/frame_label.h"

#include <cstdio>
#include <cstring>

#include "marlix/internal/drop_frame.h"
#include "marlix/internal/floor_div.h"
#include "marlix/internal/narrow32.h"
#include "marlix/internal/scan_fields.h"

namespace marlix {

namespace {

// Text sizes: 8 characters and a terminator.
constexpr int out_capacity        = 9;
constexpr int footage_blank_reach = 8;

enum class form { none, timecode, timecode24, footage, footage353 };

struct type_info {
    form kind;
    int fps;  // timecode: rate when printing a video frame
};

type_info classify(label_type t) {
    switch (static_cast<int>(t)) {
        case 1:
        case 3:
        case 22:
        case 25:
        case 42: return {form::timecode, 30};
        case 2:
        case 5:
        case 7:
        case 21: return {form::timecode, 25};
        case 36:
        case 39: return {form::timecode, 50};
        case 37:
        case 40: return {form::timecode, 60};
        case 4:
        case 6:
        case 34: return {form::timecode24, 24};
        case 38:
        case 41:
        case 43: return {form::timecode24, 48};
        case 8:
        case 11:
        case 27: return {form::footage, 0};
        case 26: return {form::footage353, 0};
        default: return {form::none, 0};
    }
}

// Frame numbers and phases are 32-bit; arithmetic runs in 64 bits and
// results wrap to 32 bits (detail::narrow_wrapping) as the arithmetic always
// has, without overflow.

using detail::ceil_div;
using detail::floor_div;

// --- timecode ---------------------------------------------------------------

void read_hmsf(char const* label, long long f[4]) {
    using detail::scan_op;
    constexpr scan_op pair     = detail::scan_number(2);
    constexpr scan_op format[] = {pair, pair, pair, pair};  // "%2d%2d%2d%2d"
    f[0] = f[1] = f[2] = f[3] = 0;                          // fields not read count as 0
    detail::scan_fields(label, format, f);
}

long long timecode_to_frame(char const* label, int fps, bool drop) {
    long long f[4];
    read_hmsf(label, f);
    long long const hh = f[0], mm = f[1], ss = f[2], ff = f[3];
    if (!drop) return ((hh * 60 + mm) * 60 + ss) * fps + ff + 1;
    return detail::ntsc_drop_frame.frames(hh, mm, ss, ff, detail::negative_minute::keeps) + 1;
}

void print_hmsf(char* out, long long hh, long long mm, long long ss, long long ff) {
    // The digit pairs are printed with the original "%0.2d" format; GCC
    // warns that the '0' flag is ignored with a precision, which is exactly
    // what the format relies on.
#if defined(__GNUC__) && !defined(__clang__)
#    pragma GCC diagnostic push
#    pragma GCC diagnostic ignored "-Wformat"
#endif
    if (std::snprintf(out, out_capacity, "%0.2d%0.2d%0.2d%0.2d", static_cast<int>(hh),
                      static_cast<int>(mm), static_cast<int>(ss), static_cast<int>(ff)) < 0)
        out[0] = '\0';
#if defined(__GNUC__) && !defined(__clang__)
#    pragma GCC diagnostic pop
#endif
}

void frame_to_timecode(long long frame, int fps, bool drop, char* out) {
    long long const day =
        drop ? detail::ntsc_drop_frame.frames_per_day() : static_cast<long long>(fps) * 86400;
    long long v = frame - 1;
    if (v < 0)
        v += day;
    else if (v >= day)
        v -= day;
    if (!drop) {
        print_hmsf(out, v / (fps * 3600LL), v / (fps * 60LL) % 60, v / fps % 60, v % fps);
        return;
    }
    // A frame more than a day before the first is taken within its day:
    // drop-frame counting is defined on counts from 0 up.
    if (v < 0) v -= floor_div(v, day) * day;
    long long const count = detail::ntsc_drop_frame.label_count(v);
    print_hmsf(out, count / 108000, count / 1800 % 60, count / 30 % 60, count % 30);
}

// --- footage ----------------------------------------------------------------

// Frames of r feet walked from phase p (1..3): 22 in a phase-3 foot, 21
// otherwise; the phase moves on 1 -> 2 -> 3 -> 1.
long long walk_feet(long long r, int& p) {
    long long frames = 0;
    for (long long i = 0; i < r; ++i) {
        frames += p == 3 ? 22 : 21;
        p = p == 3 ? 1 : p + 1;
    }
    return frames;
}

void blank_to_zero(char* label) {
    for (int i = 0; i < footage_blank_reach && label[i] != '\0'; ++i)
        if (label[i] == ' ') label[i] = '0';
}

bool footage_to_frame(char* label, form kind, int frames_per_foot, int foot_phase,
                      int* foot_phase_out, long long& frame) {
    blank_to_zero(label);  // the caller's text holds the zeros even when the read fails
    if (kind == form::footage && frames_per_foot == 0) return false;
    if (kind == form::footage353 && (foot_phase < 1 || foot_phase > 3)) return false;
    using detail::scan_op;
    std::size_t const length       = std::strlen(label);
    unsigned char const feet_width = length == 7 ? 5 : length == 8 ? 6 : 4;
    scan_op const format[]         = {detail::scan_number(feet_width), detail::scan_number(2)};
    long long f[2]                 = {};
    detail::scan_fields(label, format, f);
    long long const feet = f[0], frames = f[1];
    if (kind == form::footage) {
        frame = feet * frames_per_foot + frames + 1;
        return true;
    }
    // Feet count in three-foot cycles; a negative footage (a '-' in the
    // text) counts back whole cycles, so the remainder stays 0..2 and the
    // phase of foot 0 stays 1..3.
    long long const q = floor_div(feet, 3), r = feet - 3 * q;
    int p = foot_phase - static_cast<int>(r);
    if (p < 1) p += 3;
    if (foot_phase_out != nullptr) *foot_phase_out = p;
    frame = 64 * q + walk_feet(r, p) + frames + 1;
    return true;
}

// The unbroken run of set bits from bit 2: at most 6, as an unsigned char
// has no bit 8.
int wrap_digits(unsigned char flags) {
    int k = 0;
    while ((static_cast<unsigned>(flags) >> (2 + k) & 1u) != 0) ++k;
    return k;
}

void print_footage(char* out, long long feet, long long frames) {
#if defined(__GNUC__) && !defined(__clang__)
#    pragma GCC diagnostic push
#    pragma GCC diagnostic ignored "-Wformat"
#endif
    if (std::snprintf(out, out_capacity, "%0.6d%0.2d", static_cast<int>(feet),
                      static_cast<int>(frames)) < 0)
        out[0] = '\0';
#if defined(__GNUC__) && !defined(__clang__)
#    pragma GCC diagnostic pop
#endif
}

void frame_to_footage(long long frame, form kind, int frames_per_foot, unsigned char digit_flags,
                      int foot_phase, int* foot_phase_out, char* out) {
    long long wrap_feet = 1;
    for (int i = wrap_digits(digit_flags); i > 0; --i) wrap_feet *= 10;
    long long length;
    if (kind == form::footage) {
        length = wrap_feet * frames_per_foot;
    } else {
        int p  = foot_phase;
        length = 64 * (wrap_feet / 3) + walk_feet(wrap_feet % 3, p);
    }
    long long v = frame - 1;
    if (v < 0)
        v += length;
    else if (v >= length)
        v -= length;
    if (kind == form::footage) {
        print_footage(out, v / frames_per_foot, v % frames_per_foot);
        return;
    }
    long long const g = v / 64;
    long long w       = v % 64;
    int p             = foot_phase;
    long long c       = 0;
    while (w >= (p == 3 ? 22 : 21)) {
        w -= p == 3 ? 22 : 21;
        p = p == 3 ? 1 : p + 1;
        ++c;
    }
    if (foot_phase_out != nullptr) *foot_phase_out = p;
    print_footage(out, 3 * g + c, w);
}

// --- pulldown ---------------------------------------------------------------

int film_cycle(transfer_type t) {
    return t == transfer_pulldown_4_5 ? 4 : t == transfer_pulldown_24_25 ? 24 : 0;
}

// Transfers that carry one film frame to one video frame.
bool frame_for_frame(transfer_type t) {
    return t == transfer_none || t == transfer_frame_for_frame;
}

// Moves a frame number below 1 up by whole cycles of len frames, so that
// the cycle arithmetic sees positive numbers; answers the frames added,
// which the caller takes back off in its own cycles.
long long lift_into_positive(long long& n, int len) {
    if (n >= 1) return 0;
    long long const k = ceil_div(1 - n, len) * len;
    n += k;
    return k;
}

// A step between film and video through a transfer without a pulldown
// cycle: frame for frame copies the number (1); any other fails (0).
int copy_frame_for_frame(transfer_type t, long long in, long long& out) {
    if (!frame_for_frame(t)) return 0;
    out = in;
    return 1;
}

// Film frame to video frame: 0 failure, 1 done, 2 done with the phase at or
// past the last film frame of its cycle.
int film_to_video(long long film, transfer_type transfer, int phase, int end_phase,
                  long long& video) {
    int const cycle = film_cycle(transfer);
    if (cycle == 0) return copy_frame_for_frame(transfer, film, video);
    long long n       = film;
    long long const k = lift_into_positive(n, cycle);
    // Phases are compared in 64 bits: any int phase is taken without overflow.
    long long const P = phase;
    long long const q = n / cycle, r = n % cycle;
    video = n + q;
    if (r == 0) {
        if (P == cycle - 1) --video;
    } else if (r > P + 1 || P == cycle) {
        ++video;
    }
    if (end_phase == cycle) --video;
    video -= (cycle + 1) * k / cycle;
    return cycle - P <= 1 ? 2 : 1;
}

int video_to_film(long long video, transfer_type transfer, int phase, int* phase_out,
                  long long& film) {
    int const fcycle = film_cycle(transfer);
    if (fcycle == 0) return copy_frame_for_frame(transfer, video, film);
    int const vcycle    = fcycle + 1;
    long long n         = video;
    long long const k   = lift_into_positive(n, vcycle);
    long long const P   = phase;  // 64 bits: any int phase without overflow
    long long out_phase = P - (n - 1) % vcycle;
    if (out_phase < 0) out_phase += vcycle;
    if (phase_out != nullptr) *phase_out = detail::narrow_wrapping(out_phase);
    long long const q = n / vcycle, r = n % vcycle;
    film = n - q;
    if (r == 0 && P == fcycle - 1) ++film;
    if (r > P + 2) --film;
    if (P == fcycle && r > 1) --film;
    film -= (vcycle - 1) * k / vcycle;
    return 1;
}

// Adds delta to frame n and moves the phase with it. false for an edit type
// or (film count) a transfer it does not know.
bool add_frames(long long n, int phase, long long delta, transfer_type transfer, edit_type edit,
                long long& n_out, int& phase_out) {
    n_out            = n + delta;
    int const fcycle = film_cycle(transfer);
    auto cycled      = [delta](long long c) {
        return delta < 0 ? ceil_div(-delta, c) * c + delta : delta;
    };
    if (edit == edit_film_frames) {
        if (frame_for_frame(transfer)) return true;
        if (fcycle == 0) return false;
        long long const d = cycled(fcycle);
        int const p       = phase == fcycle ? phase - 1 : phase;
        long long np      = d % fcycle + p;
        if (np > fcycle - 1) np -= fcycle;
        phase_out = detail::narrow_wrapping(np);
        return true;
    }
    if (edit == edit_video_frames) {
        if (fcycle == 0) return true;
        int const vcycle  = fcycle + 1;
        long long const d = cycled(vcycle);
        long long np      = d % vcycle + phase;
        if (np > fcycle) np -= vcycle;
        phase_out = detail::narrow_wrapping(np);
        return true;
    }
    return false;
}

}  // namespace

int film_to_video_frame(long32 film, transfer_type transfer, int phase, int end_phase,
                        long32* video) {
    long long v{};
    int const code = film_to_video(film, transfer, phase, end_phase, v);
    if (code != 0 && video != nullptr) *video = detail::narrow_wrapping(v);
    return code;
}

int video_to_film_frame(long32 video, transfer_type transfer, int phase, int* phase_out,
                        long32* film) {
    long long f{};
    int const code = video_to_film(video, transfer, phase, phase_out, f);
    if (code != 0 && film != nullptr) *film = detail::narrow_wrapping(f);
    return code;
}

int video_frames_to_timecode(long32 frame, char* out, label_type type, int drop) {
    type_info const info = classify(type);
    if (out == nullptr || (info.kind != form::timecode && info.kind != form::timecode24)) return 0;
    frame_to_timecode(frame, info.fps, drop != 0 && info.fps == 30, out);
    return 1;
}

int label_to_frames(char* label, int foot_phase, int* foot_phase_out, int phase, int* phase_out,
                    long32* frame_out, label_type type, int drop, transfer_type transfer,
                    edit_type edit, int frames_per_foot) {
    if (phase_out != nullptr) *phase_out = -1;
    type_info const info = classify(type);
    if (label == nullptr || info.kind == form::none) return 0;
    if (edit != edit_film_frames && edit != edit_video_frames) return 0;
    long long frame{};  // each form sets it
    int code = 1;
    switch (info.kind) {
        case form::timecode: {
            frame = timecode_to_frame(label, info.fps, drop != 0 && info.fps == 30);
            if (edit == edit_film_frames) {
                long long film{};
                code  = video_to_film(frame, transfer, phase, phase_out, film);
                frame = film;
            }
            break;
        }
        case form::timecode24:
        case form::footage:
        case form::footage353: {
            if (info.kind == form::timecode24) {
                frame = timecode_to_frame(label, 24, false);
            } else if (!footage_to_frame(label, info.kind, frames_per_foot, foot_phase,
                                         foot_phase_out, frame)) {
                return 0;
            }
            if (edit == edit_video_frames) {
                long long video{};
                code  = film_to_video(frame, transfer, phase, -1, video);
                frame = video;
            }
            break;
        }
        case form::none: return 0;
    }
    if (code == 0) return 0;
    if (frame_out != nullptr) *frame_out = detail::narrow_wrapping(frame);
    return code;
}

int label_plus_frames(char* out, int* foot_phase_out, int* phase_out, char* label, int foot_phase,
                      int phase, long32 delta, label_type type, int drop, int frames_per_foot,
                      unsigned char digit_flags, transfer_type transfer, edit_type edit) {
    if (out == nullptr) return 0;
    type_info const info = classify(type);
    int fp               = foot_phase;
    int ph               = -1;
    long32 n{};
    if (label_to_frames(label, foot_phase, &fp, phase, &ph, &n, type, drop, transfer, edit,
                        frames_per_foot) == 0)
        return 0;
    long long next{};
    int next_phase = phase;  // a transfer without phases carries the phase unchanged
    if (!add_frames(n, phase, delta, transfer, edit, next, next_phase)) return 0;
    if (phase_out != nullptr) *phase_out = next_phase;
    next = detail::narrow_wrapping(next);

    bool const drop_frame = drop != 0 && info.fps == 30;
    switch (info.kind) {
        case form::timecode: {
            if (edit == edit_video_frames) {
                frame_to_timecode(next, info.fps, drop_frame, out);
                return 1;
            }
            long long video{};
            int const code = film_to_video(next, transfer, next_phase, ph, video);
            if (code == 0) return 0;
            frame_to_timecode(video, info.fps, drop_frame, out);
            return code;
        }
        case form::timecode24: {
            if (edit == edit_video_frames) {
                long long film{};
                if (video_to_film(next, transfer, next_phase, nullptr, film) == 0) return 0;
                next = film;
            }
            frame_to_timecode(next, 24, false, out);
            return 1;
        }
        case form::footage:
        case form::footage353: {
            if (edit == edit_video_frames) {
                long long film{};
                if (video_to_film(next, transfer, next_phase, nullptr, film) == 0) return 0;
                next = film;
            }
            frame_to_footage(next, info.kind, frames_per_foot, digit_flags, fp, foot_phase_out,
                             out);
            return 1;
        }
        case form::none: break;
    }
    return 0;
}

}  // namespace marlix
