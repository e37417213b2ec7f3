// The legs between film, video and playout media and cel time or sound:
// each picture medium counts frames (or fields) at its own rate, and a
// project frame is a frame or a field of it by the project's rate class.

#include "marlix/xlate/detail/translation.h"

namespace marlix::detail {

double translation::film_to_cel(double p) {
    if (project_.single_film_rate()) {
        double frames = p / frame_duration(Tov::FrameRate_24);
        if (cam48(p_)) frames *= 0.5;
        return F(frames) * cel_resolution(pr_);
    }
    if (project_.double_film_rate()) {
        double frames = p / frame_duration(Tov::FrameRate_24);
        if (camera(p_) == 24.0) frames *= 2;
        return F(frames) * cel_resolution(pr_);
    }
    if (project_.project_group) return F(p / 24.0) * cel_resolution(pr_);
    if (!shot_standard_ok(p_.video_medium)) return shot_standard_failure();
    return legs(p, MediumRollFilm, p_.video_medium, MediumRollTOVCel);
}

double translation::cel_to_film(double p) {
    if (project_.film() && !project_.project_group) {
        double const cam = camera(p_);
        if (cam != 24.0 && cam != 48.0) return fail_with_cookie(msg_camera_speed, p_);
        return F(p / cel_resolution(Tov::FrameRate_24) * cam / 24) / 24;
    }
    if (project_.project_group) return F(p / cel_resolution(pr_)) / 24;
    if (project_.video()) {
        if (!shot_standard_ok(p_.video_medium)) return shot_standard_failure();
        if (!p_.vidproj_24p_source)
            return legs(p, MediumRollTOVCel, p_.video_medium, MediumRollFilm);
        if (p_.transfer == transfer_cadence) return p;
        return p * frames_per_second(pr_) / 24;
    }
    return p;
}

double translation::video24_to_cel(double p, MediumRollMedium from) {
    if (!project_.whole_film() && !shot_standard_ok(p_.video_medium))
        return shot_standard_failure();
    return legs(p, from, MediumRollFilm, MediumRollTOVCel);
}

double translation::video_to_cel(double p, MediumRollMedium from) {
    double const fields    = F(2 * p / frame_duration(single_rate_of(from)));
    bool const same_family = is_25_video(from) ? project_.pal_video() : project_.ntsc_video();
    if (same_family) return fields * (project_.double_rate() ? 1.0 : 0.5) * cel_resolution(pr_);
    if (project_.film() || pr_ == Tov::FrameRate_Project25)
        return legs(p, from, MediumRollFilm, MediumRollTOVCel);
    return shot_standard_failure();
}

double translation::cel_to_video(double p, MediumRollMedium to) {
    if (project_.whole_film() || project_.project_group)
        return legs(p, MediumRollTOVCel, MediumRollFilm, to);
    if (!project_.video()) return p;  // 23.976 and 47.952 film, and rates of no class
    double const n =
        project_.double_rate() ? F(p / cel_resolution(pr_)) : F(2 * p / cel_resolution(pr_));
    // Units of the medium a second: frames at 50 and 60, fields below.
    rate_class const medium = medium_class(to);
    double const units      = frames_per_second(medium_rate(to)) * (medium.double_rate() ? 1 : 2);
    bool const same_family  = is_video(to) && (project_.pal() ? medium.pal() : medium.ntsc());
    if (same_family) return n / units;
    if (project_.ntsc() && project_.double_rate()) return p;  // 25-family destinations
    return shot_standard_failure();
}

double translation::video_to_audio(double p, MediumRollMedium from) {
    bool const plain = p_.transfer == transfer_none || p_.transfer == transfer_cadence;
    if (is_25_video(from)) return plain ? p : p * (cam48(p_) ? 50 : 25) / camera(p_);
    if (is_30_video(from)) return plain ? p : p * (cam48(p_) ? 60 : 30) / camera(p_);
    if (p_.transfer == transfer_none) return p;
    if (p_.transfer == transfer_frame_for_frame)
        return p / 1.001 * (cam48(p_) ? 60 : 30) / camera(p_);
    return p / 1.001;
}

double translation::playout_to_cel(double p, MediumRollMedium from) {
    int const family     = playout_family(from);
    FrameRate const R    = single_rate_of(from);
    double const frames1 = F(p / frame_duration(R));
    double const frames2 = F(2 * p / frame_duration(R));
    if (family == 24) {
        if (project_.single_film()) return frames1 * cel_resolution(pr_);
        if (project_.double_film()) return frames2 * cel_resolution(pr_);
        report(true, "%s", runs_1001(from) ? msg_playout_medium : msg_playout_rate);
        return invalid_position;
    }
    bool const same_family = family == 25 ? project_.pal() : project_.ntsc();
    if (same_family) return (project_.double_rate() ? frames2 : frames1) * cel_resolution(pr_);
    if (project_.single_film())
        return pulled() ? pulled_playout_to_cel(p, from) : frames1 * cel_resolution(pr_);
    if (project_.double_film())
        return pulled() ? pulled_playout_to_cel(p, from) : frames2 * cel_resolution(pr_);
    report(true, "%s", msg_playout_medium);
    return invalid_position;
}

double translation::cel_to_playout(double p, MediumRollMedium to) {
    double const n    = F(p / cel_resolution(pr_));
    bool const single = project_.single_film(), twice = project_.double_film();
    int const family = playout_family(to);
    double const f   = frames_per_second(medium_rate(to));
    if (family == 24) {
        if (single) return n / f;
        if (twice) return n * 0.5 / f;
        // Video projects: the 24 playouts take the position as it is (the
        // 1000/1001 playouts at their slower clock), without a message.
        return runs_1001(to) ? p * 1.001 : p;
    }
    if (family == 25 || family == 30) {
        bool const same_family = family == 25 ? project_.pal() : project_.ntsc();
        if (!medium_class(to).double_rate()) {  // 25p, 25i, 30p, 30i and the 1000/1001 ones
            if (same_family) return (project_.double_rate() ? n * 0.5 : n) / f;
            if (single || twice)
                return pulled() ? pulled_cel_to_playout(p, to) : (single ? n : n * 0.5) / f;
        } else {  // 50p, 60p, 60pM
            // A double-film project not pulled: one project frame a 50p or
            // 60p frame, the inverse of playout to cel, which maps them
            // back by frames2.
            if (same_family) return (project_.double_rate() ? n : 2 * n) / f;
            if (single || twice)
                return pulled() ? pulled_cel_to_playout(p, to) : (single ? 2 * n : n) / f;
        }
    }
    report(true, "%s", msg_playout_medium);
    return invalid_position;
}

double translation::playout_to_audio(double p, MediumRollMedium from) {
    int const family             = playout_family(from);
    bool const slow              = runs_1001(from);
    rate_class const transfer_at = classify(p_.transfer_rate);
    auto film_sound_step         = [&](double v) {  // the 0.96 or 0.8 correction of a film project
        if (p_.transfer != transfer_none) return v;
        if (transfer_at.pal_video()) return video_in_film_pulldown(false) ? v : v * 0.96;
        return video_in_film_pulldown(true) ? v : v * 0.8;
    };
    if (family == 24) {
        if (p_.transfer != transfer_none) return slow ? p / 1.001 : p;
        double v = p;
        if (slow && !transfer_at.has_1001) v = p / 1.001;
        if (!slow && transfer_at.has_1001) v = p * 1.001;
        if (transfer_at.pal_video()) {
            if (!video_in_film_pulldown(false)) v *= slow ? 0.9590409590409591 : 0.96;
        } else if (!video_in_film_pulldown(true)) {
            v *= 0.8;
        }
        return v;
    }
    if (family == 25) {
        if (project_.pal_video())
            return p_.transfer == transfer_none || keeps_camera_speed()
                       ? p
                       : inverse_camera_factor(p, 25);
        if (project_.film()) {
            double v = p;
            if (p_.transfer == transfer_none && transfer_at.has_1001) v *= 1.001;
            v = film_sound_step(v);
            return pulled() ? v : v * to_25_from_24;
        }
        if (pr_ == Tov::FrameRate_Project25) return p;
        report(true, "%s", msg_playout_rate);
        return invalid_position;
    }
    if (project_.film()) {
        double v = p;
        if (!slow) {
            if (p_.transfer == transfer_none && transfer_at.has_1001) v *= 1.001;
        } else if (p_.transfer != transfer_none || !transfer_at.has_1001) {
            v = p / 1.001;
        }
        v = film_sound_step(v);
        return pulled() ? v : v * 1.25;
    }
    if (project_.ntsc_video()) {
        if (!slow) {
            if (p_.transfer == transfer_none) return transfer_at.has_1001 ? p * 1.001 : p;
            if (p_.vidproj_24p_source) return p_.audio_sync_pulled_down ? p : p * 1.25;
            return keeps_camera_speed() ? p : inverse_camera_factor(p, 30);
        }
        if (p_.transfer == transfer_none) return transfer_at.has_1001 ? p : p / 1.001;
        return keeps_camera_speed() ? p / 1.001 : inverse_camera_factor(p, 30) / 1.001;
    }
    if (pr_ == Tov::FrameRate_Project30) {
        if (p_.transfer == transfer_none) {
            if (!slow) return transfer_at.has_1001 ? p * 1.001 : p;
            return transfer_at.has_1001 ? p : p / 1.001;
        }
        return slow ? p / 1.001 : p * 1.25;
    }
    report(true, "%s", msg_playout_rate);
    return invalid_position;
}

}  // namespace marlix::detail
