// Telecine logs from arbitrary bytes, read with a stock, rate and transfer
// the first byte picks: nothing faults, every finding describes itself,
// and a list cut from the log's own clips matches back without a fault.

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "marlix/film/film_lists.h"

namespace {

namespace film  = marlix::film;
namespace smpte = marlix::smpte;

// One edit a clip: its tape, from its Start, two seconds long (past its
// End, often), recorded one after another; every third a dissolve from the
// clip before, every fifth at a speed. Reversed: the clips in the other
// order.
std::string list_of(film::telecine_log const& log, bool reversed = false) {
    std::string out;
    std::int32_t record = 3600 * 24;
    int event           = 1;
    std::string last_tape, last_out;
    for (std::size_t k = 0; k < log.clips.size(); ++k) {
        film::clip const& c = log.clips[reversed ? log.clips.size() - 1 - k : k];
        if (!c.has_range || event > 999) continue;
        std::string_view const tape = log.field(c, film::column::tape);
        if (tape.empty() || tape.find_first_of(" \t") != tape.npos) continue;
        auto const out_tc = smpte::add(c.start, 2 * log.rate.nominal());
        if (!out_tc) continue;
        smpte::timecode const r_in(record, log.rate),
            r_out(record + 2 * log.rate.nominal(), log.rate);
        std::string const reel(tape.substr(0, 128));
        bool const dissolve = event % 3 == 0 && !last_tape.empty();
        if (dissolve)
            out += std::to_string(event) + " " + last_tape + " V C " + last_out + " " + last_out +
                   " " + smpte::to_string(r_in) + " " + smpte::to_string(r_in) + "\n";
        out += std::to_string(event) + " " + reel + (dissolve ? " V D 030 " : " V C ") +
               smpte::to_string(c.start) + " " + smpte::to_string(out_tc.value) + " " +
               smpte::to_string(r_in) + " " + smpte::to_string(r_out) + "\n";
        if (event % 5 == 0) out += "M2 " + reel + " -25.0 " + smpte::to_string(c.start) + "\n";
        last_tape = reel;
        last_out  = smpte::to_string(out_tc.value);
        ++event;
        record += 2 * log.rate.nominal();
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    static constexpr marlix::label_t stocks[] = {
        marlix::LABEL_NONE, marlix::LABEL_KEYCODE_35, marlix::LABEL_KEYCODE_353,
        marlix::LABEL_KEYCODE_16, marlix::LABEL_KEYCODE_655_120};
    static constexpr smpte::rate rates[] = {smpte::no_rate, smpte::rate_23_976, smpte::rate_25,
                                            smpte::rate_29_97_df, smpte::rate_59_94};
    if (size == 0) return 0;
    film::log_options const options{stocks[data[0] % std::size(stocks)],
                                    rates[(data[0] >> 3) % std::size(rates)],
                                    (data[0] & 0x80) != 0};
    std::string_view const bytes(reinterpret_cast<char const*>(data + 1), size - 1);
    std::vector<film::telecine_log> const logs{film::read_log(bytes, options)};
    for (film::log_finding const& f : logs[0].findings)
        if (film::describe(f).empty()) std::abort();
    if (logs[0].rate.nominal() == 0) return 0;
    film::clip_index const index(logs);
    marlix::edl::document const list = marlix::edl::read(list_of(logs[0]), logs[0].rate);
    film::list_options lists_options;
    lists_options.pal_24_25      = options.pal_24_25;
    lists_options.leader_perfs   = 768;
    film::film_lists const lists = film::make_lists(list, index, lists_options);
    for (film::cut_row const& c : lists.cuts)
        if (c.adjust < -1 || c.adjust > 1) std::abort();
    for (film::dupe_row const& d : lists.dupes)
        if (d.frames < 1 || d.events.size() < 2) std::abort();
    // The clips in the other order, and the changes between the two.
    marlix::edl::document const other = marlix::edl::read(list_of(logs[0], true), logs[0].rate);
    film::change_list const changes =
        film::make_change_list(lists, film::make_lists(other, index, lists_options));
    if (changes.reel_order.size() != changes.rows.size()) std::abort();
    if (marlix::edl::write(film::audio_edl(lists, "SOUND")).empty()) std::abort();
    return 0;
}
