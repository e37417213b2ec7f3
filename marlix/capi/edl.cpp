// The C interface to edit decision lists: an opaque document over the C++
// value, and copies of its fields into the caller's structures and buffers.

#include <new>
#include <vector>

#include "marlix/capi/capi_support.h"
#include "marlix/edl/convert.h"
#include "marlix/edl/document.h"

struct marlix_edl {
    marlix::edl::document doc;
    std::vector<marlix::edl::rounding> changed;  // a conversion's report
};

namespace {

namespace edl   = marlix::edl;
namespace smpte = marlix::smpte;
using marlix::capi::copy_out;
using marlix::capi::guarded;

marlix_tc_rate c_rate(smpte::rate r) { return marlix_tc_rate{r.num, r.den, r.drop ? 1 : 0}; }

}  // namespace

extern "C" {

marlix_status marlix_edl_read(const char* bytes, size_t size, marlix_tc_rate rate, uint32_t flags,
                              marlix_edl** doc) {
    if (doc != nullptr) *doc = nullptr;
    return guarded([&] {
        if (doc == nullptr || (bytes == nullptr && size != 0)) return MARLIX_ERR_ARGUMENT;
        smpte::rate const r{rate.num, rate.den, rate.drop != 0};
        if (*smpte::rate_name(r) == '\0') return MARLIX_ERR_TC_UNKNOWN_RATE;
        edl::read_options options;
        options.mode = (flags & MARLIX_EDL_STRICT) != 0 ? edl::mode::strict : edl::mode::tolerant;
        auto* made   = new marlix_edl{
            edl::read(std::string_view(bytes == nullptr ? "" : bytes, size), r, options), {}};
        *doc = made;
        return MARLIX_OK;
    });
}

void marlix_edl_free(marlix_edl* doc) { delete doc; }

marlix_status marlix_edl_counts(const marlix_edl* doc, size_t* edits, size_t* findings,
                                size_t* errors) {
    if (doc == nullptr) return MARLIX_ERR_ARGUMENT;
    if (edits != nullptr) *edits = doc->doc.edits.size();
    if (findings != nullptr) *findings = doc->doc.findings.size();
    if (errors != nullptr) {
        *errors = 0;
        for (edl::finding const& f : doc->doc.findings)
            if (f.level() == edl::severity::error) ++*errors;
    }
    return MARLIX_OK;
}

marlix_status marlix_edl_edit_at(const marlix_edl* doc, size_t index, marlix_edl_edit* out) {
    if (doc == nullptr || out == nullptr || index >= doc->doc.edits.size())
        return MARLIX_ERR_ARGUMENT;
    edl::edit const& e         = doc->doc.edits[index];
    edl::channel_set const all = e.all_channels();
    *out                       = marlix_edl_edit{};
    out->event                 = e.event;
    out->line                  = e.line;
    out->transition            = static_cast<int32_t>(e.how.kind);
    out->wipe                  = e.how.wipe;
    out->fade                  = e.how.fade ? 1 : 0;
    out->transition_frames     = e.how.frames;
    out->video                 = all.video ? 1 : 0;
    out->audio_low             = all.audio_low;
    out->audio_high            = all.audio_high;
    out->rate                  = c_rate(e.record_in.frame_rate());
    out->source_in             = e.source_in.frames();
    out->source_out            = e.source_out.frames();
    out->record_in             = e.record_in.frames();
    out->record_out            = e.record_out.frames();
    out->has_speed             = e.has_motion ? 1 : 0;
    out->speed_tenths          = e.has_motion ? e.speed.speed_tenths : 0;
    out->speed_entry           = e.has_motion ? e.speed.entry.frames() : 0;
    return MARLIX_OK;
}

marlix_status marlix_edl_edit_text(const marlix_edl* doc, size_t index, int32_t field, char* out,
                                   size_t size) {
    return guarded([&] {
        if (doc == nullptr || index >= doc->doc.edits.size()) return MARLIX_ERR_ARGUMENT;
        edl::edit const& e = doc->doc.edits[index];
        switch (field) {
            case MARLIX_EDL_REEL: return copy_out(doc->doc.text(e.reel), out, size);
            case MARLIX_EDL_CLIP: return copy_out(doc->doc.text(e.clip), out, size);
            case MARLIX_EDL_TO_CLIP: return copy_out(doc->doc.text(e.to_clip), out, size);
            case MARLIX_EDL_KEY_CLIP: return copy_out(doc->doc.text(e.key_clip), out, size);
            case MARLIX_EDL_SOURCE_FILE: return copy_out(doc->doc.text(e.source_file), out, size);
            case MARLIX_EDL_CHANNELS: return copy_out(edl::channel_text(e.channels), out, size);
            case MARLIX_EDL_TRANSITION: return copy_out(edl::transition_text(e.how), out, size);
            default: return MARLIX_ERR_ARGUMENT;
        }
    });
}

marlix_status marlix_edl_finding_at(const marlix_edl* doc, size_t index,
                                    marlix_edl_finding* finding, char* message, size_t size) {
    return guarded([&] {
        if (doc == nullptr || finding == nullptr || index >= doc->doc.findings.size() ||
            (message == nullptr && size != 0))
            return MARLIX_ERR_ARGUMENT;
        edl::finding const& f = doc->doc.findings[index];
        *finding = marlix_edl_finding{f.line, f.column, f.event, static_cast<int32_t>(f.kind),
                                      f.level() == edl::severity::error ? 1 : 0};
        return size == 0 ? MARLIX_OK : copy_out(edl::describe(f), message, size);
    });
}

const char* marlix_edl_finding_name(int32_t kind) {
    return edl::finding_name(static_cast<edl::finding_kind>(kind));
}

marlix_status marlix_edl_write(const marlix_edl* doc, char* out, size_t size, size_t* needed) {
    return guarded([&] {
        if (doc == nullptr) return MARLIX_ERR_ARGUMENT;
        std::string const text = edl::write(doc->doc);
        if (needed != nullptr) *needed = text.size() + 1;
        return copy_out(text, out, size);
    });
}

marlix_status marlix_edl_convert(const marlix_edl* doc, const marlix_edl_convert_options* options,
                                 marlix_edl** out, marlix_edl_refusal* refusal, char* message,
                                 size_t size) {
    if (out != nullptr) *out = nullptr;
    if (refusal != nullptr) *refusal = marlix_edl_refusal{0, -1, 0};
    return guarded([&] {
        if (doc == nullptr || options == nullptr || out == nullptr ||
            (options->reel_syncs == nullptr && options->reel_sync_count != 0) ||
            (message == nullptr && size != 0) || options->method < MARLIX_EDL_KEEP_FRAMES ||
            options->method > 2)
            return MARLIX_ERR_ARGUMENT;
        edl::convert_options o;
        o.to = smpte::rate{options->to.num, options->to.den, options->to.drop != 0};
        if (options->method != MARLIX_EDL_KEEP_FRAMES)
            o.method = static_cast<smpte::method>(options->method);
        o.sync         = {options->sync_film, options->sync_video};
        o.keep_sources = options->keep_sources != 0;
        for (std::size_t k = 0; k < options->reel_sync_count; ++k) {
            marlix_edl_reel_sync const& r = options->reel_syncs[k];
            if (r.reel == nullptr) return MARLIX_ERR_ARGUMENT;
            o.reel_syncs.push_back({r.reel, {r.sync_film, r.sync_video}});
        }
        edl::conversion c = edl::convert(doc->doc, o);
        if (!c.ok()) {
            if (refusal != nullptr)
                *refusal = marlix_edl_refusal{static_cast<int32_t>(c.why), c.event, c.line};
            if (size != 0) copy_out(edl::describe(c), message, size);
            return MARLIX_ERR_REFUSED;
        }
        if (size != 0) copy_out("", message, size);
        *out = new marlix_edl{std::move(c.doc), std::move(c.changed)};
        return MARLIX_OK;
    });
}

const char* marlix_edl_convert_error_name(int32_t reason) {
    if (reason < 0 || reason >= edl::convert_error_count) return "unknown";
    return edl::convert_error_name(static_cast<edl::convert_error>(reason));
}

marlix_status marlix_edl_rounding_count(const marlix_edl* doc, size_t* count) {
    if (doc == nullptr || count == nullptr) return MARLIX_ERR_ARGUMENT;
    *count = doc->changed.size();
    return MARLIX_OK;
}

marlix_status marlix_edl_rounding_at(const marlix_edl* doc, size_t index,
                                     marlix_edl_rounding* rounding) {
    if (doc == nullptr || rounding == nullptr || index >= doc->changed.size())
        return MARLIX_ERR_ARGUMENT;
    edl::rounding const& r = doc->changed[index];
    *rounding = marlix_edl_rounding{r.event, r.line, r.before, r.after, r.exact_num, r.exact_den};
    return MARLIX_OK;
}

}  // extern "C"
