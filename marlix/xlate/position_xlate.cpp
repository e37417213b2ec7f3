#include "marlix/xlate/position_xlate.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "marlix/cvt/special_samples.h"
#include "marlix/host/host_config.h"
#include "marlix/internal/narrow32.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/values/edit_label.h"
#include "marlix/xlate/cadence_tables.h"

namespace marlix {

namespace {

using Tov::FrameRate;

// --- project rate classes -----------------------------------------------------

bool single_film(FrameRate r) { return r == 1 || r == 2 || r == 31; }
bool double_film(FrameRate r) { return r == 6 || r == 7 || r == 34; }
bool film_rate(FrameRate r) { return single_film(r) || double_film(r); }
bool rate_in(FrameRate r, std::initializer_list<int> rates) {
    for (int x : rates)
        if (r == x) return true;
    return false;
}

// --- media groups ---------------------------------------------------------------

bool is_film(int m) {
    return m == MediumRollFilm || m == MediumRollLabFilm || m == MediumRollCompFilm;
}
bool is_24p_video(int m) { return m >= MediumRoll24p && m <= MediumRoll24iM; }
bool is_25_video(int m) { return m == MediumRoll25p || m == MediumRoll25i || m == MediumRoll50p; }
bool is_30_video(int m) { return m == MediumRoll30p || m == MediumRoll30i || m == MediumRoll60p; }
bool is_video(int m) { return m >= MediumRoll24p && m <= MediumRoll60pM; }
bool is_playout(int m) { return m >= MediumRollPlayout24p && m <= MediumRollPlayout60pM; }
bool accepted(int m) {
    return is_film(m) || m == MediumRollAudio || m == MediumRollTOVClock || m == MediumRollTOVCel ||
           is_video(m) || is_playout(m);
}
// Playout families: 24 (28..31), 25 (32, 33, 38), 30 (34..37, 39, 40).
int playout_family(int m) {
    if (m >= 28 && m <= 31) return 24;
    if (m == 32 || m == 33 || m == 38) return 25;
    if ((m >= 34 && m <= 37) || m == 39 || m == 40) return 30;
    return 0;
}

// --- arithmetic ---------------------------------------------------------------

double F(double x) { return std::floor(x + 0.0001); }  // the frame quantiser
// Truncation toward zero to 32 bits, saturating where a position is beyond.
long long trunc32(double x) { return detail::truncate_saturating(x); }
double dur(int r) { return Tov::getFrameDuration(static_cast<FrameRate>(r)); }
double fps(int r) { return Tov::getFramesPerSecond(static_cast<FrameRate>(r)); }
double res(int r) { return Tov::getCelResolution(static_cast<FrameRate>(r)); }
bool has1001(int r) { return Tov::has1001Factor(static_cast<FrameRate>(r)); }

constexpr double to_25_from_24 = 1.0416666666666667;  // 25 / 24

// The camera speed, snapped to 24 or 48 within a ten-thousandth.
double camera(MPosn_Xlate_Params const& p) {
    double const cam = p.camera_fps;
    if (std::fabs(cam - 48.0) < 0.0001) return 48.0;
    if (std::fabs(cam - 24.0) < 0.0001) return 24.0;
    return cam;
}
bool cam48(MPosn_Xlate_Params const& p) { return camera(p) == 48.0; }

bool video_in_film_pulldown(int fallback) {
    return config_int("video_in_film_pulldown", fallback) != 0;
}

// --- diagnostics ----------------------------------------------------------------

void report(bool to_stdout, char const* format, ...) __attribute__((format(printf, 2, 3)));
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

constexpr char msg_shot_standard[] =
    "mPosn_Xlate(): Invalid source shot standard for project - cookie<%s>\n";
constexpr char msg_camera_speed[] =
    "mPosn_Xlate(): Invalid camera speed for this translation - cookie<%s>\n";
constexpr char msg_film_to_video[] =
    "mPosn_Xlate(): Invalid film->vid conversion for project - cookie<%s>\n";
constexpr char msg_camera_rate[] =
    "mPosn_Xlate(): invalid camera-rate for requested translation - cookie<%s>\n";
constexpr char msg_playout_rate[]   = "mPosn_Xlate(): INVALID playout frame-rate for project\n";
constexpr char msg_playout_medium[] = "mPosn_Xlate(): INVALID playout medium for project\n";
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

thread_local int nesting = 0;

// --- the translation -------------------------------------------------------------

class translation {
public:
    translation(MPosn_Xlate_Params& params, bool round_to_frame)
        : p_(params), round_(round_to_frame), pr_(params.project_rate) {}

    double route(double p, int from, int to);

private:
    double legs(double p, int from, int via, int to) {
        double const first = mPosn_Xlate(p, static_cast<MediumRollMedium>(from),
                                         static_cast<MediumRollMedium>(via), p_, false);
        return mPosn_Xlate(first, static_cast<MediumRollMedium>(via),
                           static_cast<MediumRollMedium>(to), p_, false);
    }
    bool pulled() const { return p_.output_pulled_down; }
    bool shot_standard_ok(int m) const;
    double shot_standard_failure() { return fail_with_cookie(msg_shot_standard, p_); }

    double cel_to_clock(double p);
    double clock_to_cel(double p);
    double audio_to_cel(double p);
    double cel_to_audio(double p);
    double audio_to_clock(double p);
    double clock_to_audio(double p);
    double camera_factor(double p, double base) const;          // p * cam / base, 2*base at 48
    double inverse_camera_factor(double p, double base) const;  // p * base / cam
    double film_to_cel(double p, int to);
    double cel_to_film(double p, int to);
    double video24_to_cel(double p, int from, int to);
    double video_to_cel(double p, int from, int to);
    double cel_to_video(double p, int to);
    double video_to_audio(double p, int from);
    double playout_to_cel(double p, int from);
    double cel_to_playout(double p, int to);
    double playout_to_audio(double p, int from);
    double film_to_video(double p, int to);
    double video_to_film(double p, int from);
    double pulled_playout_to_cel(double p, int from);
    double pulled_cel_to_playout(double p, int to);

    MPosn_Xlate_Params& p_;
    bool round_;
    FrameRate pr_;
};

bool translation::shot_standard_ok(int m) const {
    if (rate_in(pr_, {3, 8, 32}))
        return is_25_video(m) || ((m == 15 || m == 17) && p_.vidproj_24p_source);
    if (rate_in(pr_, {4, 5, 9, 10, 33}))
        return (m >= 21 && m <= 24) || m == 26 || m == 27 ||
               (is_24p_video(m) && p_.vidproj_24p_source);
    return true;
}

double translation::route(double p, int from, int to) {
    if (is_film(from)) {
        if (to == MediumRollAudio) return p * 24 / camera(p_);
        if (to == MediumRollTOVCel) return film_to_cel(p, to);
        if (is_24p_video(to)) {
            double frames = F(p / dur(1));
            if (cam48(p_)) frames *= 0.5;
            return frames / ((to == 16 || to == 18) ? fps(2) : fps(1));
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
        if (is_film(to)) return cel_to_film(p, to);
        if (is_24p_video(to)) return legs(p, from, MediumRollFilm, to);
        if (is_video(to)) return cel_to_video(p, to);
        if (is_playout(to)) return cel_to_playout(p, to);
        return p;  // 3, 5, 6, 8, 9, 13, 14 and media outside the tables
    }
    if (is_24p_video(from)) {
        if (is_film(to)) return video_to_film(p, from);
        if (to == MediumRollAudio) return (from == 16 || from == 18) ? p / 1.001 : p;
        if (to == MediumRollTOVCel) return video24_to_cel(p, from, to);
        return legs(p, from, MediumRollTOVCel, to);
    }
    if (is_video(from)) {
        if (is_film(to)) return video_to_film(p, from);
        if (to == MediumRollAudio) return video_to_audio(p, from);
        if (to == MediumRollTOVCel) return video_to_cel(p, from, to);
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

double translation::cel_to_clock(double p) {
    if (rate_in(pr_, {1, 6, 31, 34}) && !pulled()) {
        if (rate_in(p_.output_rate, {3, 8}))
            p *= 0.96;
        else if (rate_in(p_.output_rate, {4, 5, 9, 10}))
            p *= 0.8;
    }
    if (p_.output_has_1001) p *= 1.001;
    return p;
}

double translation::clock_to_cel(double p) {
    if (p_.output_has_1001) p /= 1.001;
    if (rate_in(pr_, {1, 6, 31, 34}) && !pulled()) {
        if (rate_in(p_.output_rate, {3, 8}))
            p *= to_25_from_24;
        else if (rate_in(p_.output_rate, {4, 5, 9, 10}))
            p *= 1.25;
    }
    return p;
}

double translation::camera_factor(double p, double base) const {
    double const cam = camera(p_);
    return cam == 48.0 ? p * cam / (2 * base) : p * cam / base;
}

double translation::inverse_camera_factor(double p, double base) const {
    double const cam = camera(p_);
    return cam == 48.0 ? p * 2 * base / cam : p * base / cam;
}

double translation::audio_to_cel(double p) {
    double t = p;
    if (film_rate(pr_)) {
        if (p_.transfer == transfer_none) {
            if (has1001(p_.transfer_rate)) t /= 1.001;
            if (rate_in(p_.transfer_rate, {3, 8})) {
                if (!video_in_film_pulldown(0)) t *= to_25_from_24;
            } else if (!video_in_film_pulldown(1)) {
                t *= 1.25;
            }
        }
    } else if (rate_in(pr_, {3, 8})) {
        if (p_.transfer != transfer_none) {
            bool const keep =
                p_.vidproj_24p_source ? p_.audio_sync_pulled_down : p_.transfer == transfer_cadence;
            if (!keep) t = camera_factor(p, 25);
        }
    } else if (rate_in(pr_, {32, 33})) {
        t = p;
    } else if (p_.transfer == transfer_none) {
        if (has1001(p_.transfer_rate)) t /= 1.001;
    } else {
        bool const keep =
            p_.vidproj_24p_source ? p_.audio_sync_pulled_down : p_.transfer == transfer_cadence;
        if (!keep) t = camera_factor(p, 30);
    }
    return t / dur(pr_) * res(pr_);
}

double translation::cel_to_audio(double p) {
    double t = p / res(pr_) * dur(pr_);
    if (film_rate(pr_)) {
        if (p_.transfer == transfer_none) {
            if (has1001(p_.transfer_rate)) t *= 1.001;
            // 0.96 for 25 and 50 fps transfers, as sound to cel does: the two
            // directions stay inverse for both.
            if (rate_in(p_.transfer_rate, {3, 8})) {
                if (!video_in_film_pulldown(0)) t *= 0.96;
            } else if (!video_in_film_pulldown(1)) {
                t *= 0.8;
            }
        }
    } else if (rate_in(pr_, {3, 8})) {
        if (p_.transfer != transfer_none) {
            bool const keep =
                p_.vidproj_24p_source ? p_.audio_sync_pulled_down : p_.transfer == transfer_cadence;
            if (!keep) t = inverse_camera_factor(t, 25);
        }
    } else if (pr_ == 32) {
        t *= to_25_from_24;
    } else if (pr_ == 33) {
        t *= 1.25;
    } else if (p_.transfer == transfer_none) {
        if (has1001(p_.transfer_rate)) t *= 1.001;
    } else {
        bool const keep =
            p_.vidproj_24p_source ? p_.audio_sync_pulled_down : p_.transfer == transfer_cadence;
        if (!keep) t = inverse_camera_factor(t, 30);
    }
    return t;
}

double translation::audio_to_clock(double p) {
    if (film_rate(pr_)) {
        if (pulled()) return has1001(p_.output_rate) ? p * 1.001 : p;
        if (rate_in(p_.output_rate, {3, 8})) return p * 0.96;
        if (rate_in(p_.output_rate, {4, 9})) return p * 0.8;
        if (rate_in(p_.output_rate, {5, 10})) return p * 0.8008;
        return p;
    }
    auto camera_step = [&](double v, double base) {
        if (p_.vidproj_24p_source) return p_.audio_sync_pulled_down ? v : camera_factor(v, base);
        return p_.transfer == transfer_frame_for_frame ? camera_factor(v, base) : v;
    };
    if (rate_in(pr_, {3, 8})) return p_.transfer == transfer_none ? p : camera_step(p, 25);
    if (p_.transfer == transfer_none) {
        bool const out = has1001(p_.output_rate), in = has1001(p_.transfer_rate);
        if (out && !in) return p * 1.001;
        if (in && !out) return p / 1.001;
        return p;
    }
    double const v = has1001(p_.output_rate) ? p * 1.001 : p;
    return camera_step(v, 30);
}

double translation::clock_to_audio(double p) {
    // The inverse of sound to clock step by step; the camera step divides by
    // the factor that sound to clock multiplies by, under the same
    // conditions, so that clock and sound positions correspond both ways.
    double const cam  = camera(p_);
    auto inverse_step = [&](double v, double base) {
        double const f = cam == 48.0 ? cam / (2 * base) : cam / base;
        bool apply     = p_.vidproj_24p_source ? !p_.audio_sync_pulled_down
                                               : p_.transfer == transfer_frame_for_frame;
        return apply ? v / f : v;
    };
    if (film_rate(pr_)) {
        if (has1001(p_.output_rate)) p /= 1.001;
        if (!pulled()) {
            if (rate_in(p_.output_rate, {3, 8}))
                p *= to_25_from_24;
            else if (rate_in(p_.output_rate, {4, 5, 9, 10}))
                p *= 1.25;
        }
        return p;
    }
    if (rate_in(pr_, {3, 8})) return p_.transfer == transfer_none ? p : inverse_step(p, 25);
    if (p_.transfer == transfer_none) {
        bool const out = has1001(p_.output_rate), in = has1001(p_.transfer_rate);
        if (out && !in) return p / 1.001;
        if (in && !out) return p * 1.001;
        return p;
    }
    double const v = has1001(p_.output_rate) ? p / 1.001 : p;
    return inverse_step(v, 30);
}

double translation::film_to_cel(double p, int) {
    if (rate_in(pr_, {1, 2})) {
        double frames = p / dur(1);
        if (cam48(p_)) frames *= 0.5;
        return F(frames) * res(pr_);
    }
    if (rate_in(pr_, {6, 7})) {
        double frames = p / dur(1);
        if (camera(p_) == 24.0) frames *= 2;
        return F(frames) * res(pr_);
    }
    if (rate_in(pr_, {31, 32, 33, 34})) return F(p / 24.0) * res(pr_);
    if (!shot_standard_ok(p_.video_medium)) return shot_standard_failure();
    return legs(p, MediumRollFilm, p_.video_medium, MediumRollTOVCel);
}

double translation::cel_to_film(double p, int) {
    if (rate_in(pr_, {1, 2, 6, 7})) {
        double const cam = camera(p_);
        if (cam != 24.0 && cam != 48.0) return fail_with_cookie(msg_camera_speed, p_);
        return F(p / res(1) * cam / 24) / 24;
    }
    if (rate_in(pr_, {31, 32, 33, 34})) return F(p / res(pr_)) / 24;
    if (rate_in(pr_, {3, 4, 5, 8, 9, 10})) {
        if (!shot_standard_ok(p_.video_medium)) return shot_standard_failure();
        if (!p_.vidproj_24p_source)
            return legs(p, MediumRollTOVCel, p_.video_medium, MediumRollFilm);
        if (p_.transfer == transfer_cadence) return p;
        return p * fps(pr_) / 24;
    }
    return p;
}

double translation::video24_to_cel(double p, int from, int to) {
    if (!rate_in(pr_, {1, 6, 31, 34}) && !shot_standard_ok(p_.video_medium))
        return shot_standard_failure();
    return legs(p, from, MediumRollFilm, to);
}

double translation::video_to_cel(double p, int from, int to) {
    int const R         = is_25_video(from) ? 3 : is_30_video(from) ? 4 : 5;
    double const fields = F(2 * p / dur(R));
    bool const via_film = rate_in(pr_, {1, 2, 6, 7, 31, 32, 34});
    if (is_25_video(from)) {
        if (pr_ == 3) return fields * 0.5 * res(3);
        if (pr_ == 8) return fields * res(8);
    } else {
        if (rate_in(pr_, {4, 5})) return fields * 0.5 * res(pr_);
        if (rate_in(pr_, {9, 10})) return fields * res(pr_);
    }
    if (via_film) return legs(p, from, MediumRollFilm, to);
    return shot_standard_failure();
}

double translation::cel_to_video(double p, int to) {
    if (rate_in(pr_, {1, 6, 31, 32, 33, 34})) return legs(p, MediumRollTOVCel, MediumRollFilm, to);
    if (!rate_in(pr_, {3, 4, 5, 8, 9, 10})) return p;  // 2, 7, 0 and rates of no class
    double const n = rate_in(pr_, {3, 4, 5}) ? F(2 * p / res(pr_)) : F(p / res(pr_));
    if (rate_in(pr_, {3, 8})) {
        if (to == 19 || to == 20) return n / (2 * fps(3));
        if (to == 25) return n / fps(8);
        return shot_standard_failure();
    }
    if (to == 21 || to == 23) return n / (2 * fps(4));
    if (to == 22 || to == 24) return n / (2 * fps(5));
    if (to == 26) return n / fps(9);
    if (to == 27) return n / fps(10);
    if (rate_in(pr_, {9, 10})) return p;  // 25-family destinations
    return shot_standard_failure();
}

double translation::video_to_audio(double p, int from) {
    bool const plain = p_.transfer == transfer_none || p_.transfer == transfer_cadence;
    if (is_25_video(from)) return plain ? p : p * (cam48(p_) ? 50 : 25) / camera(p_);
    if (is_30_video(from)) return plain ? p : p * (cam48(p_) ? 60 : 30) / camera(p_);
    if (p_.transfer == transfer_none) return p;
    if (p_.transfer == transfer_frame_for_frame)
        return p / 1.001 * (cam48(p_) ? 60 : 30) / camera(p_);
    return p / 1.001;
}

double translation::playout_to_cel(double p, int from) {
    int const family     = playout_family(from);
    int const R          = family == 24   ? ((from == 29 || from == 31) ? 2 : 1)
                           : family == 25 ? 3
                           : (from == 35 || from == 37 || from == 40) ? 5
                                                                      : 4;
    double const frames1 = F(p / dur(R));
    double const frames2 = F(2 * p / dur(R));
    if (family == 24) {
        if (single_film(pr_)) return frames1 * res(pr_);
        if (double_film(pr_)) return frames2 * res(pr_);
        report(true, "%s", (from == 28 || from == 30) ? msg_playout_rate : msg_playout_medium);
        return invalid_position;
    }
    if (family == 25) {
        if (rate_in(pr_, {3, 32})) return frames1 * res(pr_);
        if (pr_ == 8) return frames2 * res(pr_);
    } else {
        if (rate_in(pr_, {4, 5, 33})) return frames1 * res(pr_);
        if (rate_in(pr_, {9, 10})) return frames2 * res(pr_);
    }
    if (single_film(pr_)) return pulled() ? pulled_playout_to_cel(p, from) : frames1 * res(pr_);
    if (double_film(pr_)) return pulled() ? pulled_playout_to_cel(p, from) : frames2 * res(pr_);
    report(true, "%s", msg_playout_medium);
    return invalid_position;
}

double translation::cel_to_playout(double p, int to) {
    double const n    = F(p / res(pr_));
    bool const single = single_film(pr_), twice = double_film(pr_);
    if (to == 28 || to == 30 || to == 29 || to == 31) {
        double const f = (to == 28 || to == 30) ? fps(1) : fps(2);
        if (single) return n / f;
        if (twice) return n * 0.5 / f;
        // Video projects: the 24 playouts take the position as it is (the
        // 1000/1001 playouts at their slower clock), without a message.
        return (to == 28 || to == 30) ? p : p * 1.001;
    }
    if (to == 32 || to == 33) {
        if (rate_in(pr_, {3, 32})) return n / fps(3);
        if (pr_ == 8) return n * 0.5 / fps(3);
        if (single || twice)
            return pulled() ? pulled_cel_to_playout(p, to) : (single ? n : n * 0.5) / fps(3);
    } else if (to == 38) {
        if (pr_ == 8) return n / fps(8);
        if (rate_in(pr_, {3, 32})) return 2 * n / fps(8);
        // A double-film project not pulled: one project frame a 50p frame,
        // the inverse of playout to cel, which maps 50p back by frames2.
        if (single || twice)
            return pulled() ? pulled_cel_to_playout(p, to) : (single ? 2 * n : n) / fps(8);
    } else if (to == 34 || to == 36 || to == 35 || to == 37) {
        double const f = (to == 34 || to == 36) ? fps(4) : fps(5);
        if (rate_in(pr_, {4, 5, 33})) return n / f;
        if (rate_in(pr_, {9, 10})) return n * 0.5 / f;
        if (single || twice)
            return pulled() ? pulled_cel_to_playout(p, to) : (single ? n : n * 0.5) / f;
    } else if (to == 39 || to == 40) {
        double const f = to == 39 ? fps(9) : fps(10);
        if (rate_in(pr_, {9, 10})) return n / f;
        if (rate_in(pr_, {4, 5, 33})) return 2 * n / f;
        if (single || twice)
            return pulled() ? pulled_cel_to_playout(p, to) : (single ? 2 * n : n) / f;
    }
    report(true, "%s", msg_playout_medium);
    return invalid_position;
}

double translation::playout_to_audio(double p, int from) {
    int const family = playout_family(from);
    bool const keep_cam =
        p_.vidproj_24p_source ? p_.audio_sync_pulled_down : p_.transfer == transfer_cadence;
    auto film_sound_step = [&](double v) {  // the 0.96 or 0.8 correction of a film project
        if (p_.transfer != transfer_none) return v;
        if (rate_in(p_.transfer_rate, {3, 8})) return video_in_film_pulldown(0) ? v : v * 0.96;
        return video_in_film_pulldown(1) ? v : v * 0.8;
    };
    if (family == 24) {
        bool const m = from == 29 || from == 31;
        if (p_.transfer != transfer_none) return m ? p / 1.001 : p;
        double v = p;
        if (m && !has1001(p_.transfer_rate)) v = p / 1.001;
        if (!m && has1001(p_.transfer_rate)) v = p * 1.001;
        if (rate_in(p_.transfer_rate, {3, 8})) {
            if (!video_in_film_pulldown(0)) v *= m ? 0.9590409590409591 : 0.96;
        } else if (!video_in_film_pulldown(1)) {
            v *= 0.8;
        }
        return v;
    }
    if (family == 25) {
        if (rate_in(pr_, {3, 8}))
            return p_.transfer == transfer_none || keep_cam ? p : inverse_camera_factor(p, 25);
        if (film_rate(pr_)) {
            double v = p;
            if (p_.transfer == transfer_none && has1001(p_.transfer_rate)) v *= 1.001;
            v = film_sound_step(v);
            return pulled() ? v : v * to_25_from_24;
        }
        if (pr_ == 32) return p;
        report(true, "%s", msg_playout_rate);
        return invalid_position;
    }
    bool const m = from == 35 || from == 37 || from == 40;
    if (film_rate(pr_)) {
        double v = p;
        if (!m) {
            if (p_.transfer == transfer_none && has1001(p_.transfer_rate)) v *= 1.001;
        } else if (p_.transfer != transfer_none) {
            v = p / 1.001;
        } else if (!has1001(p_.transfer_rate)) {
            v = p / 1.001;
        }
        v = film_sound_step(v);
        return pulled() ? v : v * 1.25;
    }
    if (rate_in(pr_, {4, 5, 9, 10})) {
        if (!m) {
            if (p_.transfer == transfer_none) return has1001(p_.transfer_rate) ? p * 1.001 : p;
            if (p_.vidproj_24p_source) return p_.audio_sync_pulled_down ? p : p * 1.25;
            return keep_cam ? p : inverse_camera_factor(p, 30);
        }
        if (p_.transfer == transfer_none) return has1001(p_.transfer_rate) ? p : p / 1.001;
        return keep_cam ? p / 1.001 : inverse_camera_factor(p, 30) / 1.001;
    }
    if (pr_ == 33) {
        if (p_.transfer == transfer_none) {
            if (!m) return has1001(p_.transfer_rate) ? p * 1.001 : p;
            return has1001(p_.transfer_rate) ? p : p / 1.001;
        }
        return m ? p / 1.001 : p * 1.25;
    }
    report(true, "%s", msg_playout_rate);
    return invalid_position;
}

// --- pulldown legs -------------------------------------------------------------

// Field cadences are read at row 2s, taken as a byte like the phase itself,
// for every phase (unsigned arithmetic: no overflow at the extremes).
int field_phase_row(int s) { return static_cast<int>((2u * static_cast<unsigned>(s)) & 0xffu); }

double look_up(cadence_pair pair, bool forward, int row, long long n) {
    cadence_shape const s = cadence_shape_of(pair);
    cadence_table const t = forward ? cadence_forward(pair) : cadence_inverse(pair);
    int const group       = forward ? s.film_frames : s.output_units;
    int const other       = forward ? s.output_units : s.film_frames;
    return static_cast<double>(cadence_lookup(t, row, n, group, other));
}

double translation::film_to_video(double p, int to) {
    double const frames = F(p / dur(1));
    int const s         = p_.sequence;
    int const field_row = field_phase_row(s);
    if (is_25_video(to)) {
        if (rate_in(pr_, {4, 5, 9, 10, 33})) return fail_with_cookie(msg_film_to_video, p_);
        if (pr_ == 32) return frames / fps(3);
        bool const frame_for_frame =
            p_.transfer == transfer_none || p_.transfer == transfer_frame_for_frame;
        long long const n = trunc32(F(frames));
        if (cam48(p_)) {
            if (frame_for_frame) return frames / fps(8);
            if (to == 19) return look_up(cadence_pair::film48_to_25_frames, true, s, n) / fps(3);
            return look_up(cadence_pair::film48_to_50_fields, true, field_row, n) / (2 * fps(3));
        }
        if (frame_for_frame) return frames / fps(3);
        if (to == 19) return look_up(cadence_pair::film24_to_25_frames, true, s, n) / fps(3);
        double fields = look_up(cadence_pair::film24_to_50_fields, true, field_row, n);
        if (to == 20 && round_ && std::fmod(fields, 2.0) != 0.0) fields += 1;
        return fields / (2 * fps(3));
    }
    double const V = (to == 22 || to == 24 || to == 27) ? fps(5) : fps(4);
    if (rate_in(pr_, {3, 8, 32})) return fail_with_cookie(msg_film_to_video, p_);
    if (pr_ == 33) return frames / V;
    long long const n = trunc32(F(frames));
    if (cam48(p_)) {
        if (p_.transfer == transfer_frame_for_frame) return frames / (2 * V);
        if (to == 21 || to == 22) return look_up(cadence_pair::film48_to_30_frames, true, s, n) / V;
        return look_up(cadence_pair::film48_to_60_fields, true, field_row, n) / (2 * V);
    }
    if (p_.transfer == transfer_frame_for_frame) return frames / V;
    if (to == 21 || to == 22) return look_up(cadence_pair::film24_to_30_frames, true, s, n) / V;
    double fields = look_up(cadence_pair::film24_to_60_fields, true, field_row, n);
    if (to == 23 && round_ && std::fmod(fields, 2.0) != 0.0) fields += 1;
    return fields / (2 * V);
}

double translation::video_to_film(double p, int from) {
    int const s         = p_.sequence;
    int const field_row = field_phase_row(s);
    double const cam    = camera(p_);
    if (is_24p_video(from)) {
        if (cam != 24.0 && cam != 48.0) return fail_with_cookie(msg_camera_rate, p_);
        double d = dur(1);
        if (from == 16 || from == 18) d *= 1.001;
        return F(p / d * cam / 24) / 24;
    }
    if (is_25_video(from)) {
        if (rate_in(pr_, {4, 5, 9, 10, 33})) return shot_standard_failure();
        if (pr_ == 32) return F(p / fps(3)) / 24;
        bool const frame_for_frame =
            p_.transfer == transfer_none || p_.transfer == transfer_frame_for_frame;
        if (frame_for_frame) return p / dur(3) * (cam > 47.0 ? 2 : 1) / 24;
        if (from == 19)
            return look_up(cam48(p_) ? cadence_pair::film48_to_25_frames
                                     : cadence_pair::film24_to_25_frames,
                           false, s, trunc32(F(p / dur(3)))) /
                   24;
        return look_up(cam48(p_) ? cadence_pair::film48_to_50_fields
                                 : cadence_pair::film24_to_50_fields,
                       false, field_row, trunc32(F(2 * p / dur(3)))) /
               24;
    }
    int const R = is_30_video(from) ? 4 : 5;
    if (rate_in(pr_, {3, 8, 32})) return shot_standard_failure();
    if (pr_ == 33) return F(p / fps(R)) / 24;
    if (p_.transfer == transfer_frame_for_frame) return p / dur(R) * (cam > 47.0 ? 2 : 1) / 24;
    if (from == 21 || from == 22)
        return look_up(cam48(p_) ? cadence_pair::film48_to_30_frames
                                 : cadence_pair::film24_to_30_frames,
                       false, s, trunc32(F(p / dur(R)))) /
               24;
    return look_up(
               cam48(p_) ? cadence_pair::film48_to_60_fields : cadence_pair::film24_to_60_fields,
               false, field_row, trunc32(F(2 * p / dur(R)))) /
           24;
}

double translation::pulled_playout_to_cel(double p, int from) {
    int const family  = playout_family(from);
    int const R       = family == 25 ? 3 : (from == 35 || from == 37 || from == 40) ? 5 : 4;
    long long const n = trunc32(F(2 * p / dur(R)));
    long long frames;
    if (family == 25) {
        long long const q = n / 50, i = n % 50;
        if (single_film(pr_))
            frames = 24 * q + i / 2 - ((i != 0 && (i % 2 == 0 || i > 26)) ? 1 : 0);
        else
            frames = 48 * q + i - (i > 1) - (i > 25);
    } else {
        long long const q = n / 10, i = n % 10;
        if (single_film(pr_))
            frames = 4 * q + i / 2 - ((i != 0 && (n % 2 == 0 || i > 5)) ? 1 : 0);
        else
            frames = 8 * q + i - (i > 1) - (i > 5);
    }
    return static_cast<double>(frames) * res(pr_);
}

double translation::pulled_cel_to_playout(double p, int to) {
    long long const n = trunc32(F(F(p / res(pr_))));
    bool const single = single_film(pr_);
    if (to == 32 || to == 33 || to == 38) {
        long long const u = single ? 2 * (n + n / 24) + (n % 24 > 0) + (n % 24 > 12)
                                   : n + 2 * (n / 48) + (n % 48 > 0) + (n % 48 > 25);
        return to == 38 ? static_cast<double>(u) / fps(8) : static_cast<double>(u) * 0.5 / fps(3);
    }
    // 30 and 60: a double-film project puts 8 project frames on 10 fields,
    // each frame from the first field that playout to cel maps back to it
    // (fields 0, 1, 3, 4, 5, 7, 8, 9 of a group).
    long long const r = n % 8;
    long long const u =
        single ? 2 * (n + n / 4) + (n % 4 > 0) + (n % 4 > 2) : 10 * (n / 8) + r + (r > 1) + (r > 4);
    double const f = (to == 34 || to == 36)   ? fps(4)
                     : (to == 35 || to == 37) ? fps(5)
                     : to == 39               ? fps(9)
                                              : fps(10);
    return (to == 39 || to == 40) ? static_cast<double>(u) / f : static_cast<double>(u) * 0.5 / f;
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

double mPosn_Xlate(double posn, MediumRollMedium from, MediumRollMedium to,
                   MPosn_Xlate_Params& params, bool round_to_frame) {
    from = concrete(from, params);
    to   = concrete(to, params);
    if (!accepted(from))
        report(true, "mPosn_Xlate() - un-handled medium type - FROM<%d> to<%d>\n", from, to);
    if (!accepted(to))
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
    if (nesting >= max_nesting) {
        report_no_route(params);
    } else {
        ++nesting;
        translation t(params, round_to_frame);
        r = t.route(p, from, to);
        --nesting;
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
    FrameRate const r = Tov::CurrentProject::getFrameRate(0);
    return r == Tov::FrameRate_24 || r == Tov::FrameRate_48 ? 1 : 0;
}

}  // namespace marlix
