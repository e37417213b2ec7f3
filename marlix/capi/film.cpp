// The C interface to film lists: the logs read, the list matched back, and
// copies of the rows into the caller's structures and buffers.

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
};

namespace {

namespace film  = marlix::film;
namespace smpte = marlix::smpte;
using marlix::capi::copy_out;
using marlix::capi::guarded;

}  // namespace

extern "C" {

marlix_status marlix_film_lists_make(const char* edl, size_t edl_size, marlix_tc_rate rate,
                                     const char* const* logs, const size_t* log_sizes,
                                     size_t log_count, const marlix_film_options* options,
                                     marlix_film_lists** lists) {
    if (lists != nullptr) *lists = nullptr;
    return guarded([&] {
        if (lists == nullptr || (edl == nullptr && edl_size != 0) ||
            (log_count != 0 && (logs == nullptr || log_sizes == nullptr)))
            return MARLIX_ERR_ARGUMENT;
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
        auto const doc =
            marlix::edl::read(std::string_view(edl == nullptr ? "" : edl, edl_size), r);
        *lists = new marlix_film_lists{film::make_lists(doc, index, lo), std::move(errors)};
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

}  // extern "C"
