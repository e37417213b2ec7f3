// The C interface to edit decision lists: an opaque document over the C++
// value, and copies of its fields into the caller's structures and buffers.

#include <new>

#include "marlix/capi/capi_support.h"
#include "marlix/edl/document.h"

struct marlix_edl {
    marlix::edl::document doc;
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
            edl::read(std::string_view(bytes == nullptr ? "" : bytes, size), r, options)};
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

}  // extern "C"
