#include "marlix/front/translate.h"

#include <cmath>

#include "marlix/base/special_samples.h"
#include "marlix/xlate/position_xlate.h"

namespace marlix::front {

namespace {

// What each translation diagnostic means to the person who asked, by a
// phrase of its text; the first phrase found in the text wins.
struct refusal_phrase {
    std::string_view phrase;
    char const* meaning;
};
constexpr refusal_phrase refusal_phrases[] = {
    {"shot standard", "the video medium is of another television standard than the project's"},
    {"camera speed", "the camera speed does not allow it"},
    {"camera-rate", "the camera speed does not allow it"},
    {"film->vid", "this project does not take film to that video medium"},
    {"playout frame-rate", "the playout's frame rate does not suit the project"},
    {"playout medium", "the playout medium does not suit the project"},
    {"no translation for project rate", "the project rate has no route between these media"},
    {"outside the translation's range", "the position is outside the range of translations"},
    {"un-handled medium type", "the translation does not handle that medium"},
    {"invalid MediumPosn", "the position is no valid position"},
};

}  // namespace

std::string translation_refusal(std::string_view diagnostics) {
    refusal_phrase const* first = nullptr;
    std::size_t at              = diagnostics.npos;
    for (auto const& p : refusal_phrases) {
        std::size_t const found = diagnostics.find(p.phrase);
        if (found < at) at = found, first = &p;
    }
    return first != nullptr ? first->meaning : "the library refused it";
}

result<double> translate(double v, MediumRollMedium from, MediumRollMedium to,
                         MPosn_Xlate_Params params, bool round_to_frame, std::string* why) {
    message_tap const tap;
    double const r = mPosn_Xlate(v, from, to, params, round_to_frame);
    if (std::fabs(r) == invalid_position && from != to) {
        if (why != nullptr) *why = translation_refusal(tap.text());
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
