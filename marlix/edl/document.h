#pragma once

/// @file
/// CMX 3600 edit decision lists as values: a document of edits, the lines
/// kept around them, and the findings its reading and checking gave. read()
/// takes the bytes of a list and the frame rate (a list does not carry it);
/// write() gives the canonical text, which reads back to the same document.
///
/// A document is a value: it owns its text, copies and moves freely, and
/// distinct documents may be used from different threads at once. Texts of
/// a document (reels, clip names, kept lines) are spans into its own UTF-8
/// text, read with document::text().

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "marlix/export.h"
#include "marlix/smpte/timecode.h"

namespace marlix::edl {

/// Bytes [offset, offset + size) of a document's text.
struct span {
    std::uint32_t offset{};
    std::uint32_t size{};
};

/// The width of the reel column: 8 characters in CMX 3600, 16, 32 or 128 in
/// the File16, File32 and File128 layouts.
enum class layout : std::int32_t { cmx_3600, file_16, file_32, file_128 };
/// 8, 16, 32 or 128.
MARLIX_API std::size_t reel_width(layout l);

/// The channels an edit records: video, and audio channels 1..99.
struct channel_set {
    static constexpr int max_audio = 99;

    bool video = false;
    std::uint64_t audio_low{};   ///< bit n-1: audio channel n, 1..64
    std::uint64_t audio_high{};  ///< bit n-65: audio channel n, 65..99

    /// Whether audio channel n (1..99) is in the set; false outside 1..99.
    constexpr bool audio(int n) const {
        if (n < 1 || n > max_audio) return false;
        return n <= 64 ? (audio_low >> (n - 1) & 1u) != 0 : (audio_high >> (n - 65) & 1u) != 0;
    }
    /// Adds audio channel n (1..99); nothing outside.
    constexpr void add_audio(int n) {
        if (n < 1 || n > max_audio) return;
        if (n <= 64)
            audio_low |= std::uint64_t{1} << (n - 1);
        else
            audio_high |= std::uint64_t{1} << (n - 65);
    }
    constexpr bool empty() const { return !video && audio_low == 0 && audio_high == 0; }
    friend constexpr bool operator==(channel_set a, channel_set b) {
        return a.video == b.video && a.audio_low == b.audio_low && a.audio_high == b.audio_high;
    }
    friend constexpr bool operator!=(channel_set a, channel_set b) { return !(a == b); }
};

enum class transition_kind : std::int32_t {
    cut,             ///< C
    dissolve,        ///< D
    wipe,            ///< W and a three-digit wipe code
    key,             ///< K: the key's foreground
    key_background,  ///< K B (or KB)
    key_overlay,     ///< K O (or KO)
};

struct transition {
    transition_kind kind = transition_kind::cut;
    std::int32_t wipe{};          ///< the wipe code, 0..999
    bool fade = false;            ///< the (F) flag
    std::int32_t frames{};        ///< its length, 0..99999
    bool frames_written = false;  ///< a length was written (a cut may have none)
};

/// What an M2 line says of its edit.
struct motion {
    span reel;
    std::int32_t speed_tenths{};  ///< frames per second x 10; negative in reverse, 0 a freeze
    smpte::timecode entry;        ///< the source timecode where the motion starts
};

/// What a SPLIT: line says: the audio or the video starts later by a delay.
struct split_delay {
    bool video = false;  ///< VIDEO DELAY= (else AUDIO DELAY=)
    std::int32_t frames{};
};

/// One line of an event: a cut, one side of a dissolve, wipe or key.
struct edit {
    std::int32_t event{};  ///< its event number, 0..999999
    std::uint32_t line{};  ///< 1-based line of the document
    span reel;
    channel_set channels;  ///< as the channel field names them
    channel_set added;     ///< the audio channels AUD lines add
    transition how;
    /// Source and record timecodes, outs exclusive, at the rate and
    /// drop-frame mode in force at the edit.
    smpte::timecode source_in, source_out, record_in, record_out;
    bool has_motion = false;
    motion speed;  ///< meaningful with has_motion
    bool has_split = false;
    split_delay split;                          ///< meaningful with has_split
    span clip, to_clip, key_clip, source_file;  ///< from the * comments, empty without
    /// The kept lines after this edit: document::lines[first_line, first_line + line_count).
    std::uint32_t first_line{};
    std::uint32_t line_count{};

    /// Every channel: the field's and the AUD lines'.
    constexpr channel_set all_channels() const {
        channel_set c = channels;
        c.audio_low |= added.audio_low;
        c.audio_high |= added.audio_high;
        return c;
    }
};

/// A line kept as it stood, apart from the event lines.
enum class line_kind : std::int32_t {
    comment,          ///< a '*' line or EFFECTS NAME IS
    motion,           ///< M2 (rewritten from the edit it explains)
    audio,            ///< AUD
    split,            ///< SPLIT:
    frame_code_mode,  ///< FCM: (rewritten from its mode)
    other,            ///< a line not understood (a finding says so), kept as a comment
};

struct kept_line {
    line_kind kind = line_kind::comment;
    std::uint32_t line{};  ///< 1-based line of the document
    span text;             ///< the line without its end and trailing blanks
    /// frame_code_mode: 1 for drop-frame, 0 for non-drop; motion: the
    /// index of the edit it explains.
    std::int32_t value{};
};

enum class severity : std::int32_t { warning, error };

/// What a finding says. The zero is none.
enum class finding_kind : std::int32_t {
    none,
    // errors
    unknown_rate,         ///< the rate asked for is no rate timecodes count
    bad_timecode,         ///< a timecode not valid at the event's rate and mode
    record_reversed,      ///< record in after record out
    zero_length,          ///< record in equal to record out outside a transition or key
    length_mismatch,      ///< source and record lengths differ with no M2
    speed_mismatch,       ///< an M2 speed that explains no source span
    transition_too_long,  ///< a transition longer than its edit
    reel_too_long,        ///< a reel longer than 128 characters
    unreadable_event,     ///< a line that looks like an event but does not read
    unreadable_motion,    ///< an M2 line that does not read, or follows no edit
    drop_frame_at_rate,   ///< FCM: DROP FRAME at a rate without drop-frame
    // warnings
    record_overlap,       ///< an edit starts before the previous one on a channel ends
    record_gap,           ///< an edit starts after the previous one on a channel ends
    out_of_record_order,  ///< an event recorded before the event above it
    event_reused,         ///< an event number used again away from its event's lines
    unknown_line,         ///< a line that is none of the above
    latin1_text,          ///< not UTF-8: read as ISO-8859-1
};
inline constexpr int finding_kind_count = static_cast<int>(finding_kind::latin1_text) + 1;

/// error or warning.
MARLIX_API severity severity_of(finding_kind k);
/// The kind's name as the tool's JSON gives it ("bad_timecode").
MARLIX_API char const* finding_name(finding_kind k);

struct finding {
    finding_kind kind = finding_kind::none;
    std::uint32_t line{};     ///< 1-based; 0 for the document as a whole
    std::uint32_t column{};   ///< 1-based where known, else 0
    std::int32_t event = -1;  ///< the event number, -1 outside any event
    /// Details, by kind: bad_timecode: which (0..3 source in, source out,
    /// record in, record out; 4 the M2 entry) and the timecode reason;
    /// lengths and frame counts in first and second; the channel (0 video,
    /// n audio n); a static text naming what did not read.
    std::int32_t which{};
    smpte::error tc_error = smpte::error::none;
    std::int64_t first{};
    std::int64_t second{};
    std::int32_t channel{};
    smpte::rate rate;  ///< the rate and mode of first and second where they are timecodes
    char const* what = "";

    severity level() const { return severity_of(kind); }
};

/// The whole message of a finding, without line and event
/// ("record in 01:00:10:00 is after record out 01:00:05:00").
MARLIX_API std::string describe(finding const& f);

struct document {
    smpte::rate rate;  ///< the rate asked for (its drop flag: the mode before any FCM: line)
    bool has_title = false;
    span title;
    layout reels = layout::cmx_3600;  ///< the narrowest layout every reel fits
    bool latin1  = false;             ///< the bytes were read as ISO-8859-1
    std::vector<edit> edits;
    /// Kept lines in document order: those before the first edit, then each
    /// edit's own (edit::first_line).
    std::vector<kept_line> lines;
    std::vector<finding> findings;  ///< in line order
    std::string body;               ///< the UTF-8 text spans refer to

    std::string_view text(span s) const {
        return s.offset <= body.size() && s.size <= body.size() - s.offset
                   ? std::string_view(body).substr(s.offset, s.size)
                   : std::string_view();
    }
    /// Kept lines before the first edit.
    std::size_t header_lines() const {
        return edits.empty() ? lines.size() : edits.front().first_line;
    }
    /// No finding is an error.
    MARLIX_API bool ok() const;
};

enum class mode : std::int32_t {
    tolerant,  ///< read on past errors and report every finding
    strict,    ///< stop at the first error
};

struct read_options {
    edl::mode mode = mode::tolerant;
};

/// Reads and checks a list. r is the rate its timecodes count; at 29.97 and
/// 59.94 the FCM: lines choose drop-frame or not (r.drop the mode before the
/// first). Bytes are UTF-8, else ISO-8859-1 (a finding says so); a BOM is
/// dropped; lines end in LF, CRLF or CR. Never fails: what does not read is
/// a finding, and the line is kept.
MARLIX_API document read(std::string_view bytes, smpte::rate r, read_options options = {});

/// The canonical text: CMX 3600 columns (File16/32/128 where a reel needs
/// them), timecodes in the SMPTE form of their mode, kept lines where they
/// stood, LF line ends, UTF-8.
MARLIX_API std::string write(document const& doc);

/// Channel field text ("AA/V", "A2", "NONE"), as the writer puts it.
MARLIX_API std::string channel_text(channel_set c);
/// Transition field text ("C", "W001", "K B").
MARLIX_API std::string transition_text(transition const& t);

}  // namespace marlix::edl
