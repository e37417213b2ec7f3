// The C interface, time: rates, projects and translation, cadences, the
// legacy functions and SMPTE timecode: each function checks its pointers, calls the C++
// library and turns its failure values into status codes. No exception
// leaves a function: a failed allocation is MARLIX_ERR_NO_MEMORY, anything
// else unexpected MARLIX_ERR_INTERNAL.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "marlix/base/special_samples.h"
#include "marlix/capi/capi_support.h"
#include "marlix/front/names.h"
#include "marlix/front/timecode_text.h"
#include "marlix/host/host_services.h"
#include "marlix/legacy/frame_label.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/smpte/timecode.h"
#include "marlix/xlate/cadence_tables.h"
#include "marlix/xlate/position_xlate.h"

namespace {

using namespace marlix;
using capi::copy_out;
using capi::guarded;

static_assert(MARLIX_TC_TEXT_SIZE == smpte::text_capacity);

marlix_status tc_status(smpte::error e) {
    return e == smpte::error::none
               ? MARLIX_OK
               : static_cast<marlix_status>(capi::tc_status_offset + static_cast<int>(e));
}

smpte::rate to_rate(marlix_tc_rate r) { return smpte::rate{r.num, r.den, r.drop != 0}; }

bool known_tc_rate(marlix_tc_rate r) { return *smpte::rate_name(to_rate(r)) != '\0'; }

bool host_rate(int32_t r) { return front::is_host_rate(r); }

marlix_status to_settings(marlix_project const& p, Tov::ProjectSettings& s) {
    if (!host_rate(p.frame_rate) || !host_rate(p.camera_speed) || !host_rate(p.output_rate) ||
        !std::isfinite(p.cel_resolution) || p.cel_resolution < 0)
        return MARLIX_ERR_ARGUMENT;
    s.frame_rate             = static_cast<Tov::FrameRate>(p.frame_rate);
    s.drop_frame_timecode    = p.drop_frame != 0;
    s.in_camera_film_speed   = static_cast<Tov::FrameRate>(p.camera_speed);
    s.output_rate            = static_cast<Tov::FrameRate>(p.output_rate);
    s.output_scan            = p.output_interlaced != 0 ? Tov::Image::ScanMode_InterlacedUpperFirst
                                                        : Tov::Image::ScanMode_Progressive;
    s.output_pulled_down     = p.output_pulled_down != 0;
    s.audio_sync_pulled_down = p.audio_sync_pulled_down != 0;
    s.cel_resolution         = p.cel_resolution;
    return MARLIX_OK;
}

marlix_project from_settings(Tov::ProjectSettings const& s) {
    return marlix_project{s.frame_rate,
                          s.drop_frame_timecode ? 1 : 0,
                          s.in_camera_film_speed,
                          s.output_rate,
                          Tov::Image::isProgressive(s.output_scan) ? 0 : 1,
                          s.output_pulled_down ? 1 : 0,
                          s.audio_sync_pulled_down ? 1 : 0,
                          s.cel_resolution};
}

// The C numbers of the cadences are the enumeration's, 0..7.
static_assert(cadence_pair_count == static_cast<int>(cadence_pair::film48_to_60_fields) + 1);

bool cadence_of(int32_t n, cadence_pair& p) {
    if (n < 0 || n >= cadence_pair_count) return false;
    p = static_cast<cadence_pair>(n);
    return true;
}

// The legacy functions write their blanks-to-zeros into the label: they
// work on a copy, cut to what a label can hold.
struct label_copy {
    char text[32];
    explicit label_copy(char const* s) { std::snprintf(text, sizeof text, "%s", s); }
};
}  // namespace

marlix_status marlix_rate_find(const char* name, int32_t* rate, int32_t* drop) {
    return guarded([&] {
        if (name == nullptr || rate == nullptr) return MARLIX_ERR_ARGUMENT;
        auto const r = front::find_host_rate(name);
        if (!r) return MARLIX_ERR_RATE;
        *rate = r.value.rate;
        if (drop != nullptr) *drop = r.value.drop ? 1 : 0;
        return MARLIX_OK;
    });
}

marlix_status marlix_project_get(marlix_project* project) {
    return guarded([&] {
        if (project == nullptr) return MARLIX_ERR_ARGUMENT;
        *project = from_settings(Tov::CurrentProject::settings());
        return MARLIX_OK;
    });
}

marlix_status marlix_project_set(const marlix_project* project) {
    return guarded([&] {
        if (project == nullptr) return MARLIX_ERR_ARGUMENT;
        Tov::ProjectSettings s;
        marlix_status const status = to_settings(*project, s);
        if (status == MARLIX_OK) Tov::CurrentProject::apply(s);
        return status;
    });
}

marlix_status marlix_project_default(marlix_project* project) {
    return guarded([&] {
        if (project == nullptr) return MARLIX_ERR_ARGUMENT;
        *project = from_settings(Tov::ProjectSettings{});
        return MARLIX_OK;
    });
}

marlix_status marlix_xlate_params_init(marlix_xlate_params* params) {
    return guarded([&] {
        if (params == nullptr) return MARLIX_ERR_ARGUMENT;
        *params = marlix_xlate_params{transfer_frame_for_frame, 0, 0, -1, 0, 0};
        return MARLIX_OK;
    });
}

marlix_status marlix_xlate(double position, int32_t from, int32_t to,
                           const marlix_xlate_params* params, const marlix_project* project,
                           double* result) {
    if (result == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        marlix_xlate_params p;
        marlix_xlate_params_init(&p);
        if (params != nullptr) p = *params;
        if (from < 0 || from >= medium_count || to < 0 || to >= medium_count ||
            p.video_medium < -1 || p.video_medium >= medium_count)
            return MARLIX_ERR_MEDIUM;
        if (p.sequence < -1 || p.sequence > 255 || !front::transfer_numbered(p.transfer) ||
            (p.transfer_rate != 0 && !host_rate(p.transfer_rate)))
            return MARLIX_ERR_ARGUMENT;
        std::optional<Tov::ThreadProject> scope;
        if (project != nullptr) {
            Tov::ProjectSettings s;
            if (marlix_status const status = to_settings(*project, s); status != MARLIX_OK)
                return status;
            scope.emplace(s);
        }
        MPosn_Xlate_Params x;  // the project's values, then the caller's
        x.transfer           = static_cast<transfer_type>(p.transfer);
        x.sequence           = p.sequence;
        x.transfer_rate      = static_cast<Tov::FrameRate>(p.transfer_rate);
        x.video_medium       = p.video_medium >= 0 ? static_cast<MediumRollMedium>(p.video_medium)
                                                   : getDefaultEditMediumForProject();
        x.vidproj_24p_source = p.source_24p != 0;
        double const r       = mPosn_Xlate(position, static_cast<MediumRollMedium>(from),
                                           static_cast<MediumRollMedium>(to), x, p.round_to_frame != 0);
        *result              = r;
        return std::fabs(r) == invalid_position && from != to ? MARLIX_ERR_NO_TRANSLATION
                                                              : MARLIX_OK;
    });
}

marlix_status marlix_cadence_find(const char* text, int32_t* cadence) {
    return guarded([&] {
        if (text == nullptr || cadence == nullptr) return MARLIX_ERR_ARGUMENT;
        return capi::found_into(front::find_cadence(text), cadence, MARLIX_ERR_UNREADABLE);
    });
}

marlix_status marlix_cadence_shape(int32_t cadence, int32_t* film_frames, int32_t* output_units,
                                   int32_t* fields, int32_t* phases) {
    return guarded([&] {
        cadence_pair p{};
        if (!cadence_of(cadence, p)) return MARLIX_ERR_ARGUMENT;
        cadence_shape const shape = cadence_shape_of(p);
        if (film_frames != nullptr) *film_frames = shape.film_frames;
        if (output_units != nullptr) *output_units = shape.output_units;
        if (fields != nullptr) *fields = shape.fields ? 1 : 0;
        if (phases != nullptr) *phases = cadence_phase_count(p);
        return MARLIX_OK;
    });
}

marlix_status marlix_cadence_frame(int32_t cadence, int32_t phase, int32_t unit,
                                   int32_t* film_frame) {
    return guarded([&] {
        cadence_pair p{};
        if (!cadence_of(cadence, p) || film_frame == nullptr || phase < 0 ||
            phase >= cadence_phase_count(p) || unit < 0)
            return MARLIX_ERR_ARGUMENT;
        *film_frame = cadence_frame_on_show(p, phase, unit);
        return MARLIX_OK;
    });
}

namespace {

marlix_status cadence_step(int32_t cadence, int32_t row, int64_t n, int64_t* out, bool forward) {
    return guarded([&] {
        cadence_pair p{};
        if (!cadence_of(cadence, p) || out == nullptr || n < 0 || row < 0 || row > 255)
            return MARLIX_ERR_ARGUMENT;
        cadence_shape const s = cadence_shape_of(p);
        int const group       = forward ? s.film_frames : s.output_units;
        int const other       = forward ? s.output_units : s.film_frames;
        if (!cadence_lookup_fits(n, group, other)) return MARLIX_ERR_ARGUMENT;
        *out =
            cadence_lookup(forward ? cadence_forward(p) : cadence_inverse(p), row, n, group, other);
        return MARLIX_OK;
    });
}

}  // namespace

marlix_status marlix_cadence_forward(int32_t cadence, int32_t row, int64_t film_frame,
                                     int64_t* unit) {
    return cadence_step(cadence, row, film_frame, unit, true);
}

marlix_status marlix_cadence_inverse(int32_t cadence, int32_t row, int64_t unit,
                                     int64_t* film_frame) {
    return cadence_step(cadence, row, unit, film_frame, false);
}

marlix_status marlix_legacy_timecode(int32_t frame, int32_t type, int32_t drop, char* out,
                                     size_t size) {
    return guarded([&] {
        if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
        char text[16] = {};
        if (video_frames_to_timecode(frame, text, static_cast<label_type>(type), drop) == 0)
            return MARLIX_ERR_REFUSED;
        return copy_out(text, out, size);
    });
}

marlix_status marlix_legacy_label_to_frames(const char* label, int32_t type, int32_t drop,
                                            int32_t transfer, int32_t edit, int32_t frames_per_foot,
                                            int32_t foot_phase, int32_t phase, int32_t* frame,
                                            int32_t* foot_phase_out, int32_t* phase_out,
                                            int32_t* code) {
    return guarded([&] {
        if (label == nullptr || frame == nullptr) return MARLIX_ERR_ARGUMENT;
        label_copy text(label);
        int foot = 0, ph = 0;
        long32 f{};  // set wherever rc is not 0
        int const rc = label_to_frames(
            text.text, foot_phase, &foot, phase, &ph, &f, static_cast<label_type>(type), drop,
            static_cast<transfer_type>(transfer), static_cast<edit_type>(edit), frames_per_foot);
        if (rc == 0) return MARLIX_ERR_REFUSED;
        *frame = f;
        if (foot_phase_out != nullptr) *foot_phase_out = foot;
        if (phase_out != nullptr) *phase_out = ph;
        if (code != nullptr) *code = rc;
        return MARLIX_OK;
    });
}

marlix_status marlix_legacy_label_plus_frames(const char* label, int32_t delta, int32_t type,
                                              int32_t drop, int32_t transfer, int32_t edit,
                                              int32_t frames_per_foot, uint8_t digit_flags,
                                              int32_t foot_phase, int32_t phase, char* out,
                                              size_t size, int32_t* foot_phase_out,
                                              int32_t* phase_out, int32_t* code) {
    return guarded([&] {
        if (label == nullptr || out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
        label_copy text(label);
        char result[16] = {};
        int foot = 0, ph = 0;
        int const rc =
            label_plus_frames(result, &foot, &ph, text.text, foot_phase, phase, delta,
                              static_cast<label_type>(type), drop, frames_per_foot, digit_flags,
                              static_cast<transfer_type>(transfer), static_cast<edit_type>(edit));
        if (rc == 0) return MARLIX_ERR_REFUSED;
        if (foot_phase_out != nullptr) *foot_phase_out = foot;
        if (phase_out != nullptr) *phase_out = ph;
        if (code != nullptr) *code = rc;
        return copy_out(result, out, size);
    });
}

marlix_status marlix_legacy_film_to_video(int32_t film, int32_t transfer, int32_t phase,
                                          int32_t end_phase, int32_t* video, int32_t* code) {
    return guarded([&] {
        if (video == nullptr) return MARLIX_ERR_ARGUMENT;
        long32 v{};
        int const rc =
            film_to_video_frame(film, static_cast<transfer_type>(transfer), phase, end_phase, &v);
        if (rc == 0) return MARLIX_ERR_REFUSED;
        *video = v;
        if (code != nullptr) *code = rc;
        return MARLIX_OK;
    });
}

marlix_status marlix_legacy_video_to_film(int32_t video, int32_t transfer, int32_t phase,
                                          int32_t* film, int32_t* phase_out, int32_t* code) {
    return guarded([&] {
        if (film == nullptr) return MARLIX_ERR_ARGUMENT;
        long32 f{};
        int ph = 0;
        int const rc =
            video_to_film_frame(video, static_cast<transfer_type>(transfer), phase, &ph, &f);
        if (rc == 0) return MARLIX_ERR_REFUSED;
        *film = f;
        if (phase_out != nullptr) *phase_out = ph;
        if (code != nullptr) *code = rc;
        return MARLIX_OK;
    });
}

const char* marlix_tc_rate_names(void) {
    return capi::guarded_or("", [] { return smpte::rate_names(); });
}

marlix_status marlix_tc_rate_find(const char* name, marlix_tc_rate* rate) {
    return guarded([&] {
        if (name == nullptr || rate == nullptr) return MARLIX_ERR_ARGUMENT;
        auto const r = smpte::parse_rate(name);
        if (!r.ok()) return tc_status(r.why);
        *rate = marlix_tc_rate{r.value.num, r.value.den, r.value.drop ? 1 : 0};
        return MARLIX_OK;
    });
}

marlix_status marlix_tc_read(const char* text, marlix_tc_rate rate, int32_t any_hours,
                             int32_t* frames) {
    return guarded([&] {
        if (text == nullptr || frames == nullptr) return MARLIX_ERR_ARGUMENT;
        smpte::read_options options;
        options.any_hours = any_hours != 0;
        auto const r      = front::read_timecode(text, to_rate(rate), options);
        if (!r.ok()) return tc_status(r.why);
        *frames = r.value.frames();
        return MARLIX_OK;
    });
}

marlix_status marlix_tc_write(int32_t frames, marlix_tc_rate rate, int32_t wrap_day, char* out,
                              size_t size) {
    return guarded([&] {
        if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
        if (!known_tc_rate(rate)) return MARLIX_ERR_TC_UNKNOWN_RATE;
        char text[smpte::text_capacity];
        smpte::write(smpte::timecode(frames, to_rate(rate)), text, sizeof text, wrap_day != 0);
        return copy_out(text, out, size);
    });
}

marlix_status marlix_tc_add(int32_t frames, marlix_tc_rate rate, int64_t delta, int32_t wrap_day,
                            int32_t* result) {
    return guarded([&] {
        if (result == nullptr) return MARLIX_ERR_ARGUMENT;
        if (!known_tc_rate(rate)) return MARLIX_ERR_TC_UNKNOWN_RATE;
        auto const r =
            front::add_on_clock(smpte::timecode(frames, to_rate(rate)), delta, wrap_day != 0);
        if (!r.ok()) return tc_status(r.why);
        *result = r.value.frames();
        return MARLIX_OK;
    });
}

marlix_status marlix_tc_duration(int32_t in, int32_t out, marlix_tc_rate rate, int32_t signed_count,
                                 int32_t* result) {
    return guarded([&] {
        if (result == nullptr) return MARLIX_ERR_ARGUMENT;
        if (!known_tc_rate(rate)) return MARLIX_ERR_TC_UNKNOWN_RATE;
        smpte::rate const r = to_rate(rate);
        auto const d        = front::clock_duration(smpte::timecode(in, r), smpte::timecode(out, r),
                                                    signed_count != 0);
        if (!d.ok()) return tc_status(d.why);
        *result = d.value;
        return MARLIX_OK;
    });
}

marlix_status marlix_tc_convert(int32_t frames, marlix_tc_rate from, marlix_tc_rate to,
                                int32_t method, int32_t sync_film, int32_t sync_video,
                                int32_t* result) {
    return guarded([&] {
        if (result == nullptr || method < 0 || method > 2) return MARLIX_ERR_ARGUMENT;
        auto const r = smpte::convert(smpte::timecode(frames, to_rate(from)), to_rate(to),
                                      static_cast<smpte::method>(method),
                                      smpte::sync_point{sync_film, sync_video});
        if (!r.ok()) return tc_status(r.why);
        *result = r.value.frames();
        return MARLIX_OK;
    });
}

marlix_status marlix_tc_pull(int64_t video_frame, marlix_tc_rate rate, int64_t* film_frame,
                             int32_t* split) {
    return guarded([&] {
        // The pull counts fields, twice the video frames: beyond its limit a
        // frame is a wrong argument here, as the header says.
        if (film_frame == nullptr || video_frame < -smpte::pull_frame_limit ||
            video_frame > smpte::pull_frame_limit)
            return MARLIX_ERR_ARGUMENT;
        auto const r = smpte::pull(video_frame, to_rate(rate));
        if (!r.ok()) return tc_status(r.why);
        *film_frame = r.value.film_frame;
        if (split != nullptr) *split = r.value.split ? 1 : 0;
        return MARLIX_OK;
    });
}
