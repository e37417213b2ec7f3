// The C interface: each function checks its pointers, calls the C++
// library and turns its failure values into status codes. No exception
// leaves a function: a failed allocation is MARLIX_ERR_NO_MEMORY, anything
// else unexpected MARLIX_ERR_INTERNAL.

#include "marlix/marlix_c.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string_view>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/host/host_services.h"
#include "marlix/host/library_entry.h"
#include "marlix/legacy/frame_label.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/smpte/timecode.h"
#include "marlix/values/edit_label.h"
#include "marlix/version.h"
#include "marlix/xlate/cadence_tables.h"
#include "marlix/xlate/position_xlate.h"

struct marlix_label {
    // One of the two is set. They are held apart because a label is not
    // deleted through a pointer to its base (it has no virtual destructor).
    std::unique_ptr<marlix::label> plain;
    std::unique_ptr<marlix::edit_label> edit;

    marlix::label& value() const { return edit ? *edit : *plain; }
};

namespace {

using namespace marlix;

template <class F>
marlix_status guarded(F&& f) noexcept {
    try {
        return f();
    } catch (std::bad_alloc const&) {
        return MARLIX_ERR_NO_MEMORY;
    } catch (...) {
        return MARLIX_ERR_INTERNAL;
    }
}

// Copies text into the caller's buffer, cut to size - 1 characters.
marlix_status copy_out(std::string_view text, char* out, std::size_t size) {
    if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
    std::size_t const n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n == text.size() ? MARLIX_OK : MARLIX_ERR_TRUNCATED;
}

bool is_label_type(int32_t t) { return t >= 0 && t < label_type_count; }

marlix_status converter_of(int32_t type, label_cvt*& c) {
    if (!is_label_type(type) || !has_own_converter(static_cast<label_t>(type)))
        return MARLIX_ERR_LABEL_TYPE;
    c = get_static_label_cvt(static_cast<label_t>(type));
    return c != nullptr ? MARLIX_OK : MARLIX_ERR_NO_MEMORY;
}

marlix_status tc_status(smpte::error e) {
    return e == smpte::error::none ? MARLIX_OK
                                   : static_cast<marlix_status>(31 + static_cast<int>(e));
}

smpte::rate to_rate(marlix_tc_rate r) { return smpte::rate{r.num, r.den, r.drop != 0}; }

bool known_tc_rate(marlix_tc_rate r) { return *smpte::rate_name(to_rate(r)) != '\0'; }

MediumRollIdent to_ident(marlix_medium_id id) {
    return MediumRollIdent(static_cast<MediumRollMedium>(id.medium),
                           static_cast<MediumRollGeneration>(id.generation));
}

marlix_medium_id from_ident(MediumRollIdent const& id) {
    return marlix_medium_id{id.medium, id.generation};
}

bool is_ident(marlix_medium_id id) {
    return id.medium >= 0 && id.medium < medium_count && id.generation >= 0 &&
           id.generation <= MediumRoll4thGen;
}

// A label type's family, for the medium identities of ink labels.
UserLabelType family_of(int32_t label_type) {
    return is_label_type(label_type) ? label_type_family(static_cast<label_t>(label_type))
                                     : UserLabelNone;
}

bool host_rate(int32_t r) { return Tov::getFramesPerSecond(static_cast<Tov::FrameRate>(r)) > 0; }

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

const char* marlix_status_text(marlix_status status) {
    switch (status) {
        case MARLIX_OK: return "success";
        case MARLIX_ERR_ARGUMENT: return "an argument is null or out of range";
        case MARLIX_ERR_LABEL_TYPE: return "not a label type with a converter";
        case MARLIX_ERR_UNREADABLE: return "the text does not read";
        case MARLIX_ERR_TRUNCATED: return "the text was cut to fit the buffer";
        case MARLIX_ERR_MEDIUM: return "not a medium";
        case MARLIX_ERR_RATE: return "not a frame rate";
        case MARLIX_ERR_NO_TRANSLATION: return "no translation between these media";
        case MARLIX_ERR_NO_MEMORY: return "no memory";
        case MARLIX_ERR_REFUSED: return "the arguments were refused";
        case MARLIX_ERR_INTERNAL: return "an internal failure";
        default: break;
    }
    int const e = static_cast<int>(status) - 31;
    if (e >= 1 && e <= static_cast<int>(smpte::error::no_pulldown))
        return smpte::error_text(static_cast<smpte::error>(e));
    return "an unknown status";
}

const char* marlix_version(void) { return library_version(); }

void marlix_set_diagnostic_sink(marlix_diagnostic_sink sink, void* context) {
    set_diagnostic_sink(sink, context);
}

void marlix_set_messages_to_standard_output(int on) { set_messages_to_standard_output(on != 0); }

marlix_status marlix_label_type_find(const char* name, int32_t* type) {
    if (name == nullptr || type == nullptr) return MARLIX_ERR_ARGUMENT;
    auto const choice = find_label_type(name);
    if (choice.why != label_type_lookup::found || !has_own_converter(choice.type))
        return MARLIX_ERR_LABEL_TYPE;
    *type = choice.type;
    return MARLIX_OK;
}

marlix_status marlix_label_type_name(int32_t type, char* out, size_t size) {
    if (!is_label_type(type)) return MARLIX_ERR_LABEL_TYPE;
    return copy_out(label_type_class_name(static_cast<label_t>(type)), out, size);
}

marlix_status marlix_label_text(int32_t type, int32_t sample, const char* prefix, char* out,
                                size_t size) {
    if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
    label_cvt* c         = nullptr;
    marlix_status status = converter_of(type, c);
    if (status != MARLIX_OK) return status;
    label_point point(0, c);
    if (prefix != nullptr) std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", prefix);
    return copy_out(c->get_abs_string(&point, sample), out, size);
}

marlix_status marlix_label_sample(int32_t type, const char* text, const char* prefix,
                                  int32_t* sample) {
    if (text == nullptr || sample == nullptr) return MARLIX_ERR_ARGUMENT;
    label_cvt* c         = nullptr;
    marlix_status status = converter_of(type, c);
    if (status != MARLIX_OK) return status;
    label_point point(0, c);
    if (prefix != nullptr) std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", prefix);
    point.set_sample(text);
    if (point.get_sample() == INVALID_SAMPLE) return MARLIX_ERR_UNREADABLE;
    *sample = point.get_sample();
    return MARLIX_OK;
}

marlix_status marlix_medium_find(const char* name, int32_t* medium) {
    if (name == nullptr || medium == nullptr) return MARLIX_ERR_ARGUMENT;
    MediumRollMedium m{};
    if (!find_medium(name, m)) return MARLIX_ERR_MEDIUM;
    *medium = m;
    return MARLIX_OK;
}

marlix_status marlix_medium_name(int32_t medium, char* out, size_t size) {
    char const* name = medium_name(static_cast<MediumRollMedium>(medium));
    if (*name == '\0') return MARLIX_ERR_MEDIUM;
    return copy_out(name, out, size);
}

marlix_status marlix_medium_id_read(const char* text, int32_t label_type, marlix_medium_id* id) {
    if (text == nullptr || id == nullptr) return MARLIX_ERR_ARGUMENT;
    MediumRollIdent ident;
    MediumRollId_from_string(text, ident, family_of(label_type));
    if (ident.medium == MediumRollNone && ident.generation == MediumRollNoGen)
        return MARLIX_ERR_UNREADABLE;
    *id = from_ident(ident);
    return MARLIX_OK;
}

marlix_status marlix_medium_id_text(marlix_medium_id id, char* out, size_t size) {
    if (!is_ident(id)) return MARLIX_ERR_ARGUMENT;
    char text[medium_id_text_capacity];
    MediumRollId_to_string(text, to_ident(id));
    return copy_out(text, out, size);
}

marlix_status marlix_medium_id_user_text(marlix_medium_id id, char* out, size_t size) {
    if (!is_ident(id)) return MARLIX_ERR_ARGUMENT;
    return copy_out(MediumRollId_to_UserString(to_ident(id)), out, size);
}

int marlix_medium_id_fits(marlix_medium_id pattern, marlix_medium_id id) {
    if (!is_ident(pattern) || !is_ident(id)) return 0;
    return to_ident(pattern).MediumRollId_fits_this(to_ident(id));
}

marlix_status marlix_medium_roll_keep_string(marlix_medium_id id, const char* reelid, char* out,
                                             size_t size) {
    if (!is_ident(id)) return MARLIX_ERR_ARGUMENT;
    MediumRoll roll(to_ident(id));
    if (reelid != nullptr) roll.set_reelid(reelid);
    char keep[MediumRoll::keep_capacity];
    return copy_out(roll.make_keep_string(keep), out, size);
}

marlix_status marlix_medium_roll_read(const char* keep, marlix_medium_id* id, char* reelid,
                                      size_t size) {
    if (keep == nullptr || id == nullptr) return MARLIX_ERR_ARGUMENT;
    MediumRoll const roll(keep);
    if (!roll.is_valid()) return MARLIX_ERR_UNREADABLE;
    *id = from_ident(roll.type());
    return reelid != nullptr ? copy_out(roll.get_reelid(), reelid, size) : MARLIX_OK;
}

marlix_status marlix_label_new(int32_t type, marlix_label** label) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    if (!is_label_type(type) || !has_own_converter(static_cast<label_t>(type)))
        return MARLIX_ERR_LABEL_TYPE;
    return guarded([&] {
        auto handle   = std::make_unique<marlix_label>();
        handle->plain = std::make_unique<marlix::label>(static_cast<label_t>(type));
        *label        = handle.release();
        return MARLIX_OK;
    });
}

marlix_status marlix_edit_label_new(int32_t type, marlix_medium_id id, marlix_label** label) {
    if (label == nullptr || !is_ident(id)) return MARLIX_ERR_ARGUMENT;
    if (!is_label_type(type) || !has_own_converter(static_cast<label_t>(type)))
        return MARLIX_ERR_LABEL_TYPE;
    return guarded([&] {
        auto handle  = std::make_unique<marlix_label>();
        handle->edit = std::make_unique<edit_label>(static_cast<label_t>(type), to_ident(id));
        *label       = handle.release();
        return MARLIX_OK;
    });
}

namespace {

// A keep string reads when it is of revision 1 or 2 and names a type with
// a converter.
template <class L>
marlix_status read_keep(char const* keep, marlix_label** label,
                        std::unique_ptr<L> marlix_label::*slot) {
    if (keep == nullptr || label == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        auto value = std::make_unique<L>(keep);
        if (value->revision < 1 || value->revision > 2 || value->type() == LABEL_DUMMY ||
            !has_own_converter(value->type()))
            return MARLIX_ERR_UNREADABLE;
        auto handle     = std::make_unique<marlix_label>();
        (*handle).*slot = std::move(value);
        *label          = handle.release();
        return MARLIX_OK;
    });
}

}  // namespace

marlix_status marlix_label_read(const char* keep, marlix_label** label) {
    return read_keep<marlix::label>(keep, label, &marlix_label::plain);
}

marlix_status marlix_edit_label_read(const char* keep, marlix_label** label) {
    return read_keep<edit_label>(keep, label, &marlix_label::edit);
}

void marlix_label_free(marlix_label* label) { delete label; }

marlix_status marlix_label_keep_string(const marlix_label* label, char* out, size_t size) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    if (label->edit) {
        char keep[edit_label::keep_buffer_capacity];
        return copy_out(label->edit->make_keep_string(keep), out, size);
    }
    char keep[marlix::label::keep_string_capacity];
    return copy_out(label->plain->make_keep_string(keep), out, size);
}

marlix_status marlix_label_medium_id(const marlix_label* label, marlix_medium_id* id) {
    if (label == nullptr || id == nullptr || !label->edit) return MARLIX_ERR_ARGUMENT;
    *id = from_ident(label->edit->get_MediumRoll());
    return MARLIX_OK;
}

namespace {

template <class T, class F>
marlix_status read_field(marlix_label const* label, T* v, F field) {
    if (label == nullptr || v == nullptr) return MARLIX_ERR_ARGUMENT;
    *v = static_cast<T>(field(label->value()));
    return MARLIX_OK;
}

}  // namespace

marlix_status marlix_label_type(const marlix_label* label, int32_t* type) {
    return read_field(label, type, [](marlix::label const& l) { return l.type(); });
}
marlix_status marlix_label_start(const marlix_label* label, int32_t* sample) {
    return read_field(label, sample, [](marlix::label const& l) { return l.get_start(); });
}
marlix_status marlix_label_length(const marlix_label* label, int32_t* samples) {
    return read_field(label, samples, [](marlix::label const& l) { return l.get_length(); });
}
marlix_status marlix_label_pitch(const marlix_label* label, double* seconds) {
    return read_field(label, seconds, [](marlix::label const& l) { return l.get_pitch(); });
}
marlix_status marlix_label_bounded(const marlix_label* label, int32_t* bounded) {
    return read_field(label, bounded, [](marlix::label const& l) { return l.bounded; });
}

marlix_status marlix_label_set_start(marlix_label* label, int32_t sample) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    // An edit label's own setters (they hide the label's) keep its pitch.
    if (label->edit)
        label->edit->set_start(static_cast<long32>(sample));
    else
        label->plain->set_start(static_cast<long32>(sample));
    return MARLIX_OK;
}

marlix_status marlix_label_set_start_text(marlix_label* label, const char* text) {
    if (label == nullptr || text == nullptr) return MARLIX_ERR_ARGUMENT;
    if (label->edit)
        label->edit->set_start(text);
    else
        label->plain->set_start(text);
    return label->value().get_start() == INVALID_SAMPLE ? MARLIX_ERR_UNREADABLE : MARLIX_OK;
}

marlix_status marlix_label_set_length(marlix_label* label, int32_t samples) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    if (label->edit)
        label->edit->set_length(static_cast<long32>(samples));
    else
        label->plain->set_length(static_cast<long32>(samples));
    return MARLIX_OK;
}

marlix_status marlix_label_set_pitch(marlix_label* label, double seconds) {
    if (label == nullptr || !std::isfinite(seconds)) return MARLIX_ERR_ARGUMENT;
    if (label->edit)
        label->edit->set_pitch(seconds);
    else
        label->plain->set_pitch(seconds);
    return MARLIX_OK;
}

marlix_status marlix_label_set_bounded(marlix_label* label, int32_t bounded) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    label->value().set_bounded(bounded != 0 ? 1 : 0);
    return MARLIX_OK;
}

marlix_status marlix_label_set_prefix(marlix_label* label, const char* prefix) {
    if (label == nullptr || prefix == nullptr) return MARLIX_ERR_ARGUMENT;
    label->value().set_prefix(prefix);
    return MARLIX_OK;
}

marlix_status marlix_label_text_at(const marlix_label* label, int32_t relative, char* out,
                                   size_t size) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    return copy_out(label->value().get_string(static_cast<long32>(relative)), out, size);
}

marlix_status marlix_label_position(const marlix_label* label, const char* text, double* seconds) {
    if (label == nullptr || text == nullptr || seconds == nullptr) return MARLIX_ERR_ARGUMENT;
    double const p = label->value().get_posn(text);
    if (std::fabs(p) >= invalid_position) return MARLIX_ERR_UNREADABLE;
    *seconds = p;
    return MARLIX_OK;
}

marlix_status marlix_rate_find(const char* name, int32_t* rate, int32_t* drop) {
    if (name == nullptr || rate == nullptr) return MARLIX_ERR_ARGUMENT;
    std::string_view const text(name);
    if (text.size() > 1 && text[0] == '#') {
        int n        = 0;
        auto const r = std::from_chars(text.data() + 1, text.data() + text.size(), n);
        if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !host_rate(n))
            return MARLIX_ERR_RATE;
        *rate = n;
        if (drop != nullptr) *drop = 0;
        return MARLIX_OK;
    }
    auto const r = smpte::parse_rate(text);
    if (!r.ok()) return MARLIX_ERR_RATE;
    Tov::FrameRate const host = smpte::host_frame_rate(r.value);
    if (host == Tov::FrameRate_None) return MARLIX_ERR_RATE;
    *rate = host;
    if (drop != nullptr) *drop = r.value.drop ? 1 : 0;
    return MARLIX_OK;
}

marlix_status marlix_project_get(marlix_project* project) {
    if (project == nullptr) return MARLIX_ERR_ARGUMENT;
    *project = from_settings(Tov::CurrentProject::settings());
    return MARLIX_OK;
}

marlix_status marlix_project_set(const marlix_project* project) {
    if (project == nullptr) return MARLIX_ERR_ARGUMENT;
    Tov::ProjectSettings s;
    marlix_status const status = to_settings(*project, s);
    if (status == MARLIX_OK) Tov::CurrentProject::apply(s);
    return status;
}

marlix_status marlix_project_default(marlix_project* project) {
    if (project == nullptr) return MARLIX_ERR_ARGUMENT;
    *project = from_settings(Tov::ProjectSettings{});
    return MARLIX_OK;
}

marlix_status marlix_xlate_params_init(marlix_xlate_params* params) {
    if (params == nullptr) return MARLIX_ERR_ARGUMENT;
    *params = marlix_xlate_params{transfer_frame_for_frame, 0, 0, -1, 0, 0};
    return MARLIX_OK;
}

marlix_status marlix_xlate(double position, int32_t from, int32_t to,
                           const marlix_xlate_params* params, const marlix_project* project,
                           double* result) {
    if (result == nullptr) return MARLIX_ERR_ARGUMENT;
    marlix_xlate_params p;
    marlix_xlate_params_init(&p);
    if (params != nullptr) p = *params;
    if (from < 0 || from >= medium_count || to < 0 || to >= medium_count || p.video_medium < -1 ||
        p.video_medium >= medium_count)
        return MARLIX_ERR_MEDIUM;
    if (p.sequence < -1 || p.sequence > 255 || p.transfer < 0 || p.transfer > 99 ||
        (p.transfer_rate != 0 && !host_rate(p.transfer_rate)))
        return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
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
    if (text == nullptr || cadence == nullptr) return MARLIX_ERR_ARGUMENT;
    cadence_pair p{};
    if (!find_cadence_pair(text, p)) return MARLIX_ERR_UNREADABLE;
    *cadence = static_cast<int32_t>(p);
    return MARLIX_OK;
}

marlix_status marlix_cadence_shape(int32_t cadence, int32_t* film_frames, int32_t* output_units,
                                   int32_t* fields, int32_t* phases) {
    cadence_pair p{};
    if (!cadence_of(cadence, p)) return MARLIX_ERR_ARGUMENT;
    cadence_shape const shape = cadence_shape_of(p);
    if (film_frames != nullptr) *film_frames = shape.film_frames;
    if (output_units != nullptr) *output_units = shape.output_units;
    if (fields != nullptr) *fields = shape.fields ? 1 : 0;
    if (phases != nullptr) *phases = cadence_phase_count(p);
    return MARLIX_OK;
}

marlix_status marlix_cadence_frame(int32_t cadence, int32_t phase, int32_t unit,
                                   int32_t* film_frame) {
    cadence_pair p{};
    if (!cadence_of(cadence, p) || film_frame == nullptr || phase < 0 ||
        phase >= cadence_phase_count(p) || unit < 0)
        return MARLIX_ERR_ARGUMENT;
    *film_frame = cadence_frame_on_show(p, phase, unit);
    return MARLIX_OK;
}

namespace {

marlix_status cadence_step(int32_t cadence, int32_t row, int64_t n, int64_t* out, bool forward) {
    cadence_pair p{};
    if (!cadence_of(cadence, p) || out == nullptr || n < 0 || row < 0 || row > 255)
        return MARLIX_ERR_ARGUMENT;
    cadence_shape const s = cadence_shape_of(p);
    // The group count is at most n / 24: no overflow for any n >= 0.
    *out = forward ? cadence_lookup(cadence_forward(p), row, n, s.film_frames, s.output_units)
                   : cadence_lookup(cadence_inverse(p), row, n, s.output_units, s.film_frames);
    return MARLIX_OK;
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
    if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
    char text[16] = {};
    if (video_frames_to_timecode(frame, text, static_cast<label_type>(type), drop) == 0)
        return MARLIX_ERR_REFUSED;
    return copy_out(text, out, size);
}

marlix_status marlix_legacy_label_to_frames(const char* label, int32_t type, int32_t drop,
                                            int32_t transfer, int32_t edit, int32_t frames_per_foot,
                                            int32_t foot_phase, int32_t phase, int32_t* frame,
                                            int32_t* foot_phase_out, int32_t* phase_out,
                                            int32_t* code) {
    if (label == nullptr || frame == nullptr) return MARLIX_ERR_ARGUMENT;
    label_copy text(label);
    int foot = 0, ph = 0;
    long32 f     = 0;
    int const rc = label_to_frames(
        text.text, foot_phase, &foot, phase, &ph, &f, static_cast<label_type>(type), drop,
        static_cast<transfer_type>(transfer), static_cast<edit_type>(edit), frames_per_foot);
    if (rc == 0) return MARLIX_ERR_REFUSED;
    *frame = f;
    if (foot_phase_out != nullptr) *foot_phase_out = foot;
    if (phase_out != nullptr) *phase_out = ph;
    if (code != nullptr) *code = rc;
    return MARLIX_OK;
}

marlix_status marlix_legacy_label_plus_frames(const char* label, int32_t delta, int32_t type,
                                              int32_t drop, int32_t transfer, int32_t edit,
                                              int32_t frames_per_foot, uint8_t digit_flags,
                                              int32_t foot_phase, int32_t phase, char* out,
                                              size_t size, int32_t* foot_phase_out,
                                              int32_t* phase_out, int32_t* code) {
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
}

marlix_status marlix_legacy_film_to_video(int32_t film, int32_t transfer, int32_t phase,
                                          int32_t end_phase, int32_t* video, int32_t* code) {
    if (video == nullptr) return MARLIX_ERR_ARGUMENT;
    long32 v = 0;
    int const rc =
        film_to_video_frame(film, static_cast<transfer_type>(transfer), phase, end_phase, &v);
    if (rc == 0) return MARLIX_ERR_REFUSED;
    *video = v;
    if (code != nullptr) *code = rc;
    return MARLIX_OK;
}

marlix_status marlix_legacy_video_to_film(int32_t video, int32_t transfer, int32_t phase,
                                          int32_t* film, int32_t* phase_out, int32_t* code) {
    if (film == nullptr) return MARLIX_ERR_ARGUMENT;
    long32 f     = 0;
    int ph       = 0;
    int const rc = video_to_film_frame(video, static_cast<transfer_type>(transfer), phase, &ph, &f);
    if (rc == 0) return MARLIX_ERR_REFUSED;
    *film = f;
    if (phase_out != nullptr) *phase_out = ph;
    if (code != nullptr) *code = rc;
    return MARLIX_OK;
}

marlix_status marlix_tc_rate_find(const char* name, marlix_tc_rate* rate) {
    if (name == nullptr || rate == nullptr) return MARLIX_ERR_ARGUMENT;
    auto const r = smpte::parse_rate(name);
    if (!r.ok()) return tc_status(r.why);
    *rate = marlix_tc_rate{r.value.num, r.value.den, r.value.drop ? 1 : 0};
    return MARLIX_OK;
}

marlix_status marlix_tc_read(const char* text, marlix_tc_rate rate, int32_t any_hours,
                             int32_t* frames) {
    if (text == nullptr || frames == nullptr) return MARLIX_ERR_ARGUMENT;
    smpte::read_options options;
    options.any_hours = any_hours != 0;
    auto const r      = smpte::read(text, to_rate(rate), options);
    if (!r.ok()) return tc_status(r.why);
    *frames = r.value.frames();
    return MARLIX_OK;
}

marlix_status marlix_tc_write(int32_t frames, marlix_tc_rate rate, int32_t wrap_day, char* out,
                              size_t size) {
    if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
    if (!known_tc_rate(rate)) return MARLIX_ERR_TC_UNKNOWN_RATE;
    char text[smpte::text_capacity];
    smpte::write(smpte::timecode(frames, to_rate(rate)), text, sizeof text, wrap_day != 0);
    return copy_out(text, out, size);
}

marlix_status marlix_tc_add(int32_t frames, marlix_tc_rate rate, int64_t delta, int32_t* result) {
    if (result == nullptr) return MARLIX_ERR_ARGUMENT;
    if (!known_tc_rate(rate)) return MARLIX_ERR_TC_UNKNOWN_RATE;
    auto const r = smpte::add(smpte::timecode(frames, to_rate(rate)), delta);
    if (!r.ok()) return tc_status(r.why);
    *result = r.value.frames();
    return MARLIX_OK;
}

marlix_status marlix_tc_convert(int32_t frames, marlix_tc_rate from, marlix_tc_rate to,
                                int32_t method, int32_t sync_film, int32_t sync_video,
                                int32_t* result) {
    if (result == nullptr || method < 0 || method > 2) return MARLIX_ERR_ARGUMENT;
    auto const r = smpte::convert(smpte::timecode(frames, to_rate(from)), to_rate(to),
                                  static_cast<smpte::method>(method),
                                  smpte::sync_point{sync_film, sync_video});
    if (!r.ok()) return tc_status(r.why);
    *result = r.value.frames();
    return MARLIX_OK;
}

marlix_status marlix_tc_pull(int64_t video_frame, marlix_tc_rate rate, int64_t* film_frame,
                             int32_t* split) {
    if (film_frame == nullptr) return MARLIX_ERR_ARGUMENT;
    auto const r = smpte::pull(video_frame, to_rate(rate));
    if (!r.ok()) return tc_status(r.why);
    *film_frame = r.value.film_frame;
    if (split != nullptr) *split = r.value.split ? 1 : 0;
    return MARLIX_OK;
}
