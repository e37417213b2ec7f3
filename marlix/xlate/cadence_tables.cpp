#include "marlix/xlate/cadence_tables.h"

#include <array>
#include <climits>
#include <cstdio>
#include <limits>

namespace marlix {

namespace {

// The cadence rule. Film frame m of a group starts at output unit
// B(m) = M * floor(m / N) + B0[m mod N]. A row r (the offset of the clip's
// first unit in the group) counts film frames from its first film frame
// c(r): A(r), the first film frame starting at or after r, or in the rows
// listed D(r), the film frame on show at r. Forward cell (r, k):
// B(c(r) + k) - r. Inverse cell (r, j): D(r + j) - c(r), or A(r + j) - c(r)
// for the 48-to-frames pairs, where a video frame holding two film frames
// maps to the first that starts in it.

struct pair_rule {
    int n, m;
    bool fields;
    int inverse_rows;
    bool inverse_first_start;  // inverse cells by A rather than D
};

constexpr pair_rule rule_of(cadence_pair p) {
    switch (p) {
        case cadence_pair::film24_to_25_frames: return {24, 25, false, 25, false};
        case cadence_pair::film24_to_50_fields: return {24, 50, true, 50, false};
        case cadence_pair::film48_to_25_frames: return {48, 25, false, 25, true};
        case cadence_pair::film48_to_50_fields: return {48, 50, true, 50, false};
        case cadence_pair::film24_to_30_frames: return {4, 5, false, 5, false};
        case cadence_pair::film24_to_60_fields: return {4, 10, true, 10, false};
        case cadence_pair::film48_to_30_frames: return {8, 5, false, 5, true};
        case cadence_pair::film48_to_60_fields: return {8, 10, true, 9, false};
    }
    return {1, 1, false, 1, false};
}

constexpr int base0(cadence_pair p, int k) {
    switch (p) {
        case cadence_pair::film24_to_25_frames: return k;
        case cadence_pair::film24_to_50_fields: return 2 * k + (k >= 12 ? 1 : 0);
        case cadence_pair::film48_to_25_frames: return k / 2 + (k == 47 ? 1 : 0);
        case cadence_pair::film48_to_50_fields: return k + (k >= 24 ? 1 : 0);
        case cadence_pair::film24_to_30_frames: return k;
        case cadence_pair::film24_to_60_fields:
            return k == 0 ? 0 : k == 1 ? 2 : k == 2 ? 5 : 7;  // 3:2
        case cadence_pair::film48_to_30_frames: return k / 2 + (k == 7 ? 1 : 0);
        case cadence_pair::film48_to_60_fields: return k + (k >= 4 ? 1 : 0);
    }
    return 0;
}

constexpr int start_of(cadence_pair p, int m) {
    pair_rule const r = rule_of(p);
    return r.m * (m / r.n) + base0(p, m % r.n);
}

constexpr int first_starting_at_or_after(cadence_pair p, int v) {  // A(v)
    int m = 0;
    while (start_of(p, m) < v) ++m;
    return m;
}

constexpr int on_show_at(cadence_pair p, int v) {  // D(v)
    int m = 0;
    while (start_of(p, m + 1) <= v) ++m;
    return m;
}

template <std::size_t N>
constexpr bool listed(int const (&rows)[N], int r) {
    for (int x : rows)
        if (x == r) return true;
    return false;
}

// Rows whose first film frame is D(r). Three rows are ours to choose: the
// forward row 4 of 24-to-30 frames and of 24-to-60 fields, and the forward
// row 24 of 48-to-50 fields. Each follows its inverse row, so that a row's
// forward and inverse tables count film frames from the same first frame
// and a film frame's first unit maps back to that film frame.
constexpr int none[]       = {-1};
constexpr int r24_25[]     = {24};
constexpr int r24_50[]     = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 48, 49};
constexpr int r48_50_fwd[] = {49};  // row 24 follows its inverse: A(24)
constexpr int r48_50_inv[] = {49};
constexpr int r24_30[]     = {4};                 // forward row 4 follows its inverse: D(4)
constexpr int r24_60[]     = {1, 3, 4, 6, 8, 9};  // forward row 4 likewise
constexpr int r48_60_fwd[] = {9};
constexpr int r48_60_inv[] = {4};  // inverse row 8 reads as row 4

constexpr bool uses_on_show(cadence_pair p, int r, bool forward) {
    switch (p) {
        case cadence_pair::film24_to_25_frames: return listed(r24_25, r);
        case cadence_pair::film24_to_50_fields: return listed(r24_50, r);
        case cadence_pair::film48_to_25_frames: return listed(none, r);
        case cadence_pair::film48_to_50_fields:
            return forward ? listed(r48_50_fwd, r) : listed(r48_50_inv, r);
        case cadence_pair::film24_to_30_frames: return listed(r24_30, r);
        case cadence_pair::film24_to_60_fields: return listed(r24_60, r);
        case cadence_pair::film48_to_30_frames: return listed(none, r);
        case cadence_pair::film48_to_60_fields:
            return forward ? listed(r48_60_fwd, r) : listed(r48_60_inv, r);
    }
    return false;
}

constexpr int first_film_frame(cadence_pair p, int r, bool forward) {
    if (!forward && p == cadence_pair::film48_to_60_fields && r == 8) r = 4;  // as row 4
    return uses_on_show(p, r, forward) ? on_show_at(p, r) : first_starting_at_or_after(p, r);
}

template <cadence_pair P>
struct generated {
    static constexpr pair_rule rule = rule_of(P);
    std::array<signed char, static_cast<std::size_t>(rule.m* rule.n)> forward{};
    std::array<signed char, static_cast<std::size_t>(rule.inverse_rows* rule.m)> inverse{};

    constexpr generated() {
        for (int r = 0; r < rule.m; ++r) {
            int const c = first_film_frame(P, r, true);
            for (int k = 0; k < rule.n; ++k)
                forward[static_cast<std::size_t>(r * rule.n + k)] =
                    static_cast<signed char>(start_of(P, c + k) - r);
        }
        for (int r = 0; r < rule.inverse_rows; ++r) {
            int const c   = first_film_frame(P, r, false);
            int const row = P == cadence_pair::film48_to_60_fields && r == 8 ? 4 : r;
            for (int j = 0; j < rule.m; ++j) {
                int const f = rule.inverse_first_start ? first_starting_at_or_after(P, row + j)
                                                       : on_show_at(P, row + j);
                inverse[static_cast<std::size_t>(r * rule.m + j)] = static_cast<signed char>(f - c);
            }
        }
    }
};

constexpr generated<cadence_pair::film24_to_25_frames> t24_25;
constexpr generated<cadence_pair::film24_to_50_fields> t24_50;
constexpr generated<cadence_pair::film48_to_25_frames> t48_25;
constexpr generated<cadence_pair::film48_to_50_fields> t48_50;
constexpr generated<cadence_pair::film24_to_30_frames> t24_30;
constexpr generated<cadence_pair::film24_to_60_fields> t24_60;
constexpr generated<cadence_pair::film48_to_30_frames> t48_30;
constexpr generated<cadence_pair::film48_to_60_fields> t48_60;

// The printed rows the rule must reproduce, checked as the library builds.
static_assert(t24_30.forward[4] == 0 && t24_30.forward[5] == 1 && t24_30.forward[6] == 2 &&
              t24_30.forward[7] == 4);                             // row 1: 0 1 2 4
static_assert(t24_60.forward[4] == -1 && t24_60.forward[7] == 6);  // row 1: -1 1 4 6
static_assert(t48_25.inverse[24] == 47);                           // row 0 ends 46, 47

template <class T>
cadence_table forward_of(T const& t) {
    return {T::rule.m, T::rule.n, t.forward.data()};
}
template <class T>
cadence_table inverse_of(T const& t) {
    return {T::rule.inverse_rows, T::rule.m, t.inverse.data()};
}

}  // namespace

cadence_shape cadence_shape_of(cadence_pair p) {
    pair_rule const r = rule_of(p);
    return {r.n, r.m, r.fields};
}

cadence_table cadence_forward(cadence_pair p) {
    switch (p) {
        case cadence_pair::film24_to_25_frames: return forward_of(t24_25);
        case cadence_pair::film24_to_50_fields: return forward_of(t24_50);
        case cadence_pair::film48_to_25_frames: return forward_of(t48_25);
        case cadence_pair::film48_to_50_fields: return forward_of(t48_50);
        case cadence_pair::film24_to_30_frames: return forward_of(t24_30);
        case cadence_pair::film24_to_60_fields: return forward_of(t24_60);
        case cadence_pair::film48_to_30_frames: return forward_of(t48_30);
        case cadence_pair::film48_to_60_fields: return forward_of(t48_60);
    }
    return {0, 0, nullptr};
}

cadence_table cadence_inverse(cadence_pair p) {
    switch (p) {
        case cadence_pair::film24_to_25_frames: return inverse_of(t24_25);
        case cadence_pair::film24_to_50_fields: return inverse_of(t24_50);
        case cadence_pair::film48_to_25_frames: return inverse_of(t48_25);
        case cadence_pair::film48_to_50_fields: return inverse_of(t48_50);
        case cadence_pair::film24_to_30_frames: return inverse_of(t24_30);
        case cadence_pair::film24_to_60_fields: return inverse_of(t24_60);
        case cadence_pair::film48_to_30_frames: return inverse_of(t48_30);
        case cadence_pair::film48_to_60_fields: return inverse_of(t48_60);
    }
    return {0, 0, nullptr};
}

bool cadence_lookup_fits(long long n, int group, int other) {
    // A cell is a signed char: the group's first unit may be at most
    // SCHAR_MAX short of the limit.
    return n >= 0 && group > 0 && other > 0 &&
           n / group <= (std::numeric_limits<long long>::max() - SCHAR_MAX) / other;
}

long long cadence_lookup(cadence_table const& t, int row, long long n, int group, int other) {
    if (!cadence_lookup_fits(n, group, other)) return 0;
    int const r = row & 0xff;  // the phase enters as an unsigned byte
    return other * (n / group) + t.at(r, static_cast<int>(n % group));
}

bool find_cadence_pair(std::string_view text, cadence_pair& p) {
    std::size_t const colon = text.find(':');
    if (colon == text.npos) return false;
    std::string_view const film = text.substr(0, colon), video = text.substr(colon + 1);
    bool const f24 = film == "24", f48 = film == "48";
    if (!f24 && !f48) return false;
    if (video == "25p")
        p = f24 ? cadence_pair::film24_to_25_frames : cadence_pair::film48_to_25_frames;
    else if (video == "25i" || video == "50p")
        p = f24 ? cadence_pair::film24_to_50_fields : cadence_pair::film48_to_50_fields;
    else if (video == "30p")
        p = f24 ? cadence_pair::film24_to_30_frames : cadence_pair::film48_to_30_frames;
    else if (video == "30i" || video == "60p")
        p = f24 ? cadence_pair::film24_to_60_fields : cadence_pair::film48_to_60_fields;
    else
        return false;
    return true;
}

int cadence_phase_count(cadence_pair p) {
    cadence_shape const shape = cadence_shape_of(p);
    return shape.fields ? shape.output_units / 2 : shape.output_units;
}

int cadence_frame_on_show(cadence_pair p, int sequence, int unit) {
    if (sequence < 0 || sequence >= cadence_phase_count(p) || unit < 0) return -1;
    cadence_shape const shape = cadence_shape_of(p);
    int const row             = shape.fields ? 2 * sequence : sequence;
    long long const f =
        cadence_lookup(cadence_inverse(p), row, unit, shape.output_units, shape.film_frames);
    if (f < 0) return -1;
    // A film frame whose first unit lies before the clip started earlier.
    long long const starts =
        cadence_lookup(cadence_forward(p), row, f, shape.film_frames, shape.output_units);
    if (starts < 0) return -1;
    return static_cast<int>(f % shape.film_frames);
}

void cadence_frame_name(cadence_pair p, int frame, char (&out)[cadence_frame_name_capacity]) {
    if (frame < 0)
        std::snprintf(out, sizeof out, "<");
    else if (cadence_shape_of(p).film_frames <= 26)
        std::snprintf(out, sizeof out, "%c", static_cast<char>('A' + frame % 26));
    else
        std::snprintf(out, sizeof out, "%d", frame);
}

}  // namespace marlix
