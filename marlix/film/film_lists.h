#pragma once

/// @file
/// A video edit matched back to the camera negative: each edit of a list
/// finds its clip in the telecine logs, its source range becomes film
/// frames through the clip's pulldown, and the frames are printed as key
/// numbers of the stock. From those rows: the cut list in record order, the
/// pull list of the negative to pull, the missing elements and the totals.
///
/// Rounding. A video frame is num/den of a film frame (4/5 under 2:3), so a
/// cut may fall inside a film frame. Each cut starts at the film frame that
/// starts nearest in time to its source in (half up). Its length is set so that the film cut up
/// to its end is the exact film length of the record up to its end,
/// rounded half up: after every event the two differ by less than one
/// frame (at most a half). adjust is that length less the event's own
/// exact length rounded half up alone: -1, 0 or +1. With no pulldown (23.976,
/// 24, 25 frame for frame) every length is exact and adjust 0.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "marlix/edl/document.h"
#include "marlix/export.h"
#include "marlix/film/telecine_log.h"
#include "marlix/smpte/timecode.h"

namespace marlix::film {

/// Clips of logs by tape and timecode, and by name. Holds pointers into the
/// logs, which outlive it and stay unchanged.
class MARLIX_API clip_index {
public:
    struct entry {
        std::int32_t start{}, end{};  ///< frames at the log's rate, end exclusive
        std::uint32_t log{}, clip{};
    };
    /// The clips of one tape in Start order. Clips may overlap.
    class MARLIX_API tape_clips {
    public:
        std::vector<entry> clips;
        /// The clip holding frame (Start <= frame < End): of those, the
        /// latest to start; null for none. Logarithmic in the clips.
        entry const* holder(std::int32_t frame) const;
        /// Orders the clips by Start and indexes their ends for holder.
        void index();

    private:
        // latest_end_[k][j]: the latest End of clips j to j + 2^k - 1.
        std::vector<std::vector<std::int32_t>> latest_end_;
    };
    explicit clip_index(std::vector<telecine_log> const& logs);

    std::vector<telecine_log> const& logs() const { return *logs_; }
    /// The clips of a tape; null for a tape no log names.
    tape_clips const* tape(std::string_view name) const;
    /// The tapes whose names start with text, at most two (to tell a unique
    /// one).
    std::vector<std::string_view> tapes_starting(std::string_view text) const;
    /// The clips of a name.
    std::vector<entry> const* named(std::string_view name) const;

private:
    std::vector<telecine_log> const* logs_;
    std::map<std::string, tape_clips, std::less<>> tapes_;
    std::map<std::string, std::vector<entry>, std::less<>> names_;
};

struct list_options {
    /// EDL reel to log tape, as a reel map gives them.
    std::vector<std::pair<std::string, std::string>> reel_map;
    /// The running footage's start, in perforations (12+00 on 35 mm: 768).
    std::int64_t leader_perfs{};
    /// At 25: the 24:25 cadence, not frame for frame.
    bool pal_24_25 = false;
    /// Film frames each side of a cut the negative cutter takes with it
    /// (at least 0); the dupe list counts them as used.
    std::int32_t handles = 1;
    /// Video frames of the dissolves and fades a lab prints from A and B
    /// rolls; others are opticals.
    std::vector<std::int32_t> lab_lengths = {16, 24, 32, 48, 64, 96, 128};
};

/// What a list run found of an edit (beside the logs' own findings).
enum class list_finding_kind : std::int32_t {
    none,
    reel_by_prefix,      ///< warning: the reel is the start of one tape's name
    reel_by_clip_name,   ///< note: found through its * FROM CLIP NAME
    ambiguous_reel,      ///< warning: the start of several tapes' names
    rate_differs,        ///< error: a log's rate counts other frames than the list's
    rounding_past_clip,  ///< warning: the rounding takes a frame outside the clip
    dupes_cut_short,     ///< warning: the dupe list stops at max_dupe_uses
};
inline constexpr int list_finding_kind_count =
    static_cast<int>(list_finding_kind::dupes_cut_short) + 1;
MARLIX_API char const* finding_name(list_finding_kind k);
MARLIX_API severity severity_of(list_finding_kind k);

struct list_finding {
    list_finding_kind kind = list_finding_kind::none;
    std::int32_t event     = -1;
    std::uint32_t line{};  ///< the edit's line in the list
    std::string what;      ///< the tape, reel or clip
    severity level() const { return severity_of(kind); }
};
MARLIX_API std::string describe(list_finding const& f);

/// One cut of the cut list.
struct cut_row {
    std::int32_t event{};
    std::uint32_t line{};  ///< the edit's line in the list
    std::string reel;
    smpte::timecode record_in, record_out;  ///< out exclusive
    smpte::timecode source_in, source_out;  ///< out exclusive, as the list gives them
    bool matched = false;                   ///< a clip with key numbers was found
    std::string clip, tape, camroll, labroll, scene, take;
    std::string key_in, key_out;                 ///< compact key numbers; key_out is the last frame
    std::string ink_in, ink_out;                 ///< where the log has ink numbers
    std::string key_prefix;                      ///< the roll of the key numbers
    label_t stock = LABEL_NONE;                  ///< the stock of the clip's log
    std::int32_t first_sample{}, last_sample{};  ///< of key_in and key_out
    std::int64_t frames{};                       ///< film frames cut
    std::string feet_frames;                     ///< frames as FT+FR
    std::int64_t running_frames{};               ///< leader and cuts up to this one's end
    std::string running_feet;                    ///< running_frames as FT+FR
    std::int32_t adjust{};                       ///< -1, 0 or +1
    std::string notes;                           ///< "; "-parted
};

/// A piece of negative to pull: the frames of one roll the cuts use, cuts
/// that overlap or abut on the roll joined.
struct pull_row {
    std::string labroll, camroll, clip, key_prefix;
    std::string key_in, key_out;  ///< the last frame inclusive
    std::int32_t first_sample{}, last_sample{};
    std::int64_t frames{};
    std::vector<std::int32_t> events;
};

/// What a cut needs and the logs do not give.
enum class missing_kind : std::int32_t {
    no_clip,         ///< no log clip for the edit's reel and source range
    no_key_numbers,  ///< the clip has no key numbers
    outside_clip,    ///< the source runs past the clip's range
};
inline constexpr int missing_kind_count = static_cast<int>(missing_kind::outside_clip) + 1;
MARLIX_API char const* missing_name(missing_kind k);

struct missing_row {
    std::int32_t event{};
    std::uint32_t line{};
    std::string reel;
    missing_kind kind = missing_kind::no_clip;
    std::string clip;  ///< the clip found, where one was
    smpte::timecode source_in, source_out;
};

/// The most uses (an event in a row) the dupe list holds; the list stops
/// there, with a finding.
inline constexpr std::size_t max_dupe_uses = std::size_t{1} << 20;

/// Frames of the negative two or more cuts use, their handles counted: a
/// dupe of them is needed. One row a run of frames the same cuts share.
struct dupe_row {
    std::string labroll, camroll, clip, key_prefix;
    label_t stock = LABEL_NONE;
    std::string key_in, key_out;  ///< the last frame inclusive
    std::int32_t first_sample{}, last_sample{};
    std::int64_t frames{};
    std::vector<std::int32_t> events;  ///< in record order
};

/// The film one side of an effect needs.
struct optical_side {
    std::string reel, clip, labroll, camroll, key_prefix;
    bool black   = false;                   ///< a black reel: leader, no film
    bool matched = false;                   ///< key numbers were found
    smpte::timecode source_in, source_out;  ///< out exclusive
    std::string key_in, key_out;            ///< the last frame inclusive
    std::int32_t first_sample{}, last_sample{};
    std::int64_t frames{};  ///< film frames
};

enum class optical_kind : std::int32_t { dissolve, wipe, fade_in, fade_out, speed };
inline constexpr int optical_kind_count = static_cast<int>(optical_kind::speed) + 1;
MARLIX_API char const* optical_name(optical_kind k);

/// An event with an effect. A dissolve or wipe of n video frames runs from
/// the incoming event's record in, as the list lays it: the outgoing side
/// needs the n frames after its cut's end, the incoming side the first n of
/// its cut. An M2 speed needs the source its speed runs through from the
/// M2 entry.
struct optical_row {
    std::int32_t event{};
    std::uint32_t line{};
    optical_kind kind = optical_kind::dissolve;
    std::int32_t wipe{};  ///< the wipe code
    /// A dissolve or fade of a length the lab prints (A/B roll); else an
    /// optical.
    bool lab = false;
    std::int32_t length{};       ///< video frames of the effect
    std::int64_t film_frames{};  ///< its film frames, half up
    smpte::timecode record_in, record_out;
    smpte::timecode centre;       ///< record timecode of the effect's middle frame
    std::string centre_feet;      ///< running footage of the middle, FT+FR
    std::int32_t speed_tenths{};  ///< frames per second x 10: the M2 speed, else the list's
    /// The outgoing and the incoming side; an M2 speed has only the incoming.
    optical_side out, in;
    bool has_out = false;
};

/// A picture cut's sound: the log's Soundroll, and its Sound TC (the sound
/// timecode at the clip's Start) moved on by the cut's offset in the clip.
/// Sound timecodes count the log's rate; at 29.97 and 59.94 the Sound TC's
/// separator gives their mode (';', '.' or ',' drop-frame, ':' not).
struct sound_row {
    std::int32_t event{};
    std::uint32_t line{};
    std::string reel, clip, soundroll;
    bool found = false;  ///< a clip with a Soundroll and a Sound TC that reads, at the list's rate
    smpte::timecode sound_in, sound_out;  ///< out exclusive, at the sound's rate and mode
    /// The record's frames in the sound's mode where found, else as the
    /// list gives them.
    smpte::timecode record_in, record_out;
    edl::channel_set channels;  ///< the picture edit's audio, else A1 A2
};

struct list_totals {
    std::int64_t events{};
    std::int64_t frames{};  ///< film frames cut
    std::string feet_frames;
    std::int64_t record_frames{};  ///< video frames of the record
    std::string running_time;      ///< the record's length as a timecode
};

struct film_lists {
    /// The stock footage is counted in: the first log's. Each cut's key
    /// numbers are of its own log's stock.
    label_t stock = LABEL_NONE;
    std::vector<cut_row> cuts;  ///< in record order
    std::vector<pull_row> pulls;
    std::vector<missing_row> missing;
    std::vector<dupe_row> dupes;        ///< by roll and key
    std::vector<optical_row> opticals;  ///< in record order
    std::vector<sound_row> sounds;      ///< in record order, one a picture cut
    list_totals totals;
    std::vector<list_finding> findings;
};

/// The lists of one picture reel: the video edits of a list, matched
/// through the index, at the list's rate. Edits of no record length (the
/// outgoing side of a transition) and audio edits give no cut.
MARLIX_API film_lists make_lists(edl::document const& list, clip_index const& index,
                                 list_options const& options = {});

/// The audio list of the sound rolls: one event a found sound row, at the
/// sound timecode's rate (the first found row's), record times of the
/// picture. Write it with edl::write.
MARLIX_API edl::document audio_edl(film_lists const& lists, std::string_view title);

/// A step from one version of a cut to the next: a piece added, removed,
/// or lengthened or shortened at its head or tail.
enum class change_kind : std::int32_t { add, remove, lengthen, shorten };
inline constexpr int change_kind_count = static_cast<int>(change_kind::shorten) + 1;
MARLIX_API char const* change_name(change_kind k);
enum class change_end : std::int32_t { whole, head, tail };
inline constexpr int change_end_count = static_cast<int>(change_end::tail) + 1;

struct change_row {
    change_kind kind = change_kind::add;
    change_end end   = change_end::whole;  ///< head or tail for a trim
    /// Where, in the previous cut's running footage (film frames from its
    /// leader's start): a removed piece's start, the start of a piece
    /// trimmed at its head, the end of one trimmed at its tail, or the point
    /// an added piece goes in at.
    std::int64_t at{};
    std::string at_feet;
    std::int32_t event{};  ///< the new cut's; the previous one's for a removal or shortening
    std::string reel, clip, labroll, camroll, key_prefix;
    /// The piece's film (all of an added or removed one, the frames a trim
    /// adds or takes); the last frame inclusive.
    std::string key_in, key_out;
    std::int32_t first_sample{}, last_sample{};
    std::int64_t frames{};
    /// A piece without key numbers: its source, out exclusive.
    smpte::timecode source_in, source_out;
};

/// The changes from a previous version of a picture reel to the current
/// one, both made by make_lists with the same logs and options. Applied in
/// record order to the previous cut they give the current one: each
/// position is in the previous cut, additions at one position go in in
/// their order. A piece kept is matched by its roll and frames it still
/// shares; a piece moved is removed and added. Pieces without key numbers
/// count by reel and source timecode, black by its length; cuts of no film
/// frame are left out. Where the two versions are too long to align (past
/// 2^22 pairs of pieces) every piece is removed and added.
struct change_list {
    std::vector<change_row> rows;  ///< in record order
    /// Indices of rows by lab roll, camera roll and key number.
    std::vector<std::uint32_t> reel_order;
};
MARLIX_API change_list make_change_list(film_lists const& previous, film_lists const& current);

/// Frames of a stock as FT+FR ("12+00"): feet of its perforations a foot,
/// then the whole frames of the rest.
MARLIX_API std::string feet_frames_text(std::int64_t frames, stock_geometry g);

}  // namespace marlix::film
