#include "marlix/front/translate.h"

#include <cmath>

#include "marlix/base/special_samples.h"

namespace marlix::front {

char const* refusal_text(xlate_refusal why) {
    switch (why) {
        case xlate_refusal::none: return "";
        case xlate_refusal::invalid_input: return "the position is the invalid position, 1e99";
        case xlate_refusal::out_of_range:
            return "the position or its translation is not a number or lies beyond about 414 "
                   "days (2^31 - 1 frames at 60 a second)";
        case xlate_refusal::no_route:
            return "the project rate has no translation between these media";
        case xlate_refusal::shot_standard:
            return "the video is of the other television family than the project (25 and 30 "
                   "frames a second), or a 24p source the project does not take";
        case xlate_refusal::camera_speed: return "the camera speed is neither 24 nor 48";
        case xlate_refusal::film_to_video:
            return "the project transfers film to the other television family only (25 and 30 "
                   "frames a second)";
        case xlate_refusal::playout_medium: return "the project rate does not play out this medium";
    }
    return "";
}

result<double> translate(double v, MediumRollMedium from, MediumRollMedium to,
                         MPosn_Xlate_Params params, bool round_to_frame, std::string* why) {
    double const r = mPosn_Xlate(v, from, to, params, round_to_frame);
    if (std::fabs(r) == invalid_position && from != to) {
        if (why != nullptr) *why = refusal_text(last_xlate_refusal());
        return {0.0, reason::no_translation};
    }
    return {r};
}

result<double> translate(double v, MediumRollMedium from, MediumRollMedium to,
                         MPosn_Xlate_Params params, bool round_to_frame,
                         Tov::ProjectSettings const& project, std::string* why) {
    Tov::ThreadProject const scope(project);
    return translate(v, from, to, params, round_to_frame, why);
}

}  // namespace marlix::front
