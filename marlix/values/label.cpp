#include "marlix/values/label.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "marlix/base/wrap32.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/host/host_config.h"
#include "marlix/host/host_services.h"
#include "marlix/host/tokeniser.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/c_double.h"
#include "marlix/internal/c_number.h"
#include "marlix/internal/narrow32.h"
#include "marlix/values/detail/natural_pitch.h"

namespace marlix {

namespace {

constexpr char keep_prefix[]             = "LABEL_REV";
constexpr std::size_t keep_prefix_length = sizeof keep_prefix - 1;  // 9
constexpr int written_revision           = 1;
constexpr char config_name_format[]      = "LABEL%d";
// Pitches this large would print hundreds of digits with ten decimals; they
// are written in exponent form so the keep string stays bounded.
constexpr double fixed_pitch_limit = 1e15;

// Where make_keep_string(nullptr) writes: one buffer per thread.
thread_local char shared_keep_buffer[label::keep_string_capacity];

}  // namespace

namespace detail {

// Seconds per sample at each type's natural rate. Film types count
// perforations at 24 frames a second; the 25 fps and NTSC timecode rows
// come from the host's frame-rate table.
void fill_natural_pitch_table(double (&pitch)[label_type_count]) {
    for (double& p : pitch) p = 1.0;
    double const pal  = 1.0 / Tov::getFramesPerSecond(Tov::FrameRate_25);
    double const ntsc = 1.0 / Tov::getFramesPerSecond(Tov::FrameRate_29_97);
    struct row {
        label_t type;
        double pitch;
    };
    row const rows[] = {
        {LABEL_PAL, pal},
        {LABEL_NTSC, ntsc},
        {LABEL_NTSC_DROP, ntsc},
        {LABEL_TC_24, 1.0 / 24},
        {LABEL_KEYCODE_16, 1.0 / 24},
        {LABEL_FOOT_16, 1.0 / 24},
        {LABEL_INK_16, 1.0 / 24},
        {LABEL_KEYCODE_16_4, 1.0 / 24},
        {LABEL_KEYCODE_16_5, 1.0 / 24},
        {LABEL_KEYCODE_16_6, 1.0 / 24},
        {LABEL_FILM_FRAMES, 1.0 / 24},
        {LABEL_KEYCODE_35, 1.0 / 96},
        {LABEL_FOOT_35, 1.0 / 96},
        {LABEL_INK_35, 1.0 / 96},
        {LABEL_KEYCODE_35_4, 1.0 / 96},
        {LABEL_KEYCODE_35_5, 1.0 / 96},
        {LABEL_KEYCODE_35_6, 1.0 / 96},
        {LABEL_KEYCODE_353, 1.0 / 72},
        {LABEL_FOOT_353, 1.0 / 72},
        {LABEL_KEYCODE_353_4, 1.0 / 72},
        {LABEL_KEYCODE_353_5, 1.0 / 72},
        {LABEL_KEYCODE_353_6, 1.0 / 72},
        {LABEL_TC_48, 1.0 / 48},
        {LABEL_KEYCODE_352, 1.0 / 48},
        {LABEL_TC_50, 0.02},
        {LABEL_TC_60, 1.0 / 60},
        {LABEL_KEYCODE_358, 1.0 / 192},
        {LABEL_KEYCODE_658_80, 1.0 / 192},
        {LABEL_KEYCODE_658_120, 1.0 / 192},
        {LABEL_KEYCODE_655_80, 1.0 / 120},
        {LABEL_KEYCODE_655_120, 1.0 / 120},
        {LABEL_KEYCODE_6510_80, 1.0 / 240},
        {LABEL_KEYCODE_6510_120, 1.0 / 240},
        {LABEL_KEYCODE_6515_120, 1.0 / 360},
    };
    for (row const& r : rows) pitch[r.type] = r.pitch;
}

}  // namespace detail

double label::get_natural_pitch(label_t t) {
    return t >= 0 && t < label_type_count ? detail::natural_pitch_table[t] : 1.0;
}

void label::init() {
    bounded  = 0;
    pitch    = 0.0;
    revision = 1;
}

label::label(label_t t) : start(0, t), length(default_length) {
    init();
    pitch   = get_natural_pitch(t);
    bounded = 1;
}

label::label(label_point const& p) : start(p), length(default_length) {
    init();
    start.converter->set_prefix(&start, p.prefix_text);
    pitch = get_natural_pitch(p.converter->type());
}

label::label(label_cvt& c) : start(0, &c), length(default_length) {
    init();
    pitch = get_natural_pitch(c.type());
}

label::label(label const& l) : start(l.start), length(l.length) {
    init();
    pitch   = l.pitch;
    bounded = l.bounded;
}

label& label::operator=(label const& l) {
    if (&l == this) return *this;
    label_t const t = l.type();
    start           = l.start;
    start.set_type(t);
    length  = l.length;
    pitch   = l.pitch;
    bounded = l.bounded;
    // The prefix comes from l's start text; the text is copied first, as
    // printing it and taking the prefix both use point buffers.
    char text[label_point::text_capacity];
    std::snprintf(text, sizeof text, "%s", l.get_string(0));
    start.converter->set_prefix(&start, text);
    revision = l.revision;
    return *this;
}

label::label(char const* text) : start(0, LABEL_NONE), length(default_length) {
    init();
    tokeniser tokens(text, " ");
    char const* t0 = tokens.token(0);
    if (t0 == nullptr || std::strncmp(t0, keep_prefix, keep_prefix_length) != 0) return;
    // The character after "LABEL_REV" (normally ':') is not tested.
    revision = std::strlen(t0) > keep_prefix_length + 1
                   ? detail::narrow_saturating(detail::read_c_number(t0 + keep_prefix_length + 1))
                   : 0;
    if (revision == 0 || revision > 2) return;
    if (char const* name = tokens.token(1)) start.set_type(get_label_type(name));
    if (char const* start_text = tokens.token(2)) {
        start.set_keep_sample(start_text);
        if (start.converter->has_prefix()) start.converter->set_prefix(&start, start_text);
    }
    long long units = length;
    if (char const* n = tokens.token(3)) units = detail::read_c_number(n);
    if (char const* p = tokens.token(4)) pitch = detail::read_c_double(p).value;
    if (char const* b = tokens.token(5))
        bounded = detail::narrow_saturating(detail::read_c_number(b));
    long32 const u = samples_per_unit();
    pitch          = pitch / u;
    length         = detail::narrow_saturating(tokens.token(3) != nullptr ? units * u : units);
}

void label::set_prefix(char const* s) {
    if (start.converter->has_prefix()) start.converter->set_prefix(&start, s);
}

void label::set_type(label_t t) {
    start.set_type(t);
    pitch = get_natural_pitch(t);
}

long32 label::get_end() const { return wrap_add(start.sample, length); }
void label::set_end(long32 e) { length = wrap_sub(e, start.sample); }
void label::set_start(double p) { start.set_sample(abs_posn_to_sample(p)); }
void label::set_start(label_point& p) {
    start.set_sample(start.same_type(p) ? p.sample : INVALID_SAMPLE);
}

long32 label::get_sample(long32 s) const {
    long32 const r = wrap_sub(s, start.sample);
    return contains_rel(r) ? r : INVALID_SAMPLE;
}

long32 label::get_sample(label_point& p) const {
    return start.same_type(p) ? get_sample(p.sample) : INVALID_SAMPLE;
}

long32 label::get_sample(char const* text) const {
    return get_sample(start.converter->get_abs_sample(text));
}

long32 label::get_sample(double p) const { return get_sample(abs_posn_to_sample(p)); }

long32 label::get_samples_from_SMPTETc(unsigned word, bool& drop) const {
    unsigned copy = word;
    return start.converter->get_samples_from_SMPTETc(copy, drop);
}

double label::sample_to_posn(long32 s) const {
    if (s == INVALID_SAMPLE) return invalid_position;
    return start.converter->normalise_sample_unit(s) * pitch;
}

double label::get_abs_posn(long32 r) const {
    return contains_rel(r) ? sample_to_posn(wrap_add(start.sample, r)) : invalid_position;
}

double label::get_abs_posn(label_point& p) const {
    return get_abs_posn(wrap_sub(p.sample, start.sample));
}

double label::get_abs_posn_extrapolate(long32 r) const {
    return sample_to_posn(wrap_add(start.sample, r));
}

double label::get_abs_posn_extrapolate(label_point& p) const {
    return get_abs_posn_extrapolate(wrap_sub(p.sample, start.sample));
}

double label::get_V2tc(long32 n) const {
    label_point moved(start);
    moved += n;
    return moved.converter->get_V2tc(moved.sample);
}

char const* label::get_string(long32 r) const {
    long32 const c = cmp(r);
    if (c == 0) return start.converter->get_string(&start, r);
    return c == SAMPLE_PAST_END ? ">>>>>>" : "<<<<<<";
}

char const* label::get_perfs_string(long32 r) const {
    long32 const c = cmp(r);
    if (c == 0) return start.converter->get_perfs_string(&start, r);
    return c == SAMPLE_PAST_END ? ">>" : "<<";
}

unsigned label::get_smpte_string(long32 r) const {
    return cmp(r) != 0 ? 0u : start.converter->get_smpte_string(&start, r);
}

char const* label::get_string(label_point& p) const {
    return get_string(start.same_type(p) ? p.sample : INVALID_SAMPLE);
}

label_point label::get_label_point(long32 r) const {
    label_point p(start);
    long32 const c = cmp(r);
    if (c != 0)
        p.sample = c;
    else
        p.set_sample(wrap_add(start.sample, r));
    return p;
}

label_point label::get_unbounded_label_point(long32 r) const {
    label_point p(start);
    p.set_sample(wrap_add(start.sample, r));
    return p;
}

long32 label::cmp(long32 r) const {
    if (!bounded) return 0;
    if (r > length || r == INVALID_SAMPLE) return SAMPLE_PAST_END;
    return r >= 0 ? 0 : SAMPLE_BEFORE_START;
}

bool label::contains_rel(long32 r) const { return !bounded || (r >= 0 && r <= length); }

int label::contains(long32 s) const { return contains_rel(wrap_sub(s, start.sample)) ? 1 : 0; }

int label::contains(label_point& p) const {
    return start.same_type(p) && contains(p.sample) ? 1 : 0;
}

int label::contains(label& l) {
    char mine[label_point::text_capacity];
    std::snprintf(mine, sizeof mine, "%s", start.get_prefix());
    if (!detail::same_ignoring_case(mine, l.start.get_prefix())) return 0;
    long32 const from = wrap_sub(l.start.sample, start.sample);
    if (!l.bounded) return contains_rel(from) ? 1 : 0;
    return contains_rel(from) && contains_rel(wrap_add(from, l.length)) ? 1 : 0;
}

bool label::operator==(label const& l) const {
    return start == l.get_label_point(0) && get_label_point(length) == l.get_label_point(l.length);
}

char* label::make_keep_string(char* buffer) const {
    char* out        = buffer != nullptr ? buffer : shared_keep_buffer;
    long32 const u   = samples_per_unit();
    double const spu = u * pitch;
    // Fixed ten decimals for every ordinary pitch; a pitch too large for
    // that width in exponent form, which the reader reads back alike. The
    // point is a '.' in every locale.
    // Room for the widest fixed text and a point of several bytes.
    char seconds[sizeof "-999999999999999.0000000000" + MB_LEN_MAX];
    std::snprintf(seconds, sizeof seconds,
                  std::isfinite(spu) && std::fabs(spu) >= fixed_pitch_limit ? "%.10e" : "%.10f",
                  spu);
    detail::use_c_point(seconds);
    std::snprintf(out, keep_string_capacity, "LABEL_REV:%d %s %s %d %s %d", written_revision,
                  type_str(), start.get_string(), u != 0 ? length / u : 0, seconds, bounded);
    return out;
}

void label::write_to_config(configb& store, int n) const {
    char name[sizeof "LABEL-2147483648"];
    std::snprintf(name, sizeof name, config_name_format, n);
    char keep[keep_string_capacity];
    store.set(name, make_keep_string(keep), nullptr);
}

long32 label::posn_to_sample(double p) const {
    double const e = pitch / 250.0;
    double const w = samples_per_unit() * pitch;
    double const v = std::floor((e + p) / w) * w + e;
    if (v == invalid_position) return INVALID_SAMPLE;
    return detail::truncate_or_invalid(v >= 0 ? v / pitch : v / pitch - 1.0);
}

long32 label::abs_posn_to_sample(double p) const {
    double const v = pitch / 500.0 + p;
    if (v == invalid_position) return INVALID_SAMPLE;
    return detail::truncate_or_invalid(v >= 0 ? v / pitch : v / pitch - 1.0);
}

}  // namespace marlix
