#pragma once

/// @file
/// Telecine logs (Avid Log Exchange, ALE): the heading, the columns and one
/// clip a data line, read and checked. A clip ties a tape's timecode range
/// to the camera negative's key numbers: its first video frame (Start)
/// shows the film frame KN Start names, in the pulldown phase Pullin names.
///
/// A log is a value: it owns its text, copies and moves freely, and
/// distinct logs may be used from different threads at once.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "marlix/export.h"
#include "marlix/smpte/timecode.h"
#include "marlix/types/label_types.h"

namespace marlix::film {

/// How grave a finding is: a note reports what the reading decided, a
/// warning what looks wrong but reads, an error what does not read.
enum class severity : std::int32_t { note, warning, error };

/// What a finding says of a log. The zero is none.
enum class log_finding_kind : std::int32_t {
    none,
    // errors
    no_data,           ///< no Column or Data section
    field_delim,       ///< FIELD_DELIM other than TABS
    unknown_fps,       ///< an FPS no timecode rate counts, or none
    no_stock,          ///< key numbers and no stock: no FILM_FORMAT, no stock given
    missing_column,    ///< no Start or no Tape column
    bad_timecode,      ///< a Start or End that does not read at the log's rate
    end_before_start,  ///< End not after Start
    bad_pullin,        ///< a Pullin other than A, B, X, C or D
    bad_key_number,    ///< a KN Start or KN End that is no key number of the stock
    feet_only_key,     ///< footage without a roll prefix ("-0003+00")
    // warnings
    unknown_film_format,   ///< a FILM_FORMAT that names no stock known here
    extra_fields,          ///< a data line with more fields than columns (kept)
    duration_mismatch,     ///< Duration differs from End - Start
    kn_duration_mismatch,  ///< KN Duration differs from the film frames of Start..End
    kn_end_mismatch,       ///< KN End fits neither the log's rule nor the clip's frames
    key_roll_changes,      ///< KN End on another roll than KN Start
    tape_overlap,          ///< a clip's range overlaps the clip before it on one tape
    missing_key_number,    ///< a clip without KN Start
    missing_tape,          ///< a clip without a Tape
    // notes
    kn_end_inclusive,  ///< the log's KN End names the clip's last frame
    kn_end_exclusive,  ///< the log's KN End names the frame after the clip
};
inline constexpr int log_finding_kind_count =
    static_cast<int>(log_finding_kind::kn_end_exclusive) + 1;

/// note, warning or error.
MARLIX_API severity severity_of(log_finding_kind k);
/// The kind's name as the tool's JSON gives it ("bad_key_number").
MARLIX_API char const* finding_name(log_finding_kind k);

struct log_finding {
    log_finding_kind kind = log_finding_kind::none;
    std::uint32_t line{};  ///< 1-based; 0 for the log as a whole
    /// What the kind is about: the column or heading key, the text that did
    /// not read, or the reason it did not.
    std::string what;
    /// Counts, by kind: frames found and expected (a KN End between frame
    /// lines counts the frames before it), the clips of the decided rule and
    /// against it.
    std::int64_t first{};
    std::int64_t second{};

    severity level() const { return severity_of(kind); }
};

/// The whole message of a finding, without its line.
MARLIX_API std::string describe(log_finding const& f);

/// Where a clip's Start falls in the 2:3 cadence: the video frame showing
/// fields A1A2, B1B2, B3C1, C2D1 or D2D3.
enum class pullin : std::int32_t { a, b, x, c, d };

/// A key number read: the roll prefix and the perforation count the
/// stock's converter gives it.
struct key_number {
    bool present = false;
    std::string prefix;     ///< "KU229012"
    std::int32_t sample{};  ///< perforations (frames on 16 mm)
};

struct clip {
    std::uint32_t line{};  ///< 1-based line of its data
    /// The text of each column, in the log's column order (empty where the
    /// line had none).
    std::vector<std::string> fields;
    bool has_range = false;      ///< Start and End read, End after Start
    smpte::timecode start, end;  ///< End exclusive, at the log's rate
    film::pullin phase = film::pullin::a;
    key_number kn_start, kn_end;
};

/// The standard columns a log may carry, found by name in any case.
enum class column : std::int32_t {
    name,
    tracks,
    start,
    end,
    duration,
    tape,
    source_file,
    kn_start,
    kn_end,
    kn_duration,
    ink_number,
    camroll,
    labroll,
    soundroll,
    sound_tc,
    pullin,
    pullout,
    scene,
    take,
};
inline constexpr int column_count = static_cast<int>(column::take) + 1;
static_assert(column_count == 19, "telecine_log::index starts each column at -1");
/// The column's name as logs write it ("KN Start").
MARLIX_API char const* column_name(column c);

/// Whether KN End names the frame after a clip or its last frame.
enum class kn_end_rule : std::int32_t { unknown, exclusive, inclusive };

struct telecine_log {
    /// Heading pairs in order: key, value.
    std::vector<std::pair<std::string, std::string>> heading;
    std::vector<std::string> columns;  ///< as the Column line names them
    /// Index into columns of each standard column, -1 where absent.
    std::int32_t index[column_count] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                        -1, -1, -1, -1, -1, -1, -1, -1, -1};
    smpte::rate rate     = smpte::no_rate;  ///< FPS, drop-frame where its timecodes say so
    label_t stock        = LABEL_NONE;      ///< from FILM_FORMAT, or the stock given
    kn_end_rule end_rule = kn_end_rule::unknown;
    std::vector<clip> clips;
    std::vector<log_finding> findings;  ///< in line order, the log's own last

    /// The text of a clip's standard column; empty where absent.
    MARLIX_API std::string_view field(clip const& c, column col) const;
    /// The heading value of a key (case-insensitive); empty where absent.
    MARLIX_API std::string_view heading_value(std::string_view key) const;
    /// No finding is an error.
    MARLIX_API bool ok() const;
};

struct log_options {
    /// The stock of the key numbers where FILM_FORMAT names none (65 mm),
    /// or to use instead of it; LABEL_NONE to go by FILM_FORMAT.
    label_t stock = LABEL_NONE;
    /// The rate of the log where its FPS is absent or to be overruled
    /// (no_rate: FPS decides).
    smpte::rate rate = smpte::no_rate;
    /// At 25: the 24:25 cadence, not frame for frame.
    bool pal_24_25 = false;
};

/// Reads and checks a log. Sections Heading, Column and Data; fields
/// parted by tabs; blank lines skipped; LF, CRLF or CR ends; a BOM dropped.
/// Never fails: what does not read is a finding.
MARLIX_API telecine_log read_log(std::string_view bytes, log_options options = {});

/// The stock a FILM_FORMAT value names ("35mm, 4 perf", "16mm"), in any
/// case and blanks; LABEL_NONE for another.
MARLIX_API label_t stock_of_film_format(std::string_view text);

/// The geometry of a keycode stock: perforations a frame and a foot (64 on
/// 35 mm and 65 mm, 40 on 16 mm, whose samples are frames). Zeros for a type
/// that is no keycode stock.
struct stock_geometry {
    std::int32_t perfs_per_frame{};
    std::int32_t perfs_per_foot{};
};
MARLIX_API stock_geometry geometry_of(label_t stock);
/// Footage as FT+FR ('&' or '.' for '+'), or a bare count of frames, in
/// perforations of the stock; -1 when it does not read.
MARLIX_API std::int64_t read_footage(std::string_view text, stock_geometry g);

/// How the video frames of a clip show its film frames, for a log of rate
/// r: 2:3 at 29.97, 30 (fields) and 59.94, 60 (frames, A B C D on 2 3 2 3),
/// from the clip's Pullin; 24:25 at 25 when asked, frame for frame else;
/// one to one at 23.976 and 24. At 60 a Pullin letter names the same place
/// in the cycle as at 30 (B: the Start is the cycle's third frame). Film
/// frames count from the one Start's first field shows (KN Start), video
/// frames from Start.
struct cadence {
    enum class kind : std::int32_t { one_to_one, two_three, two_three_progressive, pal_24_25 };
    cadence::kind how = kind::one_to_one;
    std::int32_t offset{};          ///< cycle position of Start: video frames, fields at 60
    std::int32_t num = 1, den = 1;  ///< film frames a video frame, exactly
};
MARLIX_API cadence cadence_of(smpte::rate r, film::pullin p, bool pal_24_25);
/// The film frame the first field of video frame n shows, and the one its
/// last field shows. n is taken within +-2^40.
MARLIX_API std::int64_t first_film_frame(cadence const& c, std::int64_t video_frame);
MARLIX_API std::int64_t last_film_frame(cadence const& c, std::int64_t video_frame);
/// The film frame that starts nearest in time to the start of video frame
/// n (film running evenly at num/den frames a video frame; half up).
MARLIX_API std::int64_t nearest_film_frame(cadence const& c, std::int64_t video_frame);

}  // namespace marlix::film
