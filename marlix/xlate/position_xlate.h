#pragma once

/// @file
/// Translation of a position from one medium's time base to another's: film
/// footage (film frame / 24), sound seconds, the host's output clock and cel
/// time, video and playout seconds. Pairs are translated directly or in two
/// legs through cel time, film or the project's video medium; pulldown legs
/// follow the cadence tables. A failure answers 1e99 with the sign of the
/// input and a diagnostic through vimb_printf (most also on standard output).

#include "marlix/base/long32.h"
#include "marlix/export.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/xlate/xlate_params.h"

namespace marlix {

class edit_label;

/// The core. params.sequence is set to 0 when it holds -1 (media not equal);
/// round_to_frame raises an odd field count to the next frame in the film to
/// 25i and 30i pulldown legs. Equal media return posn as it is; otherwise a
/// NaN, an infinity, or a position or result beyond 2^31 - 1 frames at 60 a
/// second (about 414 days) gives the invalid position with the input's sign
/// (NaN: +1e99). Any int phase is taken (field rows are 2s modulo 256).
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                              MPosn_Xlate_Params& params, bool round_to_frame);

/// Entry points: a fresh record from the current project, optionally with
/// the project rate overridden; the destination given or an edit label's.
/// The edit label must not be null: its medium is read without a test.
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to);
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                              Tov::FrameRate rate);
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label);
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label,
                              Tov::FrameRate rate);
/// The caller's record, the rate overridden in it (the change stays).
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                              MPosn_Xlate_Params& params, Tov::FrameRate rate);
/// As above, and audio_sync_pulled_down set in the record; id is not used.
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                              MPosn_Xlate_Params& params, Tov::FrameRate rate, cookie id);
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label,
                              MPosn_Xlate_Params& params, Tov::FrameRate rate);
MARLIX_API double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label,
                              MPosn_Xlate_Params& params);

/// Clock and cel time: with a gearing's output rate and pulldown, or the
/// current project's output.
MARLIX_API double mPosn_Xlate_ClockToCel(double t, Tov::OutputGearing const& gearing);
MARLIX_API double mPosn_Xlate_CelToClock(double c, Tov::OutputGearing const& gearing);
MARLIX_API double mPosn_Xlate_ClockToCel(double t);
MARLIX_API double mPosn_Xlate_CelToClock(double c);
MARLIX_API double transform_TOVtime_to_CELtime(double t);
MARLIX_API double transform_CELtime_to_TOVtime(double c);

/// Project frame numbers and cel positions, by the project's cel resolution.
MARLIX_API double sampleNr_to_CelPosn(long32 n);
/// floor(c / resolution + 0.0001); INVALID_SAMPLE where that has no 32-bit
/// value.
MARLIX_API long32 celPosn_to_SampleNr(double c);

/// 1 for a 24 fps or double-rate film project.
MARLIX_API int is_film_project();

}  // namespace marlix
