#pragma once

/// @file
/// Film pulled down to video, from a sync point people type: the keycode of
/// the film frame each video frame shows, and the sync point of a pulldown
/// between two timecode rates.

#include <cstdint>
#include <string>
#include <string_view>

#include "marlix/base/long32.h"
#include "marlix/export.h"
#include "marlix/front/labeller.h"
#include "marlix/front/result.h"
#include "marlix/smpte/timecode.h"
#include "marlix/types/label_types.h"

namespace marlix::front {

/// The keycode on show in the first field of a video frame.
struct pulled_keycode {
    char const* text    = "";  ///< as the stock's converter prints it, with the sync point's roll
    bool split          = false;  ///< the frame's second field shows the next film frame
    char const* footage = "";     ///< the footage counter's reading, once set_footage() is given
    char const* ink     = "";     ///< the ink number, once set_ink() is given
};

/// Keycodes of the film frames video frames show: the sync point's keycode
/// is an A frame whose first field is the first field of the sync point's
/// video frame. 2:3 at 29.97 and 30 (by fields) and at 59.94 and 60 (by
/// frames), the 24:25 cadence at 25, one film frame a video frame at 23.976
/// and 24. Not for concurrent use: each thread
/// makes its own.
class MARLIX_API keycode_pull {
public:
    /// The pull of a keycode stock at a video rate, from the sync point
    /// "KEYCODE=TC": the keycode read strictly, roll prefix and all, as the
    /// stock's labeller reads it; the timecode as read_timecode reads it at
    /// the video rate. Refused with not_keycode_stock, as labeller::make
    /// refuses, no_film_pull, not_a_sync_point, sync_keycode or
    /// sync_video_timecode; why, if given, receives the subject describe()
    /// takes: the rate's name, the form "KEYCODE=TC", the strict reading's
    /// detail or the timecode's error text.
    static result<keycode_pull> make(label_t stock, smpte::rate video, std::string_view sync,
                                     std::string* why = nullptr);

    label_t stock() const { return labels_.type(); }
    smpte::rate video_rate() const { return video_; }

    /// A footage counter that reads at_sync at the sync point's film frame
    /// and runs with the film: feet+frames read strictly as the stock's
    /// footage type reads them ("12+00", "0012.00"). Refused with
    /// no_gauge_count for a stock without one (65 mm; why receives
    /// "footage"), sync_count for a text that is none (why receives the
    /// strict reading's detail; describe() takes footage_type()).
    result<bool> set_footage(std::string_view at_sync, std::string* why = nullptr);
    /// Ink numbers, at_sync (prefix and count, "0123 1234+05") printed on
    /// the sync point's film frame, read strictly as the stock's ink type
    /// reads them. Refused as set_footage() is ("ink number").
    result<bool> set_ink(std::string_view at_sync, std::string* why = nullptr);
    label_t footage_type() const;
    label_t ink_type() const;

    /// The keycode of a video frame. Refused with timecode_rate_differs for
    /// a timecode at another rate, outside_roll for a film frame before the
    /// roll's first frame or past its last (refusal() names that frame),
    /// count_out_of_range for a footage or ink number past 32 bits.
    /// The text is valid until the next call, and while the pull is neither
    /// moved nor destroyed.
    result<pulled_keycode> operator()(smpte::timecode video);
    /// Why the last frame was refused (empty else).
    std::string const& refusal() const { return refusal_; }

private:
    // A count that runs with the film: footage or ink numbers.
    struct count {
        labeller labels;
        long32 at_sync{};  ///< its sample at the sync point's film frame
        bool given = false;
    };
    result<bool> set_count(count& c, label_t type, char const* what, std::string_view at_sync,
                           std::string* why);

    labeller labels_;
    smpte::rate video_ = smpte::no_rate;
    long32 sync_sample_{};       ///< perforations
    std::int32_t sync_frame_{};  ///< video frames
    count footage_, ink_;
    std::string refusal_;
};

/// The sync point of a pulldown from rate from to rate to, typed
/// "FILMTC=VIDEOTC": the film side is at the rate of the two that counts 24
/// frames a second (to when neither does), each side read as read_timecode
/// reads it at its rate. Refused with not_a_sync_point, sync_film_timecode
/// or sync_video_timecode; why, if given, receives the subject describe()
/// takes: the form "FILMTC=VIDEOTC", or the timecode's error text.
MARLIX_API result<smpte::sync_point> read_pulldown_sync(std::string_view text, smpte::rate from,
                                                        smpte::rate to, std::string* why = nullptr);

}  // namespace marlix::front
