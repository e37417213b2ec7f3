#pragma once

/// @file
/// A position translated between media in one call.

#include <string>
#include <string_view>

#include "marlix/export.h"
#include "marlix/front/result.h"
#include "marlix/host/host_services.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/xlate/xlate_params.h"

namespace marlix::front {

/// Position v (film frames / 24, seconds, or cel units as the media count)
/// translated from one medium's time base to another's under params, rounded
/// to a whole output frame when round_to_frame. params is this call's own
/// copy: what the translation records in it stays with the call, so one set
/// of settings serves a whole batch alike. no_translation where the library
/// refuses: its diagnostics go to the sink as ever, and why (when given)
/// gets the reason in users' words ("the video medium is of the other
/// television standard"). A medium to itself answers v.
MARLIX_API result<double> translate(double v, MediumRollMedium from, MediumRollMedium to,
                                    MPosn_Xlate_Params params, bool round_to_frame = false,
                                    std::string* why = nullptr);
/// The same under project settings of this call only: the calling thread
/// sees them for the call's length, the current project stays as it is.
MARLIX_API result<double> translate(double v, MediumRollMedium from, MediumRollMedium to,
                                    MPosn_Xlate_Params params, bool round_to_frame,
                                    Tov::ProjectSettings const& project,
                                    std::string* why = nullptr);

/// The reason in users' words for the library's translation diagnostics
/// text: the first it recognises ("the position is outside the range of
/// translations"), or a general one.
MARLIX_API std::string translation_refusal(std::string_view diagnostics);

}  // namespace marlix::front
