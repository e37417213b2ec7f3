// The legs between cel time, the clock and sound: the playout clock runs
// at the output rate (0.96 or 0.8 of a film project's speed when a film
// project plays out at 25 or 30 without pulldown, 1.001 slower at the
// 1000/1001 rates), and sound follows the camera speed of its transfer.

#include "marlix/xlate/detail/translation.h"

namespace marlix::detail {

double translation::cel_to_clock(double p) {
    if (project_.whole_film() && !pulled()) {
        rate_class const out = classify(p_.output_rate);
        if (out.pal_video())
            p *= 0.96;
        else if (out.ntsc_video())
            p *= 0.8;
    }
    if (p_.output_has_1001) p *= 1.001;
    return p;
}

double translation::clock_to_cel(double p) {
    if (p_.output_has_1001) p /= 1.001;
    if (project_.whole_film() && !pulled()) {
        rate_class const out = classify(p_.output_rate);
        if (out.pal_video())
            p *= to_25_from_24;
        else if (out.ntsc_video())
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
    double t                     = p;
    rate_class const transfer_at = classify(p_.transfer_rate);
    if (project_.film()) {
        if (p_.transfer == transfer_none) {
            if (transfer_at.has_1001) t /= 1.001;
            if (transfer_at.pal_video()) {
                if (!video_in_film_pulldown(false)) t *= to_25_from_24;
            } else if (!video_in_film_pulldown(true)) {
                t *= 1.25;
            }
        }
    } else if (project_.pal_video()) {
        if (p_.transfer != transfer_none && !keeps_camera_speed()) t = camera_factor(p, 25);
    } else if (pr_ == Tov::FrameRate_Project25 || pr_ == Tov::FrameRate_Project30) {
        t = p;
    } else if (p_.transfer == transfer_none) {
        if (transfer_at.has_1001) t /= 1.001;
    } else if (!keeps_camera_speed()) {
        t = camera_factor(p, 30);
    }
    return t / frame_duration(pr_) * cel_resolution(pr_);
}

double translation::cel_to_audio(double p) {
    double t                     = p / cel_resolution(pr_) * frame_duration(pr_);
    rate_class const transfer_at = classify(p_.transfer_rate);
    if (project_.film()) {
        if (p_.transfer == transfer_none) {
            if (transfer_at.has_1001) t *= 1.001;
            // 0.96 for 25 and 50 fps transfers, as sound to cel does: the two
            // directions stay inverse for both.
            if (transfer_at.pal_video()) {
                if (!video_in_film_pulldown(false)) t *= 0.96;
            } else if (!video_in_film_pulldown(true)) {
                t *= 0.8;
            }
        }
    } else if (project_.pal_video()) {
        if (p_.transfer != transfer_none && !keeps_camera_speed()) t = inverse_camera_factor(t, 25);
    } else if (pr_ == Tov::FrameRate_Project25) {
        t *= to_25_from_24;
    } else if (pr_ == Tov::FrameRate_Project30) {
        t *= 1.25;
    } else if (p_.transfer == transfer_none) {
        if (transfer_at.has_1001) t *= 1.001;
    } else if (!keeps_camera_speed()) {
        t = inverse_camera_factor(t, 30);
    }
    return t;
}

double translation::audio_to_clock(double p) {
    rate_class const out = classify(p_.output_rate);
    if (project_.film()) {
        if (pulled()) return out.has_1001 ? p * 1.001 : p;
        if (out.pal_video()) return p * 0.96;
        if (out.ntsc_video()) return out.has_1001 ? p * 0.8008 : p * 0.8;
        return p;
    }
    auto camera_step = [&](double v, double base) {
        if (p_.vidproj_24p_source) return p_.audio_sync_pulled_down ? v : camera_factor(v, base);
        return p_.transfer == transfer_frame_for_frame ? camera_factor(v, base) : v;
    };
    if (project_.pal_video()) return p_.transfer == transfer_none ? p : camera_step(p, 25);
    if (p_.transfer == transfer_none) {
        bool const slow_out = out.has_1001, slow_transfer = classify(p_.transfer_rate).has_1001;
        if (slow_out && !slow_transfer) return p * 1.001;
        if (slow_transfer && !slow_out) return p / 1.001;
        return p;
    }
    double const v = out.has_1001 ? p * 1.001 : p;
    return camera_step(v, 30);
}

double translation::clock_to_audio(double p) {
    // The inverse of sound to clock step by step; the camera step divides by
    // the factor that sound to clock multiplies by, under the same
    // conditions, so that clock and sound positions correspond both ways.
    double const cam     = camera(p_);
    rate_class const out = classify(p_.output_rate);
    auto inverse_step    = [&](double v, double base) {
        double const f = cam == 48.0 ? cam / (2 * base) : cam / base;
        bool apply     = p_.vidproj_24p_source ? !p_.audio_sync_pulled_down
                                                  : p_.transfer == transfer_frame_for_frame;
        return apply ? v / f : v;
    };
    if (project_.film()) {
        if (out.has_1001) p /= 1.001;
        if (!pulled()) {
            if (out.pal_video())
                p *= to_25_from_24;
            else if (out.ntsc_video())
                p *= 1.25;
        }
        return p;
    }
    if (project_.pal_video()) return p_.transfer == transfer_none ? p : inverse_step(p, 25);
    if (p_.transfer == transfer_none) {
        bool const slow_out = out.has_1001, slow_transfer = classify(p_.transfer_rate).has_1001;
        if (slow_out && !slow_transfer) return p / 1.001;
        if (slow_transfer && !slow_out) return p * 1.001;
        return p;
    }
    double const v = out.has_1001 ? p / 1.001 : p;
    return inverse_step(v, 30);
}

}  // namespace marlix::detail
