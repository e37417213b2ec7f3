// The C interface to film lists: the logs read, the list matched back, and
// copies of the rows into the caller's structures and buffers.

#include <array>
#include <initializer_list>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "marlix/capi/capi_support.h"
#include "marlix/film/film_lists.h"

// A log finding that is an error, kept with its log.
struct marlix_film_log_error {
    std::size_t log;
    marlix::film::log_finding finding;
};

struct marlix_film_lists {
    marlix::film::film_lists lists;
    std::vector<marlix_film_log_error> log_errors;
    marlix::film::change_list changes;
};

namespace {

namespace film  = marlix::film;
namespace smpte = marlix::smpte;
using marlix::capi::copy_out;
using marlix::capi::guarded;

// The texts of a row that the C interface copies out, by field number;
// null where the row has no such text.
template <class Row>
using text_fields = std::array<std::string Row::*, MARLIX_FILM_SOUNDROLL + 1>;

// Field of row into out; refused without a row or a field it has.
template <class Row>
marlix_status text_of(Row const* row, text_fields<Row> const& fields, int32_t field, char* out,
                      size_t size) {
    return guarded([&] {
        auto const n = static_cast<size_t>(field);  // a negative field is past the last
        if (row == nullptr || n >= fields.size() || fields[n] == nullptr)
            return MARLIX_ERR_ARGUMENT;
        return copy_out(row->*fields[n], out, size);
    });
}

// The texts of a row with key numbers, its feet and frames and its reel
// where it has them.
template <class Row>
constexpr text_fields<Row> key_texts(std::string Row::*feet_frames, std::string Row::*reel) {
    text_fields<Row> t{};
    t[MARLIX_FILM_CLIP]        = &Row::clip;
    t[MARLIX_FILM_CAMROLL]     = &Row::camroll;
    t[MARLIX_FILM_LABROLL]     = &Row::labroll;
    t[MARLIX_FILM_KEY_IN]      = &Row::key_in;
    t[MARLIX_FILM_KEY_OUT]     = &Row::key_out;
    t[MARLIX_FILM_FEET_FRAMES] = feet_frames;
    t[MARLIX_FILM_REEL]        = reel;
    return t;
}

using film::cut_row;
using film::sound_row;

constexpr text_fields<cut_row> cut_texts = [] {
    auto t               = key_texts<cut_row>(&cut_row::feet_frames, &cut_row::reel);
    t[MARLIX_FILM_NOTES] = &cut_row::notes;
    t[MARLIX_FILM_SCENE] = &cut_row::scene;
    t[MARLIX_FILM_TAKE]  = &cut_row::take;
    return t;
}();
// Pulls and dupes.
template <class Row>
constexpr text_fields<Row> piece_texts = key_texts<Row>(nullptr, nullptr);
// The feet and frames of an optical are its row's, not its side's.
constexpr auto side_texts = key_texts<film::optical_side>(nullptr, &film::optical_side::reel);
constexpr auto change_texts =
    key_texts<film::change_row>(&film::change_row::at_feet, &film::change_row::reel);
constexpr text_fields<sound_row> sound_texts = [] {
    text_fields<sound_row> t{};
    t[MARLIX_FILM_CLIP]      = &sound_row::clip;
    t[MARLIX_FILM_REEL]      = &sound_row::reel;
    t[MARLIX_FILM_SOUNDROLL] = &sound_row::soundroll;
    return t;
}();

marlix_tc_rate rate_of(smpte::rate r) { return {r.num, r.den, r.drop ? 1 : 0}; }

// Row index of rows, or null without rows or past the last.
template <class Row>
Row const* row_at(std::vector<Row> const* rows, size_t index) {
    return rows != nullptr && index < rows->size() ? &(*rows)[index] : nullptr;
}

// Each count asked for: *out = n where out is not null. Nothing can fail.
marlix_status put_counts(std::initializer_list<std::pair<size_t*, size_t>> counts) {
    for (auto const& [out, n] : counts)
        if (out != nullptr) *out = n;
    return MARLIX_OK;
}

// Pulls and dupes are alike pieces of negative: f gets piece index of the
// list named, or null past its last. A list number naming neither list, or
// no lists, is refused.
template <class F>
marlix_status with_piece(const marlix_film_lists* lists, int32_t list, size_t index, F&& f) {
    if (lists == nullptr) return MARLIX_ERR_ARGUMENT;
    if (list == MARLIX_FILM_PULLS) return f(row_at(&lists->lists.pulls, index));
    if (list == MARLIX_FILM_DUPES) return f(row_at(&lists->lists.dupes, index));
    return MARLIX_ERR_ARGUMENT;
}

film::optical_side const* side_of(const marlix_film_lists* lists, size_t index, int32_t side) {
    film::optical_row const* o = row_at(lists != nullptr ? &lists->lists.opticals : nullptr, index);
    if (o == nullptr) return nullptr;
    if (side == 1) return &o->in;
    return side == 0 && o->has_out ? &o->out : nullptr;
}

}  // namespace

extern "C" {

void marlix_film_more_defaults(marlix_film_more_options* more) {
    if (more == nullptr) return;
    *more         = marlix_film_more_options{};
    more->handles = 1;
}

marlix_status marlix_film_lists_make(const char* edl, size_t edl_size, marlix_tc_rate rate,
                                     const char* const* logs, const size_t* log_sizes,
                                     size_t log_count, const marlix_film_options* options,
                                     marlix_film_lists** lists) {
    return marlix_film_lists_make_with(edl, edl_size, rate, logs, log_sizes, log_count, options,
                                       nullptr, lists);
}

marlix_status marlix_film_lists_make_with(const char* edl, size_t edl_size, marlix_tc_rate rate,
                                          const char* const* logs, const size_t* log_sizes,
                                          size_t log_count, const marlix_film_options* options,
                                          const marlix_film_more_options* more,
                                          marlix_film_lists** lists) {
    if (lists != nullptr) *lists = nullptr;
    return guarded([&] {
        if (lists == nullptr || (edl == nullptr && edl_size != 0) ||
            (log_count != 0 && (logs == nullptr || log_sizes == nullptr)))
            return MARLIX_ERR_ARGUMENT;
        marlix_film_more_options m;
        marlix_film_more_defaults(&m);
        if (more != nullptr) m = *more;
        if (m.handles < 0 || m.handles > 10000 || (m.previous == nullptr && m.previous_size != 0) ||
            (m.lab_lengths == nullptr && m.lab_length_count != 0))
            return MARLIX_ERR_ARGUMENT;
        for (size_t k = 0; k < m.lab_length_count; ++k)
            if (m.lab_lengths[k] < 1) return MARLIX_ERR_ARGUMENT;
        for (size_t k = 0; k < log_count; ++k)
            if (logs[k] == nullptr && log_sizes[k] != 0) return MARLIX_ERR_ARGUMENT;
        smpte::rate const r{rate.num, rate.den, rate.drop != 0};
        if (*smpte::rate_name(r) == '\0') return MARLIX_ERR_TC_UNKNOWN_RATE;
        marlix_film_options const o = options != nullptr ? *options : marlix_film_options{};
        auto const stock            = static_cast<marlix::label_t>(o.stock);
        if (o.stock != 0 && (!marlix::capi::is_label_type(o.stock) ||
                             film::geometry_of(stock).perfs_per_frame == 0))
            return MARLIX_ERR_LABEL_TYPE;
        std::vector<film::telecine_log> read;
        std::vector<marlix_film_log_error> errors;
        for (size_t k = 0; k < log_count; ++k) {
            read.push_back(
                film::read_log(std::string_view(logs[k] == nullptr ? "" : logs[k], log_sizes[k]),
                               {stock, smpte::no_rate, o.pal_24_25 != 0}));
            for (film::log_finding const& f : read.back().findings)
                if (f.level() == film::severity::error) errors.push_back({k, f});
        }
        film::clip_index const index(read);
        film::list_options lo;
        lo.pal_24_25    = o.pal_24_25 != 0;
        lo.leader_perfs = o.leader_perfs;
        lo.handles      = m.handles;
        if (m.lab_length_count != 0)
            lo.lab_lengths.assign(m.lab_lengths, m.lab_lengths + m.lab_length_count);
        auto const doc =
            marlix::edl::read(std::string_view(edl == nullptr ? "" : edl, edl_size), r);
        auto made = std::make_unique<marlix_film_lists>(
            marlix_film_lists{film::make_lists(doc, index, lo), std::move(errors), {}});
        if (m.previous != nullptr) {
            auto const before = marlix::edl::read(std::string_view(m.previous, m.previous_size), r);
            made->changes =
                film::make_change_list(film::make_lists(before, index, lo), made->lists);
        }
        *lists = made.release();
        return MARLIX_OK;
    });
}

void marlix_film_lists_free(marlix_film_lists* lists) { delete lists; }

marlix_status marlix_film_lists_counts(const marlix_film_lists* lists, size_t* cuts, size_t* pulls,
                                       size_t* missing, size_t* log_errors) {
    if (lists == nullptr) return MARLIX_ERR_ARGUMENT;
    film::film_lists const& l = lists->lists;
    return put_counts({{cuts, l.cuts.size()},
                       {pulls, l.pulls.size()},
                       {missing, l.missing.size()},
                       {log_errors, lists->log_errors.size()}});
}

marlix_status marlix_film_cut_at(const marlix_film_lists* lists, size_t index,
                                 marlix_film_cut* cut) {
    film::cut_row const* c = row_at(lists != nullptr ? &lists->lists.cuts : nullptr, index);
    if (c == nullptr || cut == nullptr) return MARLIX_ERR_ARGUMENT;
    *cut = {.event          = c->event,
            .line           = c->line,
            .record_in      = c->record_in.frames(),
            .record_out     = c->record_out.frames(),
            .matched        = c->matched ? 1 : 0,
            .first_sample   = c->first_sample,
            .last_sample    = c->last_sample,
            .adjust         = c->adjust,
            .frames         = c->frames,
            .running_frames = c->running_frames};
    return MARLIX_OK;
}

marlix_status marlix_film_cut_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                   char* out, size_t size) {
    return text_of(row_at(lists != nullptr ? &lists->lists.cuts : nullptr, index), cut_texts, field,
                   out, size);
}

marlix_status marlix_film_piece_at(const marlix_film_lists* lists, int32_t list, size_t index,
                                   marlix_film_piece* piece) {
    return with_piece(lists, list, index, [&](auto const* p) {
        if (p == nullptr || piece == nullptr) return MARLIX_ERR_ARGUMENT;
        *piece = {p->first_sample, p->last_sample, p->frames, p->events.size()};
        return MARLIX_OK;
    });
}

marlix_status marlix_film_piece_text(const marlix_film_lists* lists, int32_t list, size_t index,
                                     int32_t field, char* out, size_t size) {
    return with_piece(lists, list, index, [&](auto const* p) {
        return text_of(p, piece_texts<std::remove_cv_t<std::remove_pointer_t<decltype(p)>>>, field,
                       out, size);
    });
}

marlix_status marlix_film_piece_event(const marlix_film_lists* lists, int32_t list, size_t index,
                                      size_t k, int32_t* event) {
    return with_piece(lists, list, index, [&](auto const* p) {
        if (p == nullptr || event == nullptr || k >= p->events.size()) return MARLIX_ERR_ARGUMENT;
        *event = p->events[k];
        return MARLIX_OK;
    });
}

marlix_status marlix_film_log_error_at(const marlix_film_lists* lists, size_t index, size_t* log,
                                       uint32_t* line, char* out, size_t size) {
    return guarded([&] {
        marlix_film_log_error const* e =
            row_at(lists != nullptr ? &lists->log_errors : nullptr, index);
        if (e == nullptr) return MARLIX_ERR_ARGUMENT;
        if (log != nullptr) *log = e->log;
        if (line != nullptr) *line = e->finding.line;
        return out == nullptr && size == 0 ? MARLIX_OK
                                           : copy_out(film::describe(e->finding), out, size);
    });
}

marlix_status marlix_film_missing_at(const marlix_film_lists* lists, size_t index, int32_t* event,
                                     int32_t* kind, char* reel, size_t size) {
    return guarded([&] {
        film::missing_row const* m =
            row_at(lists != nullptr ? &lists->lists.missing : nullptr, index);
        if (m == nullptr) return MARLIX_ERR_ARGUMENT;
        if (event != nullptr) *event = m->event;
        if (kind != nullptr) *kind = static_cast<int32_t>(m->kind);
        return reel == nullptr && size == 0 ? MARLIX_OK : copy_out(m->reel, reel, size);
    });
}

marlix_status marlix_film_lists_more_counts(const marlix_film_lists* lists, size_t* dupes,
                                            size_t* opticals, size_t* sounds, size_t* changes) {
    if (lists == nullptr) return MARLIX_ERR_ARGUMENT;
    film::film_lists const& l = lists->lists;
    return put_counts({{dupes, l.dupes.size()},
                       {opticals, l.opticals.size()},
                       {sounds, l.sounds.size()},
                       {changes, lists->changes.rows.size()}});
}

marlix_status marlix_film_optical_at(const marlix_film_lists* lists, size_t index,
                                     marlix_film_optical* optical) {
    film::optical_row const* o = row_at(lists != nullptr ? &lists->lists.opticals : nullptr, index);
    if (o == nullptr || optical == nullptr) return MARLIX_ERR_ARGUMENT;
    *optical = {.event        = o->event,
                .line         = o->line,
                .kind         = static_cast<int32_t>(o->kind),
                .wipe         = o->wipe,
                .lab          = o->lab ? 1 : 0,
                .length       = o->length,
                .film_frames  = o->film_frames,
                .record_in    = o->record_in.frames(),
                .record_out   = o->record_out.frames(),
                .centre       = o->centre.frames(),
                .speed_tenths = o->speed_tenths,
                .has_out      = o->has_out ? 1 : 0};
    return MARLIX_OK;
}

marlix_status marlix_film_optical_side(const marlix_film_lists* lists, size_t index, int32_t side,
                                       marlix_film_side* out) {
    film::optical_side const* s = side_of(lists, index, side);
    if (s == nullptr || out == nullptr) return MARLIX_ERR_ARGUMENT;
    *out = {.black        = s->black ? 1 : 0,
            .matched      = s->matched ? 1 : 0,
            .source_in    = s->source_in.frames(),
            .source_out   = s->source_out.frames(),
            .first_sample = s->first_sample,
            .last_sample  = s->last_sample,
            .frames       = s->frames};
    return MARLIX_OK;
}

marlix_status marlix_film_optical_text(const marlix_film_lists* lists, size_t index, int32_t side,
                                       int32_t field, char* out, size_t size) {
    film::optical_side const* s = side_of(lists, index, side);
    if (s != nullptr && field == MARLIX_FILM_FEET_FRAMES)
        return guarded(
            [&] { return copy_out(lists->lists.opticals[index].centre_feet, out, size); });
    return text_of(s, side_texts, field, out, size);
}

marlix_status marlix_film_sound_at(const marlix_film_lists* lists, size_t index,
                                   marlix_film_sound* sound) {
    film::sound_row const* s = row_at(lists != nullptr ? &lists->lists.sounds : nullptr, index);
    if (s == nullptr || sound == nullptr) return MARLIX_ERR_ARGUMENT;
    *sound = {.event     = s->event,
              .line      = s->line,
              .found     = s->found ? 1 : 0,
              .rate      = rate_of(s->found ? s->sound_in.frame_rate() : s->record_in.frame_rate()),
              .sound_in  = s->sound_in.frames(),
              .sound_out = s->sound_out.frames(),
              .record_in = s->record_in.frames(),
              .record_out = s->record_out.frames()};
    return MARLIX_OK;
}

marlix_status marlix_film_sound_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                     char* out, size_t size) {
    return text_of(row_at(lists != nullptr ? &lists->lists.sounds : nullptr, index), sound_texts,
                   field, out, size);
}

marlix_status marlix_film_audio_edl(const marlix_film_lists* lists, const char* title, char* out,
                                    size_t size, size_t* length) {
    return guarded([&] {
        if (lists == nullptr) return MARLIX_ERR_ARGUMENT;
        std::string const text = marlix::edl::write(
            film::audio_edl(lists->lists, title == nullptr ? std::string_view() : title));
        if (length != nullptr) *length = text.size();
        return out == nullptr && size == 0 ? MARLIX_OK : copy_out(text, out, size);
    });
}

marlix_status marlix_film_change_at(const marlix_film_lists* lists, size_t index,
                                    marlix_film_change* change) {
    film::change_row const* c = row_at(lists != nullptr ? &lists->changes.rows : nullptr, index);
    if (c == nullptr || change == nullptr) return MARLIX_ERR_ARGUMENT;
    *change = {.kind         = static_cast<int32_t>(c->kind),
               .end          = static_cast<int32_t>(c->end),
               .at           = c->at,
               .event        = c->event,
               .first_sample = c->first_sample,
               .last_sample  = c->last_sample,
               .frames       = c->frames,
               .source_in    = c->source_in.frames(),
               .source_out   = c->source_out.frames()};
    return MARLIX_OK;
}

marlix_status marlix_film_change_in_reel_order(const marlix_film_lists* lists, size_t k,
                                               size_t* index) {
    auto const* at = row_at(lists != nullptr ? &lists->changes.reel_order : nullptr, k);
    if (at == nullptr || index == nullptr) return MARLIX_ERR_ARGUMENT;
    *index = *at;
    return MARLIX_OK;
}

marlix_status marlix_film_change_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                      char* out, size_t size) {
    return text_of(row_at(lists != nullptr ? &lists->changes.rows : nullptr, index), change_texts,
                   field, out, size);
}

}  // extern "C"
