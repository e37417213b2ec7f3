// The C interface to film lists: the logs read, the list matched back, and
// copies of the rows into the caller's structures and buffers.

#include <memory>
#include <new>
#include <string>
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

marlix_status key_texts(std::string const& clip, std::string const& camroll,
                        std::string const& labroll, std::string const& key_in,
                        std::string const& key_out, std::string const& reel, int32_t field,
                        char* out, size_t size) {
    switch (field) {
        case MARLIX_FILM_CLIP: return copy_out(clip, out, size);
        case MARLIX_FILM_CAMROLL: return copy_out(camroll, out, size);
        case MARLIX_FILM_LABROLL: return copy_out(labroll, out, size);
        case MARLIX_FILM_KEY_IN: return copy_out(key_in, out, size);
        case MARLIX_FILM_KEY_OUT: return copy_out(key_out, out, size);
        case MARLIX_FILM_REEL: return copy_out(reel, out, size);
        default: return MARLIX_ERR_ARGUMENT;
    }
}

marlix_tc_rate rate_of(smpte::rate r) { return {r.num, r.den, r.drop ? 1 : 0}; }

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
    if (cuts != nullptr) *cuts = lists->lists.cuts.size();
    if (pulls != nullptr) *pulls = lists->lists.pulls.size();
    if (missing != nullptr) *missing = lists->lists.missing.size();
    if (log_errors != nullptr) *log_errors = lists->log_errors.size();
    return MARLIX_OK;
}

marlix_status marlix_film_cut_at(const marlix_film_lists* lists, size_t index,
                                 marlix_film_cut* cut) {
    if (lists == nullptr || cut == nullptr || index >= lists->lists.cuts.size())
        return MARLIX_ERR_ARGUMENT;
    film::cut_row const& c = lists->lists.cuts[index];
    *cut                   = marlix_film_cut{};
    cut->event             = c.event;
    cut->line              = c.line;
    cut->record_in         = c.record_in.frames();
    cut->record_out        = c.record_out.frames();
    cut->matched           = c.matched ? 1 : 0;
    cut->first_sample      = c.first_sample;
    cut->last_sample       = c.last_sample;
    cut->adjust            = c.adjust;
    cut->frames            = c.frames;
    cut->running_frames    = c.running_frames;
    return MARLIX_OK;
}

marlix_status marlix_film_cut_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                   char* out, size_t size) {
    return guarded([&] {
        if (lists == nullptr || index >= lists->lists.cuts.size()) return MARLIX_ERR_ARGUMENT;
        film::cut_row const& c = lists->lists.cuts[index];
        switch (field) {
            case MARLIX_FILM_CLIP: return copy_out(c.clip, out, size);
            case MARLIX_FILM_CAMROLL: return copy_out(c.camroll, out, size);
            case MARLIX_FILM_LABROLL: return copy_out(c.labroll, out, size);
            case MARLIX_FILM_KEY_IN: return copy_out(c.key_in, out, size);
            case MARLIX_FILM_KEY_OUT: return copy_out(c.key_out, out, size);
            case MARLIX_FILM_FEET_FRAMES: return copy_out(c.feet_frames, out, size);
            case MARLIX_FILM_NOTES: return copy_out(c.notes, out, size);
            case MARLIX_FILM_REEL: return copy_out(c.reel, out, size);
            case MARLIX_FILM_SCENE: return copy_out(c.scene, out, size);
            case MARLIX_FILM_TAKE: return copy_out(c.take, out, size);
            default: return MARLIX_ERR_ARGUMENT;
        }
    });
}

marlix_status marlix_film_pull_at(const marlix_film_lists* lists, size_t index,
                                  marlix_film_pull* pull) {
    if (lists == nullptr || pull == nullptr || index >= lists->lists.pulls.size())
        return MARLIX_ERR_ARGUMENT;
    film::pull_row const& p = lists->lists.pulls[index];
    *pull                   = {p.first_sample, p.last_sample, p.frames, p.events.size()};
    return MARLIX_OK;
}

marlix_status marlix_film_pull_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                    char* out, size_t size) {
    return guarded([&] {
        if (lists == nullptr || index >= lists->lists.pulls.size()) return MARLIX_ERR_ARGUMENT;
        film::pull_row const& p = lists->lists.pulls[index];
        switch (field) {
            case MARLIX_FILM_CLIP: return copy_out(p.clip, out, size);
            case MARLIX_FILM_CAMROLL: return copy_out(p.camroll, out, size);
            case MARLIX_FILM_LABROLL: return copy_out(p.labroll, out, size);
            case MARLIX_FILM_KEY_IN: return copy_out(p.key_in, out, size);
            case MARLIX_FILM_KEY_OUT: return copy_out(p.key_out, out, size);
            default: return MARLIX_ERR_ARGUMENT;
        }
    });
}

marlix_status marlix_film_pull_event(const marlix_film_lists* lists, size_t index, size_t k,
                                     int32_t* event) {
    if (lists == nullptr || event == nullptr || index >= lists->lists.pulls.size() ||
        k >= lists->lists.pulls[index].events.size())
        return MARLIX_ERR_ARGUMENT;
    *event = lists->lists.pulls[index].events[k];
    return MARLIX_OK;
}

marlix_status marlix_film_log_error_at(const marlix_film_lists* lists, size_t index, size_t* log,
                                       uint32_t* line, char* out, size_t size) {
    return guarded([&] {
        if (lists == nullptr || index >= lists->log_errors.size()) return MARLIX_ERR_ARGUMENT;
        marlix_film_log_error const& e = lists->log_errors[index];
        if (log != nullptr) *log = e.log;
        if (line != nullptr) *line = e.finding.line;
        return out == nullptr && size == 0 ? MARLIX_OK
                                           : copy_out(film::describe(e.finding), out, size);
    });
}

marlix_status marlix_film_missing_at(const marlix_film_lists* lists, size_t index, int32_t* event,
                                     int32_t* kind, char* reel, size_t size) {
    return guarded([&] {
        if (lists == nullptr || index >= lists->lists.missing.size()) return MARLIX_ERR_ARGUMENT;
        film::missing_row const& m = lists->lists.missing[index];
        if (event != nullptr) *event = m.event;
        if (kind != nullptr) *kind = static_cast<int32_t>(m.kind);
        return reel == nullptr && size == 0 ? MARLIX_OK : copy_out(m.reel, reel, size);
    });
}

marlix_status marlix_film_lists_more_counts(const marlix_film_lists* lists, size_t* dupes,
                                            size_t* opticals, size_t* sounds, size_t* changes) {
    if (lists == nullptr) return MARLIX_ERR_ARGUMENT;
    if (dupes != nullptr) *dupes = lists->lists.dupes.size();
    if (opticals != nullptr) *opticals = lists->lists.opticals.size();
    if (sounds != nullptr) *sounds = lists->lists.sounds.size();
    if (changes != nullptr) *changes = lists->changes.rows.size();
    return MARLIX_OK;
}

marlix_status marlix_film_dupe_at(const marlix_film_lists* lists, size_t index,
                                  marlix_film_pull* dupe) {
    if (lists == nullptr || dupe == nullptr || index >= lists->lists.dupes.size())
        return MARLIX_ERR_ARGUMENT;
    film::dupe_row const& d = lists->lists.dupes[index];
    *dupe                   = {d.first_sample, d.last_sample, d.frames, d.events.size()};
    return MARLIX_OK;
}

marlix_status marlix_film_dupe_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                    char* out, size_t size) {
    return guarded([&] {
        if (lists == nullptr || index >= lists->lists.dupes.size() || field == MARLIX_FILM_REEL)
            return MARLIX_ERR_ARGUMENT;
        film::dupe_row const& d = lists->lists.dupes[index];
        return key_texts(d.clip, d.camroll, d.labroll, d.key_in, d.key_out, "", field, out, size);
    });
}

marlix_status marlix_film_dupe_event(const marlix_film_lists* lists, size_t index, size_t k,
                                     int32_t* event) {
    if (lists == nullptr || event == nullptr || index >= lists->lists.dupes.size() ||
        k >= lists->lists.dupes[index].events.size())
        return MARLIX_ERR_ARGUMENT;
    *event = lists->lists.dupes[index].events[k];
    return MARLIX_OK;
}

marlix_status marlix_film_optical_at(const marlix_film_lists* lists, size_t index,
                                     marlix_film_optical* optical) {
    if (lists == nullptr || optical == nullptr || index >= lists->lists.opticals.size())
        return MARLIX_ERR_ARGUMENT;
    film::optical_row const& o = lists->lists.opticals[index];
    *optical                   = marlix_film_optical{};
    optical->event             = o.event;
    optical->line              = o.line;
    optical->kind              = static_cast<int32_t>(o.kind);
    optical->wipe              = o.wipe;
    optical->lab               = o.lab ? 1 : 0;
    optical->length            = o.length;
    optical->film_frames       = o.film_frames;
    optical->record_in         = o.record_in.frames();
    optical->record_out        = o.record_out.frames();
    optical->centre            = o.centre.frames();
    optical->speed_tenths      = o.speed_tenths;
    optical->has_out           = o.has_out ? 1 : 0;
    return MARLIX_OK;
}

namespace {

film::optical_side const* side_of(const marlix_film_lists* lists, size_t index, int32_t side) {
    if (lists == nullptr || index >= lists->lists.opticals.size()) return nullptr;
    film::optical_row const& o = lists->lists.opticals[index];
    if (side == 1) return &o.in;
    return side == 0 && o.has_out ? &o.out : nullptr;
}

}  // namespace

marlix_status marlix_film_optical_side(const marlix_film_lists* lists, size_t index, int32_t side,
                                       marlix_film_side* out) {
    film::optical_side const* s = side_of(lists, index, side);
    if (s == nullptr || out == nullptr) return MARLIX_ERR_ARGUMENT;
    *out = {s->black ? 1 : 0,
            s->matched ? 1 : 0,
            s->source_in.frames(),
            s->source_out.frames(),
            s->first_sample,
            s->last_sample,
            s->frames};
    return MARLIX_OK;
}

marlix_status marlix_film_optical_text(const marlix_film_lists* lists, size_t index, int32_t side,
                                       int32_t field, char* out, size_t size) {
    return guarded([&] {
        film::optical_side const* s = side_of(lists, index, side);
        if (s == nullptr) return MARLIX_ERR_ARGUMENT;
        if (field == MARLIX_FILM_FEET_FRAMES)
            return copy_out(lists->lists.opticals[index].centre_feet, out, size);
        return key_texts(s->clip, s->camroll, s->labroll, s->key_in, s->key_out, s->reel, field,
                         out, size);
    });
}

marlix_status marlix_film_sound_at(const marlix_film_lists* lists, size_t index,
                                   marlix_film_sound* sound) {
    if (lists == nullptr || sound == nullptr || index >= lists->lists.sounds.size())
        return MARLIX_ERR_ARGUMENT;
    film::sound_row const& s = lists->lists.sounds[index];
    *sound                   = marlix_film_sound{};
    sound->event             = s.event;
    sound->line              = s.line;
    sound->found             = s.found ? 1 : 0;
    sound->rate       = rate_of(s.found ? s.sound_in.frame_rate() : s.record_in.frame_rate());
    sound->sound_in   = s.sound_in.frames();
    sound->sound_out  = s.sound_out.frames();
    sound->record_in  = s.record_in.frames();
    sound->record_out = s.record_out.frames();
    return MARLIX_OK;
}

marlix_status marlix_film_sound_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                     char* out, size_t size) {
    return guarded([&] {
        if (lists == nullptr || index >= lists->lists.sounds.size()) return MARLIX_ERR_ARGUMENT;
        film::sound_row const& s = lists->lists.sounds[index];
        switch (field) {
            case MARLIX_FILM_REEL: return copy_out(s.reel, out, size);
            case MARLIX_FILM_CLIP: return copy_out(s.clip, out, size);
            case MARLIX_FILM_SOUNDROLL: return copy_out(s.soundroll, out, size);
            default: return MARLIX_ERR_ARGUMENT;
        }
    });
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
    if (lists == nullptr || change == nullptr || index >= lists->changes.rows.size())
        return MARLIX_ERR_ARGUMENT;
    film::change_row const& c = lists->changes.rows[index];
    *change                   = marlix_film_change{};
    change->kind              = static_cast<int32_t>(c.kind);
    change->end               = static_cast<int32_t>(c.end);
    change->at                = c.at;
    change->event             = c.event;
    change->first_sample      = c.first_sample;
    change->last_sample       = c.last_sample;
    change->frames            = c.frames;
    change->source_in         = c.source_in.frames();
    change->source_out        = c.source_out.frames();
    return MARLIX_OK;
}

marlix_status marlix_film_change_in_reel_order(const marlix_film_lists* lists, size_t k,
                                               size_t* index) {
    if (lists == nullptr || index == nullptr || k >= lists->changes.reel_order.size())
        return MARLIX_ERR_ARGUMENT;
    *index = lists->changes.reel_order[k];
    return MARLIX_OK;
}

marlix_status marlix_film_change_text(const marlix_film_lists* lists, size_t index, int32_t field,
                                      char* out, size_t size) {
    return guarded([&] {
        if (lists == nullptr || index >= lists->changes.rows.size()) return MARLIX_ERR_ARGUMENT;
        film::change_row const& c = lists->changes.rows[index];
        if (field == MARLIX_FILM_FEET_FRAMES) return copy_out(c.at_feet, out, size);
        return key_texts(c.clip, c.camroll, c.labroll, c.key_in, c.key_out, c.reel, field, out,
                         size);
    });
}

}  // extern "C"
