#pragma once

// The translation between media, shared by the files that hold its legs:
// the arithmetic they share and the translation object whose member
// functions are the legs. The rules branch on the rate classes and media
// families of marlix/medium/detail/media_classes.h.

#include <cmath>

#include "marlix/base/special_samples.h"
#include "marlix/host/host_services.h"
#include "marlix/medium/detail/media_classes.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/xlate/xlate_params.h"

namespace marlix::detail {

using Tov::FrameRate;

double frame_duration(FrameRate r);
double frames_per_second(FrameRate r);
double cel_resolution(FrameRate r);

bool accepted(MediumRollMedium m);

// --- arithmetic ---------------------------------------------------------------------

inline double F(double x) { return std::floor(x + 0.0001); }  // the frame quantiser
// Truncation toward zero to 32 bits, saturating where a position is beyond.
long long trunc32(double x);
inline constexpr double to_25_from_24 = 1.0416666666666667;  // 25 / 24

// The camera speed, snapped to 24 or 48 within a ten-thousandth.
double camera(MPosn_Xlate_Params const& p);
inline bool cam48(MPosn_Xlate_Params const& p) { return camera(p) == 48.0; }
bool video_in_film_pulldown(bool fallback);

// --- diagnostics ----------------------------------------------------------------------

void report(bool to_stdout, char const* format, ...) __attribute__((format(printf, 2, 3)));
double fail_with_cookie(char const* format, MPosn_Xlate_Params const& p);

inline constexpr char msg_shot_standard[] =
    "mPosn_Xlate(): Invalid source shot standard for project - cookie<%s>\n";
inline constexpr char msg_camera_speed[] =
    "mPosn_Xlate(): Invalid camera speed for this translation - cookie<%s>\n";
inline constexpr char msg_film_to_video[] =
    "mPosn_Xlate(): Invalid film->vid conversion for project - cookie<%s>\n";
inline constexpr char msg_camera_rate[] =
    "mPosn_Xlate(): invalid camera-rate for requested translation - cookie<%s>\n";
inline constexpr char msg_playout_rate[] =
    "mPosn_Xlate(): INVALID playout frame-rate for project\n";
inline constexpr char msg_playout_medium[] = "mPosn_Xlate(): INVALID playout medium for project\n";

// --- the translation -------------------------------------------------------------------

// mPosn_Xlate at a depth of nested legs (0 for a caller's translation).
double translate(double posn, MediumRollMedium from, MediumRollMedium to,
                 MPosn_Xlate_Params& params, bool round_to_frame, int depth);

class translation {
public:
    translation(MPosn_Xlate_Params& params, bool round_to_frame, int depth)
        : p_(params),
          round_(round_to_frame),
          depth_(depth),
          pr_(params.project_rate),
          project_(classify(pr_)) {}

    double route(double p, MediumRollMedium from, MediumRollMedium to);

private:
    double legs(double p, MediumRollMedium from, MediumRollMedium via, MediumRollMedium to);
    bool pulled() const { return p_.output_pulled_down; }
    bool shot_standard_ok(MediumRollMedium m) const;
    double shot_standard_failure() { return fail_with_cookie(msg_shot_standard, p_); }
    // Whether a camera step keeps a position: the sync says so for a 24p
    // source, else the transfer being the cadence.
    bool keeps_camera_speed() const {
        return p_.vidproj_24p_source ? p_.audio_sync_pulled_down : p_.transfer == transfer_cadence;
    }

    // Clock, cel and sound (clock_legs.cpp).
    double cel_to_clock(double p);
    double clock_to_cel(double p);
    double audio_to_cel(double p);
    double cel_to_audio(double p);
    double audio_to_clock(double p);
    double clock_to_audio(double p);
    double camera_factor(double p, double base) const;          // p * cam / base, 2*base at 48
    double inverse_camera_factor(double p, double base) const;  // p * base / cam
    // Film, video and playout against cel and sound (picture_legs.cpp).
    double film_to_cel(double p);
    double cel_to_film(double p);
    double video24_to_cel(double p, MediumRollMedium from);
    double video_to_cel(double p, MediumRollMedium from);
    double cel_to_video(double p, MediumRollMedium to);
    double video_to_audio(double p, MediumRollMedium from);
    double playout_to_cel(double p, MediumRollMedium from);
    double cel_to_playout(double p, MediumRollMedium to);
    double playout_to_audio(double p, MediumRollMedium from);
    // Through the cadences (pulldown_legs.cpp).
    double film_to_video(double p, MediumRollMedium to);
    double video_to_film(double p, MediumRollMedium from);
    double pulled_playout_to_cel(double p, MediumRollMedium from);
    double pulled_cel_to_playout(double p, MediumRollMedium to);

    MPosn_Xlate_Params& p_;
    bool round_;
    int depth_;
    FrameRate pr_;
    rate_class project_;
};

}  // namespace marlix::detail
