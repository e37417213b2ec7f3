#pragma once

/// @file
/// Pulldown cadences: a group of N film frames spread over M video frames
/// or fields. For each cadence a forward table gives, by pulldown phase row
/// and film frame, the output unit the film frame starts in; an inverse
/// table gives, by row and output unit, the film frame on show. Both count
/// from the clip's first unit, so values may be -1 or -2 (a film frame that
/// starts in the group before).

#include <cstdint>
#include <string_view>

#include "marlix/export.h"

namespace marlix {

enum class cadence_pair : std::int32_t {
    film24_to_25_frames,
    film24_to_50_fields,
    film48_to_25_frames,
    film48_to_50_fields,
    film24_to_30_frames,
    film24_to_60_fields,
    film48_to_30_frames,
    film48_to_60_fields,
};
inline constexpr int cadence_pair_count = 8;

struct cadence_table {
    int rows;
    int columns;
    signed char const* cells;  ///< rows x columns, row by row

    /// The cell, or 0 outside the table.
    int at(int row, int column) const {
        if (row < 0 || row >= rows || column < 0 || column >= columns) return 0;
        return cells[row * columns + column];
    }
};

struct cadence_shape {
    int film_frames;   ///< N: film frames in a group
    int output_units;  ///< M: video frames or fields in a group
    bool fields;       ///< output units are fields (rows chosen by twice the phase)
};

MARLIX_API cadence_shape cadence_shape_of(cadence_pair p);
MARLIX_API cadence_table cadence_forward(cadence_pair p);
MARLIX_API cadence_table cadence_inverse(cadence_pair p);

/// The cadence look-up: from a unit count n >= 0 on one side (film frames
/// forward, output units inverse), with group size group and the other
/// side's group size other: other * (n / group) + table[row][n % group].
/// The row is taken as the phase byte is, modulo 256; a row outside the
/// table reads 0. An n whose result would not fit a long long (see
/// cadence_lookup_fits) reads 0, as n < 0 does.
MARLIX_API long long cadence_lookup(cadence_table const& t, int row, long long n, int group,
                                    int other);
/// Whether cadence_lookup answers for n: n >= 0, group and other > 0, and
/// other * (n / group) plus any cell within long long.
MARLIX_API bool cadence_lookup_fits(long long n, int group, int other);

/// A cadence as "FILM:VIDEO": FILM 24 or 48, VIDEO 25p, 25i, 30p or 30i
/// (50p and 60p count as the fields of 25 and 30). False, p untouched, for
/// any other text.
MARLIX_API bool find_cadence_pair(std::string_view text, cadence_pair& p);
/// The pulldown phases of a cadence: its video frames in one group.
MARLIX_API int cadence_phase_count(cadence_pair p);
/// The film frame on show in output unit `unit` (a field or a frame,
/// counted from the clip's first) at phase `sequence`, as a number within
/// its group (0 = A); -1 for a film frame that started before the clip,
/// and for a unit or phase out of range.
MARLIX_API int cadence_frame_on_show(cadence_pair p, int sequence, int unit);
/// How a cadence picture names that film frame: "A".."Z" in a group of at
/// most 26 film frames, the number otherwise, "<" for -1.
inline constexpr int cadence_frame_name_capacity = 12;
MARLIX_API void cadence_frame_name(cadence_pair p, int frame,
                                   char (&out)[cadence_frame_name_capacity]);

}  // namespace marlix
