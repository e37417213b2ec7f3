#pragma once

// Drop-frame counting, the one home of its arithmetic: at a labelled rate of
// `nominal` frames a second, the first `dropped` frame numbers of every
// minute but each tenth are skipped (2 at 29.97, 4 at 59.94; 0 counts
// without dropping). Frame counts start at 0 with the label 00:00:00:00.
// Constant arguments fold the divisors into multiplications.

namespace marlix::detail {

// Frames of a ten-minute block: ten minutes of labels less the nine
// dropping minutes' skipped numbers.
constexpr long long drop_frame_block(long long nominal, long long dropped) {
    return 600 * nominal - 9 * dropped;
}

// Whether a minute whose last digit reads below 0 (text that is no label:
// the converters and the legacy reader each keep their own answer) counts
// as a dropping minute.
enum class negative_minute { drops, keeps };

// The frame count of a label's fields, minute by minute within its
// ten-minute block. A skipped number (frames below `dropped` at second 0
// of a dropping minute) counts back into the minute before.
constexpr long long drop_frame_frames(long long h, long long m, long long s, long long f,
                                      long long nominal, long long dropped,
                                      negative_minute rule = negative_minute::drops) {
    if (h >= 0 && m >= 0 && s >= 0) {
        // Every minute but each tenth drops `dropped` numbers.
        long long const minutes = 60 * h + m;
        return (3600 * h + 60 * m + s) * nominal + f - dropped * (minutes - minutes / 10);
    }
    // Fields below 0 (text that is no label): minute by minute within the
    // ten-minute block, which the form above equals for the others.
    long long const u     = m % 10;
    bool const dropping   = rule == negative_minute::drops ? u != 0 : u > 0;
    long long const first = 60 * nominal;  // the first minute of a block drops nothing
    long long n           = (h * 6 + m / 10) * drop_frame_block(nominal, dropped);
    if (u > 0) n += first + (u - 1) * (first - dropped);
    if (s > 0) n += dropping ? nominal - dropped + (s - 1) * nominal : s * nominal;
    return dropping && s == 0 ? n + f - dropped : n + f;
}

// The count a label's digits name for a frame count (0 or more), as if no
// frame number were dropped: hours, minutes, seconds and frames are then
// plain divisions of it by the nominal rate.
constexpr long long drop_frame_label_count(long long frames, long long nominal, long long dropped) {
    if (dropped == 0) return frames;
    long long const block = drop_frame_block(nominal, dropped);
    long long const tens = frames / block, rest = frames % block;
    // The first minute of a block drops nothing; each later one `dropped`.
    long long const later = rest < dropped ? 0 : (rest - dropped) / (block / 10);
    return frames + 9 * dropped * tens + dropped * later;
}

// One drop-frame counting: the labelled rate and the frame numbers each
// dropping minute skips.
struct drop_frame_scheme {
    long long nominal;
    long long dropped;

    // Frames of a labelled day: 24 hours of ten-minute blocks.
    constexpr long long frames_per_day() const {
        return 24 * 6 * drop_frame_block(nominal, dropped);
    }
    constexpr long long frames(long long h, long long m, long long s, long long f,
                               negative_minute rule = negative_minute::drops) const {
        return drop_frame_frames(h, m, s, f, nominal, dropped, rule);
    }
    constexpr long long label_count(long long frames) const {
        return drop_frame_label_count(frames, nominal, dropped);
    }
};

// 29.97 drop-frame: two numbers a minute at 30 labelled frames a second.
inline constexpr drop_frame_scheme ntsc_drop_frame{30, 2};
// 59.94 drop-frame: four numbers a minute at 60.
inline constexpr drop_frame_scheme ntsc_drop_frame_60{60, 4};

static_assert(ntsc_drop_frame.frames_per_day() == 2589408);
static_assert(ntsc_drop_frame_60.frames_per_day() == 2 * ntsc_drop_frame.frames_per_day());

}  // namespace marlix::detail
