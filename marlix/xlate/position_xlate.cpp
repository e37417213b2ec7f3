#include "marlix/xlate/position_xlate.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "marlix/base/special_samples.h"
#include "marlix/host/host_config.h"
#include "marlix/internal/narrow32.h"
#include "marlix/values/edit_label.h"
#include "marlix/xlate/detail/translation.h"

namespace marlix {

namespace detail {

// --- rates and media by class ----------------------------------------------------

double frame_duration(FrameRate r) { return Tov::getFrameDuration(r); }
double frames_per_second(FrameRate r) { return Tov::getFramesPerSecond(r); }
double cel_resolution(FrameRate r) { return Tov::getCelResolution(r); }

// The classes match the host's own answers for every rate and medium.
static_assert(classify(Tov::FrameRate_23_976).single_film() &&
              classify(Tov::FrameRate_Project30).ntsc() &&
              !classify(Tov::FrameRate_Project30).ntsc_video());
static_assert(is_24p_video(MediumRoll24iM) && !is_30_video(MediumRoll30iM) &&
              is_25_video(MediumRoll50p) &&
              single_rate_of(MediumRollPlayout60pM) == Tov::FrameRate_29_97);
static_assert(playout_family(MediumRollPlayout50p) == 25 && frame_cadence_medium(MediumRoll30pM) &&
              !frame_cadence_medium(MediumRoll50p));

bool accepted(MediumRollMedium m) {
    return is_film(m) || m == MediumRollAudio || m == MediumRollTOVClock || m == MediumRollTOVCel ||
           is_video(m) || is_playout(m);
}

// --- arithmetic and configuration ------------------------------------------------------

long long trunc32(double x) { return truncate_saturating(x); }

double camera(MPosn_Xlate_Params const& p) {
    double const cam = p.camera_fps;
    if (std::fabs(cam - 48.0) < 0.0001) return 48.0;
    if (std::fabs(cam - 24.0) < 0.0001) return 24.0;
    return cam;
}

bool video_in_film_pulldown(bool fallback) {
    return config_int("video_in_film_pulldown", static_cast<int>(fallback)) != 0;
}

// --- diagnostics ------------------------------------------------------------------------

void report(bool to_stdout, char const* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    vimb_printf("%s", text);
    if (to_stdout && messages_to_standard_output()) {
        std::fputs(text, stdout);
        std::fflush(stdout);
    }
}

double fail_with_cookie(char const* format, MPosn_Xlate_Params const& p) {
    String const id = p.id.asString();
    report(true, format, id.c_str());
    return invalid_position;
}

// --- routing ------------------------------------------------------------------------------

double translation::legs(double p, MediumRollMedium from, MediumRollMedium via,
                         MediumRollMedium to) {
    double const first = translate(p, from, via, p_, false, depth_ + 1);
    return translate(first, via, to, p_, false, depth_ + 1);
}

bool translation::shot_standard_ok(MediumRollMedium m) const {
    bool const source_24p = p_.vidproj_24p_source;
    if (project_.pal()) return is_25_video(m) || (is_24p_video(m) && !runs_1001(m) && source_24p);
    if (project_.ntsc())
        return (is_video(m) && medium_class(m).ntsc()) || (is_24p_video(m) && source_24p);
    return true;
}

double translation::route(double p, MediumRollMedium from, MediumRollMedium to) {
    if (is_film(from)) {
        if (to == MediumRollAudio) return p * 24 / camera(p_);
        if (to == MediumRollTOVCel) return film_to_cel(p);
        if (is_24p_video(to)) {
            double frames = F(p / frame_duration(Tov::FrameRate_24));
            if (cam48(p_)) frames *= 0.5;
            return frames / frames_per_second(medium_rate(to));
        }
        if (is_video(to)) return film_to_video(p, to);
        return legs(p, from, MediumRollTOVCel, to);
    }
    if (from == MediumRollAudio) {
        if (to == MediumRollTOVClock) return audio_to_clock(p);
        if (to == MediumRollTOVCel) return audio_to_cel(p);
        return legs(p, from, MediumRollTOVCel, to);
    }
    if (from == MediumRollTOVClock) {
        if (is_playout(to)) return p;
        if (to == MediumRollTOVCel) return clock_to_cel(p);
        if (to == MediumRollAudio) return clock_to_audio(p);
        return legs(p, from, MediumRollTOVCel, to);
    }
    if (from == MediumRollTOVCel) {
        if (to == MediumRollTOVClock) return cel_to_clock(p);
        if (to == MediumRollAudio) return cel_to_audio(p);
        if (is_film(to)) return cel_to_film(p);
        if (is_24p_video(to)) return legs(p, from, MediumRollFilm, to);
        if (is_video(to)) return cel_to_video(p, to);
        if (is_playout(to)) return cel_to_playout(p, to);
        return p;  // None, Any, Video and the other media outside the tables
    }
    if (is_24p_video(from)) {
        if (is_film(to)) return video_to_film(p, from);
        if (to == MediumRollAudio) return runs_1001(from) ? p / 1.001 : p;
        if (to == MediumRollTOVCel) return video24_to_cel(p, from);
        return legs(p, from, MediumRollTOVCel, to);
    }
    if (is_video(from)) {
        if (is_film(to)) return video_to_film(p, from);
        if (to == MediumRollAudio) return video_to_audio(p, from);
        if (to == MediumRollTOVCel) return video_to_cel(p, from);
        return legs(p, from, MediumRollTOVCel, to);
    }
    if (is_playout(from)) {
        if (to == MediumRollTOVClock ||
            (is_playout(to) && playout_family(to) == playout_family(from)))
            return p;
        if (to == MediumRollTOVCel) return playout_to_cel(p, from);
        if (to == MediumRollAudio) return playout_to_audio(p, from);
        return legs(p, from, MediumRollTOVCel, to);
    }
    return p;
}

}  // namespace detail

namespace {

using detail::report;

// For project rates of no class the rules can route in a circle (film to
// cel through a 24p video medium, 24p video to cel through film), and frame
// durations of such rates are 0: the translation has no answer there.
constexpr char msg_no_route[] = "mPosn_Xlate(): no translation for project rate %d - cookie<%s>\n";
constexpr int max_nesting     = 8;  // legs nest a few levels at most
constexpr char msg_out_of_range[] =
    "mPosn_Xlate(): position %g outside the translation's range - cookie<%s>\n";

// Positions are counted in frames and fields of at most 60 a second (60p,
// the fields of 30i) as 32-bit numbers, so a translation takes and gives
// positions up to 2^31 - 1 such units: about 414 days. NaN fails the test.
constexpr double max_position = 2147483647.0 / 60.0;
bool in_frame_range(double x) { return std::fabs(x) <= max_position; }

void report_no_route(MPosn_Xlate_Params const& p) {
    String const id = p.id.asString();
    report(true, msg_no_route, static_cast<int>(p.project_rate), id.c_str());
}

void report_out_of_range(double x, MPosn_Xlate_Params const& p) {
    String const id = p.id.asString();
    report(false, msg_out_of_range, x, id.c_str());
}

MediumRollMedium concrete(MediumRollMedium m, MPosn_Xlate_Params const& params) {
    if (m == MediumRollVideo)
        m = params.video_medium;
    else if (m == MediumRoll24PVideo)
        m = MediumRoll24p;
    else if (m == MediumRollPlayout24PVideo)
        m = MediumRollPlayout24p;
    if (m == MediumRollPlayoutVideo)
        m = getMediumRollfromOutputFormat(Tov::CurrentProject::getOutputImageFormat(0));
    return m;
}

void override_rate(MPosn_Xlate_Params& params, Tov::FrameRate rate) {
    params.project_rate   = rate;
    params.cel_resolution = Tov::getCelResolution(rate);
}

}  // namespace

// A translation at a depth of legs: the legs of a translation nest a few
// levels at most; a route that goes round in circles stops at max_nesting.
double detail::translate(double posn, MediumRollMedium from, MediumRollMedium to,
                         MPosn_Xlate_Params& params, bool round_to_frame, int depth) {
    from = concrete(from, params);
    to   = concrete(to, params);
    if (!detail::accepted(from))
        report(true, "mPosn_Xlate() - un-handled medium type - FROM<%d> to<%d>\n", from, to);
    if (!detail::accepted(to))
        report(true, "mPosn_Xlate() - un-handled medium type - from<%d> TO<%d>\n", from, to);
    if (from == to) return posn;
    if (params.sequence == -1) params.sequence = 0;
    if (posn == invalid_position) {
        report(false, "mPosn_Xlate():- invalid MediumPosn\n");
        return invalid_position;
    }
    bool const negative = posn < 0;  // false for NaN, which fails as +1e99
    double const p      = std::fabs(posn);
    if (!in_frame_range(p)) {  // NaN, infinities and positions beyond 32-bit frames
        report_out_of_range(posn, params);
        return negative ? -invalid_position : invalid_position;
    }
    double r = invalid_position;
    if (depth >= max_nesting) {
        report_no_route(params);
    } else {
        detail::translation t(params, round_to_frame, depth);
        r = t.route(p, from, to);
        if (!std::isfinite(r)) {
            // A finite position gives no finite answer only where the project
            // rate has no frame duration.
            report_no_route(params);
            r = invalid_position;
        } else if (r != invalid_position && !in_frame_range(r)) {
            report_out_of_range(negative ? -r : r, params);
            r = invalid_position;
        }
    }
    return negative ? -r : r;
}

double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                   MPosn_Xlate_Params& params, bool round_to_frame) {
    return detail::translate(posn, from, to, params, round_to_frame, 0);
}

double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to) {
    MPosn_Xlate_Params params;
    return mPosn_Xlate(posn, from, to, params, false);
}

double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to, Tov::FrameRate rate) {
    MPosn_Xlate_Params params;
    override_rate(params, rate);
    return mPosn_Xlate(posn, from, to, params, false);
}

double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label) {
    MPosn_Xlate_Params params;
    return mPosn_Xlate(posn, from, label->get_MediumRoll().medium, params, false);
}

double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label, Tov::FrameRate rate) {
    MPosn_Xlate_Params params;
    override_rate(params, rate);
    return mPosn_Xlate(posn, from, label->get_MediumRoll().medium, params, false);
}

double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                   MPosn_Xlate_Params& params, Tov::FrameRate rate) {
    override_rate(params, rate);
    return mPosn_Xlate(posn, from, to, params, false);
}

double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                   MPosn_Xlate_Params& params, Tov::FrameRate rate, cookie) {
    override_rate(params, rate);
    params.audio_sync_pulled_down = true;
    return mPosn_Xlate(posn, from, to, params, false);
}

double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label,
                   MPosn_Xlate_Params& params, Tov::FrameRate rate) {
    override_rate(params, rate);
    return mPosn_Xlate(posn, from, label->get_MediumRoll().medium, params, false);
}

double mPosn_Xlate(double posn, MediumRollMedium from, edit_label* label,
                   MPosn_Xlate_Params& params) {
    return mPosn_Xlate(posn, from, label->get_MediumRoll().medium, params, false);
}

double mPosn_Xlate_ClockToCel(double t, Tov::OutputGearing const& gearing) {
    MPosn_Xlate_Params params(gearing);
    return mPosn_Xlate(t, MediumRollTOVClock, MediumRollTOVCel, params, false);
}

double mPosn_Xlate_CelToClock(double c, Tov::OutputGearing const& gearing) {
    MPosn_Xlate_Params params(gearing);
    return mPosn_Xlate(c, MediumRollTOVCel, MediumRollTOVClock, params, false);
}

double mPosn_Xlate_ClockToCel(double t) {
    Tov::OutputGearing const gearing(Tov::OutputGearing::Option_CurrentProject);
    return mPosn_Xlate_ClockToCel(t, gearing);
}

double mPosn_Xlate_CelToClock(double c) {
    Tov::OutputGearing const gearing(Tov::OutputGearing::Option_CurrentProject);
    return mPosn_Xlate_CelToClock(c, gearing);
}

double transform_TOVtime_to_CELtime(double t) {
    return mPosn_Xlate(t, MediumRollTOVClock, MediumRollTOVCel);
}
double transform_CELtime_to_TOVtime(double c) {
    return mPosn_Xlate(c, MediumRollTOVCel, MediumRollTOVClock);
}

double sampleNr_to_CelPosn(long32 n) { return n * Tov::CurrentProject::getCelResolution(); }

long32 celPosn_to_SampleNr(double c) {
    double const v = std::floor(c / Tov::CurrentProject::getCelResolution() + 0.0001);
    if (!(v >= INT32_MIN && v <= INT32_MAX)) return INVALID_SAMPLE;
    return static_cast<long32>(v);
}

int is_film_project() {
    Tov::FrameRate const r = Tov::CurrentProject::getFrameRate(0);
    return r == Tov::FrameRate_24 || r == Tov::FrameRate_48 ? 1 : 0;
}

}  // namespace marlix
