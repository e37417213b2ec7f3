#include "marlix/front/translate.h"

#include <cmath>

#include "marlix/base/special_samples.h"
#include "marlix/xlate/position_xlate.h"

namespace marlix::front {

result<double> translate(double v, MediumRollMedium from, MediumRollMedium to,
                         MPosn_Xlate_Params params, bool round_to_frame) {
    double const r = mPosn_Xlate(v, from, to, params, round_to_frame);
    if (std::fabs(r) == invalid_position && from != to) return {0.0, reason::no_translation};
    return {r};
}

result<double> translate(double v, MediumRollMedium from, MediumRollMedium to,
                         MPosn_Xlate_Params params, bool round_to_frame,
                         Tov::ProjectSettings const& project) {
    Tov::ThreadProject const scope(project);
    return translate(v, from, to, params, round_to_frame);
}

}  // namespace marlix::front
