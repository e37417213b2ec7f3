// Edit decision lists from arbitrary bytes, read at a rate the first byte
// picks, strictly or not: nothing faults, the canonical text is a fixed
// point, and a list read without an error writes and reads back to the same
// edits and kept lines; converted to another rate, it converts or is
// refused by name. Matched back through a small log, its film lists make
// no fault, and a list without an error has no changes from its reading
// back.

#include <cstdlib>
#include <iterator>
#include <string>

#include "marlix/edl/convert.h"
#include "marlix/edl/document.h"
#include "marlix/film/film_lists.h"

namespace {

namespace edl   = marlix::edl;
namespace smpte = marlix::smpte;

bool same_edits(edl::document const& a, edl::document const& b) {
    if (a.edits.size() != b.edits.size() || a.lines.size() != b.lines.size()) return false;
    if (a.text(a.title) != b.text(b.title) || a.has_title != b.has_title) return false;
    for (std::size_t k = 0; k < a.edits.size(); ++k) {
        edl::edit const &x = a.edits[k], &y = b.edits[k];
        if (x.event != y.event || a.text(x.reel) != b.text(y.reel) || x.channels != y.channels ||
            x.added != y.added || x.how.kind != y.how.kind || x.how.frames != y.how.frames ||
            x.how.fade != y.how.fade || x.source_in != y.source_in ||
            x.source_out != y.source_out || x.record_in != y.record_in ||
            x.record_out != y.record_out || x.has_motion != y.has_motion ||
            x.speed.speed_tenths != y.speed.speed_tenths || x.speed.entry != y.speed.entry ||
            a.text(x.clip) != b.text(y.clip) || x.line_count != y.line_count)
            return false;
    }
    for (std::size_t k = 0; k < a.lines.size(); ++k)
        if (a.lines[k].kind != b.lines[k].kind || a.lines[k].value != b.lines[k].value)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    static constexpr smpte::rate rates[] = {
        smpte::rate_23_976,   smpte::rate_24, smpte::rate_25,   smpte::rate_29_97,
        smpte::rate_29_97_df, smpte::rate_30, smpte::rate_59_94};
    if (size == 0) return 0;
    smpte::rate const r = rates[data[0] % std::size(rates)];
    auto const mode     = (data[0] & 0x80) != 0 ? edl::mode::strict : edl::mode::tolerant;
    std::string_view const bytes(reinterpret_cast<char const*>(data + 1), size - 1);
    edl::document const doc = edl::read(bytes, r, {mode});
    for (edl::finding const& f : doc.findings) (void)edl::describe(f);
    std::string const once    = edl::write(doc);
    edl::document const again = edl::read(once, r, {mode});
    if (edl::write(again) != once) std::abort();
    if (doc.ok() && !same_edits(doc, again)) std::abort();
    {
        namespace film = marlix::film;
        std::string const log =
            "Heading\nFILM_FORMAT\t35mm\nFPS\t" + std::string(smpte::rate_name(r)) +
            "\nColumn\nName\tTape\tStart\tEnd\tKN Start\tSoundroll\t"
            "Sound TC\nData\n"
            "a\tA\t00:00:00:00\t12:00:00:00\tKU2290121000+00\tS1\t10:00:00:00\n"
            "b\tB\t12:00:00:00\t23:00:00:00\tKU2290132000+00\tS2\t01:00:00;00\n";
        std::vector<film::telecine_log> const logs{film::read_log(log)};
        film::clip_index const index(logs);
        film::film_lists const lists = film::make_lists(doc, index);
        film::change_list const none =
            film::make_change_list(lists, film::make_lists(again, index));
        if (doc.ok() && !none.rows.empty()) std::abort();
        film::change_list const all = film::make_change_list(film::film_lists{}, lists);
        if (all.reel_order.size() != all.rows.size()) std::abort();
        (void)edl::write(film::audio_edl(lists, "SOUND"));
    }
    // The list at another rate, by each method: converted or refused by name.
    if (doc.ok()) {
        edl::convert_options o;
        o.to = rates[(data[0] >> 3) % std::size(rates)];
        for (smpte::method m :
             {smpte::method::realtime, smpte::method::frame, smpte::method::pulldown}) {
            o.method                = m;
            o.keep_sources          = m == smpte::method::pulldown;
            edl::conversion const c = edl::convert(doc, o);
            if (c.ok() == (c.why != edl::convert_error::none)) std::abort();
            if (c.ok()) (void)edl::read(edl::write(c.doc), o.to);
        }
    }
    return 0;
}
