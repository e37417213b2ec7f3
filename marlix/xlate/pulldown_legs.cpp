// The legs through the pulldown cadences: film to 25, 30 and 60 fps video
// and back by the cadence tables (or frame for frame), and a pulled
// playout of a film project against its cel time.

#include <cmath>

#include "marlix/xlate/cadence_tables.h"
#include "marlix/xlate/detail/translation.h"

namespace marlix::detail {

namespace {

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

// Each cadence at a camera speed of 24 or 48.
cadence_pair cadence_of(bool cam48, cadence_pair at24, cadence_pair at48) {
    return cam48 ? at48 : at24;
}

}  // namespace

double translation::film_to_video(double p, MediumRollMedium to) {
    double const frames         = F(p / frame_duration(Tov::FrameRate_24));
    int const s                 = p_.sequence;
    int const field_row         = field_phase_row(s);
    bool const frames_to_frames = frame_cadence_medium(to);
    if (is_25_video(to)) {
        double const pal_fps = frames_per_second(Tov::FrameRate_25);
        if (project_.ntsc()) return fail_with_cookie(msg_film_to_video, p_);
        if (pr_ == Tov::FrameRate_Project25) return frames / pal_fps;
        bool const frame_for_frame =
            p_.transfer == transfer_none || p_.transfer == transfer_frame_for_frame;
        long long const n = trunc32(F(frames));
        if (cam48(p_)) {
            if (frame_for_frame) return frames / frames_per_second(Tov::FrameRate_50);
            if (frames_to_frames)
                return look_up(cadence_pair::film48_to_25_frames, true, s, n) / pal_fps;
            return look_up(cadence_pair::film48_to_50_fields, true, field_row, n) / (2 * pal_fps);
        }
        if (frame_for_frame) return frames / pal_fps;
        if (frames_to_frames)
            return look_up(cadence_pair::film24_to_25_frames, true, s, n) / pal_fps;
        double fields = look_up(cadence_pair::film24_to_50_fields, true, field_row, n);
        if (to == MediumRoll25i && round_ && std::fmod(fields, 2.0) != 0.0) fields += 1;
        return fields / (2 * pal_fps);
    }
    double const V = frames_per_second(single_rate_of(to));
    if (project_.pal()) return fail_with_cookie(msg_film_to_video, p_);
    if (pr_ == Tov::FrameRate_Project30) return frames / V;
    long long const n = trunc32(F(frames));
    if (cam48(p_)) {
        if (p_.transfer == transfer_frame_for_frame) return frames / (2 * V);
        if (frames_to_frames) return look_up(cadence_pair::film48_to_30_frames, true, s, n) / V;
        return look_up(cadence_pair::film48_to_60_fields, true, field_row, n) / (2 * V);
    }
    if (p_.transfer == transfer_frame_for_frame) return frames / V;
    if (frames_to_frames) return look_up(cadence_pair::film24_to_30_frames, true, s, n) / V;
    double fields = look_up(cadence_pair::film24_to_60_fields, true, field_row, n);
    if (to == MediumRoll30i && round_ && std::fmod(fields, 2.0) != 0.0) fields += 1;
    return fields / (2 * V);
}

double translation::video_to_film(double p, MediumRollMedium from) {
    int const s                 = p_.sequence;
    int const field_row         = field_phase_row(s);
    double const cam            = camera(p_);
    bool const at48             = cam48(p_);
    bool const frames_to_frames = frame_cadence_medium(from);
    if (is_24p_video(from)) {
        if (cam != 24.0 && cam != 48.0) return fail_with_cookie(msg_camera_rate, p_);
        double d = frame_duration(Tov::FrameRate_24);
        if (runs_1001(from)) d *= 1.001;
        return F(p / d * cam / 24) / 24;
    }
    if (is_25_video(from)) {
        double const pal_frame = frame_duration(Tov::FrameRate_25);
        if (project_.ntsc()) return shot_standard_failure();
        if (pr_ == Tov::FrameRate_Project25)
            return F(p / frames_per_second(Tov::FrameRate_25)) / 24;
        bool const frame_for_frame =
            p_.transfer == transfer_none || p_.transfer == transfer_frame_for_frame;
        if (frame_for_frame) return p / pal_frame * (cam > 47.0 ? 2 : 1) / 24;
        if (frames_to_frames)
            return look_up(cadence_of(at48, cadence_pair::film24_to_25_frames,
                                      cadence_pair::film48_to_25_frames),
                           false, s, trunc32(F(p / pal_frame))) /
                   24;
        return look_up(cadence_of(at48, cadence_pair::film24_to_50_fields,
                                  cadence_pair::film48_to_50_fields),
                       false, field_row, trunc32(F(2 * p / pal_frame))) /
               24;
    }
    FrameRate const R = single_rate_of(from);
    if (project_.pal()) return shot_standard_failure();
    if (pr_ == Tov::FrameRate_Project30) return F(p / frames_per_second(R)) / 24;
    if (p_.transfer == transfer_frame_for_frame)
        return p / frame_duration(R) * (cam > 47.0 ? 2 : 1) / 24;
    if (frames_to_frames)
        return look_up(cadence_of(at48, cadence_pair::film24_to_30_frames,
                                  cadence_pair::film48_to_30_frames),
                       false, s, trunc32(F(p / frame_duration(R)))) /
               24;
    return look_up(cadence_of(at48, cadence_pair::film24_to_60_fields,
                              cadence_pair::film48_to_60_fields),
                   false, field_row, trunc32(F(2 * p / frame_duration(R)))) /
           24;
}

double translation::pulled_playout_to_cel(double p, MediumRollMedium from) {
    long long const n = trunc32(F(2 * p / frame_duration(single_rate_of(from))));
    bool const single = project_.single_film();
    long long frames;
    if (playout_family(from) == 25) {  // 24 or 48 film frames on 50 fields
        long long const q = n / 50, i = n % 50;
        if (single)
            frames = 24 * q + i / 2 - ((i != 0 && (i % 2 == 0 || i > 26)) ? 1 : 0);
        else
            frames = 48 * q + i - (i > 1) - (i > 25);
    } else {  // 4 or 8 film frames on 10 fields
        long long const q = n / 10, i = n % 10;
        if (single)
            frames = 4 * q + i / 2 - ((i != 0 && (n % 2 == 0 || i > 5)) ? 1 : 0);
        else
            frames = 8 * q + i - (i > 1) - (i > 5);
    }
    return static_cast<double>(frames) * cel_resolution(pr_);
}

double translation::pulled_cel_to_playout(double p, MediumRollMedium to) {
    long long const n  = trunc32(F(F(p / cel_resolution(pr_))));
    bool const single  = project_.single_film();
    double const f     = frames_per_second(medium_rate(to));
    bool const frames_ = medium_class(to).double_rate();  // 50p, 60p, 60pM count frames
    long long u;
    if (playout_family(to) == 25) {
        u = single ? 2 * (n + n / 24) + (n % 24 > 0) + (n % 24 > 12)
                   : n + 2 * (n / 48) + (n % 48 > 0) + (n % 48 > 25);
    } else {
        // 30 and 60: a double-film project puts 8 project frames on 10
        // fields, each frame from the first field that playout to cel maps
        // back to it (fields 0, 1, 3, 4, 5, 7, 8, 9 of a group).
        long long const r = n % 8;
        u                 = single ? 2 * (n + n / 4) + (n % 4 > 0) + (n % 4 > 2)
                                   : 10 * (n / 8) + r + (r > 1) + (r > 4);
    }
    return frames_ ? static_cast<double>(u) / f : static_cast<double>(u) * 0.5 / f;
}

}  // namespace marlix::detail
