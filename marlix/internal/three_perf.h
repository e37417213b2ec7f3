#pragma once

// Three-perforation 35 mm film, the one home of its split: 64 perforations
// make a foot (and a keycode interval) of 21 1/3 frames, so a foot starts
// 0, 1 or 2 perforations into a frame. Keycode and feet+frames labels both
// count perforations this way.

namespace marlix::detail {

inline constexpr long long three_perf_perfs_per_foot = 64;

struct three_perf_position {
    long long feet;  // feet (keycode intervals) from perforation 0
    int frame;       // whole frames into the foot, 0..21
    int phase;       // perforations of the foot's first frame before it, 0..2
};

// Perforation p as feet, frame and phase; perforation 0 is 2 perforations
// into the first frame. Truncating division: a negative p splits as its
// count rounded toward zero.
constexpr three_perf_position three_perf_split(long long p) {
    long long const q    = p + 2;
    long long const feet = q / three_perf_perfs_per_foot;
    long long const r    = q - feet * three_perf_perfs_per_foot;
    return {feet, static_cast<int>(r / 3), static_cast<int>(2 - r % 3)};
}

// The frame and phase a three-perforation label ends with: "+FF.P", P the
// phase 1..3.
template <class Writer>
void put_three_perf_frame(Writer& out, long long frame, long long phase) {
    out.put('+');
    out.put_padded(frame, 2);
    out.put('.');
    out.put_padded(phase + 1, 0);
}

}  // namespace marlix::detail
