// The film lists' rows as named cells, and their CSV and aligned text.

#include "marlix/film/list_tables.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "marlix/edl/detail/edl_support.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/table_rows.h"

namespace marlix::film {

namespace {

table_cell text_cell(char const* name, std::string text) {
    return {name, std::move(text), false, false};
}
table_cell number_cell(char const* name, long long v) {
    return {name, std::to_string(v), true, false};
}
// A text that is "none" where it is empty.
table_cell optional_cell(char const* name, std::string text) {
    return {name, std::move(text), false, true};
}

std::string events_text(std::vector<std::int32_t> const& events) {
    std::string out;
    for (std::int32_t const e : events) out += (out.empty() ? "" : " ") + std::to_string(e);
    return out;
}

std::string tc_text(smpte::timecode t) { return smpte::to_string(t); }

// A whole piece's end is none, as is an end no trim has.
constexpr char const* change_end_names[] = {"", "head", "tail"};
static_assert(std::size(change_end_names) == change_end_count);

// One row a record, in the records' order.
template <class Record, class Cells>
list_table table_of(std::vector<Record> const& records, Cells cells) {
    list_table rows;
    rows.reserve(records.size());
    for (Record const& r : records) rows.push_back(cells(r));
    return rows;
}

}  // namespace

list_table cut_table(film_lists const& lists) {
    return table_of(lists.cuts, [](cut_row const& c) -> table_row {
        return {
            number_cell("event", c.event),
            text_cell("record_in", tc_text(c.record_in)),
            text_cell("record_out", tc_text(c.record_out)),
            optional_cell("clip", c.clip),
            optional_cell("camroll", c.camroll),
            optional_cell("labroll", c.labroll),
            optional_cell("scene", c.scene),
            optional_cell("take", c.take),
            optional_cell("key_in", c.key_in),
            optional_cell("key_out", c.key_out),
            optional_cell("ink_in", c.ink_in),
            optional_cell("ink_out", c.ink_out),
            text_cell("feet_frames", c.feet_frames),
            number_cell("frames", c.frames),
            text_cell("running", c.running_feet),
            number_cell("running_frames", c.running_frames),
            number_cell("adjust", c.adjust),
            text_cell("notes", c.notes),
        };
    });
}

// Pieces of negative, pulled or used twice: the same columns.
template <class Piece>
list_table piece_table(std::vector<Piece> const& pieces) {
    return table_of(pieces, [](Piece const& p) -> table_row {
        return {
            optional_cell("labroll", p.labroll),
            optional_cell("camroll", p.camroll),
            optional_cell("clip", p.clip),
            text_cell("key_in", p.key_in),
            text_cell("key_out", p.key_out),
            number_cell("frames", p.frames),
            text_cell("events", events_text(p.events)),
        };
    });
}

list_table pull_table(film_lists const& lists) { return piece_table(lists.pulls); }

list_table missing_table(film_lists const& lists) {
    return table_of(lists.missing, [](missing_row const& m) -> table_row {
        return {
            number_cell("event", m.event),
            text_cell("reel", m.reel),
            text_cell("missing", missing_name(m.kind)),
            optional_cell("clip", m.clip),
            text_cell("source_in", tc_text(m.source_in)),
            text_cell("source_out", tc_text(m.source_out)),
        };
    });
}

list_table dupe_table(film_lists const& lists) { return piece_table(lists.dupes); }

list_table optical_table(film_lists const& lists, bool lab) {
    list_table rows;
    for (optical_row const& o : lists.opticals) {
        if (o.lab != lab) continue;
        std::string effect = optical_name(o.kind);
        if (o.kind == optical_kind::wipe) {
            char code[sizeof(" -2147483648")];  // room for any int
            std::snprintf(code, sizeof code, " %03d", static_cast<int>(o.wipe));
            effect += code;
        }
        auto const side = [&](char const* name, optical_side const& s) {
            rows.push_back({
                number_cell("event", o.event),
                text_cell("effect", effect),
                text_cell("print", o.lab ? "lab" : "optical"),
                number_cell("length", o.length),
                text_cell("centre", tc_text(o.centre)),
                text_cell("centre_feet", o.centre_feet),
                text_cell("speed", edl::detail::speed_text(o.speed_tenths)),
                text_cell("side", name),
                text_cell("reel", s.reel),
                optional_cell("clip", s.clip),
                optional_cell("key_in", s.key_in),
                optional_cell("key_out", s.key_out),
                number_cell("frames", s.frames),
                text_cell("notes", s.black     ? "black"
                                   : s.matched ? ""
                                               : "no key numbers"),
            });
        };
        if (o.has_out) side("out", o.out);
        side(o.kind == optical_kind::speed ? "speed" : "in", o.in);
    }
    return rows;
}

list_table sound_table(film_lists const& lists) {
    return table_of(lists.sounds, [](sound_row const& s) -> table_row {
        return {
            number_cell("event", s.event),
            text_cell("reel", s.reel),
            optional_cell("clip", s.clip),
            optional_cell("soundroll", s.soundroll),
            optional_cell("sound_in", s.found ? tc_text(s.sound_in) : ""),
            optional_cell("sound_out", s.found ? tc_text(s.sound_out) : ""),
            text_cell("record_in", tc_text(s.record_in)),
            text_cell("record_out", tc_text(s.record_out)),
            text_cell("notes", s.found ? "" : "no Soundroll or Sound TC"),
        };
    });
}

list_table change_table(change_list const& changes, bool by_reel) {
    list_table rows;
    rows.reserve(changes.rows.size());
    for (std::size_t k = 0; k < changes.rows.size(); ++k) {
        std::size_t const at = by_reel && k < changes.reel_order.size() ? changes.reel_order[k] : k;
        if (at >= changes.rows.size()) continue;
        change_row const& r = changes.rows[at];
        // A piece without key numbers says where it is by its source.
        bool const timed = r.key_in.empty() && r.source_out.frames() > 0;
        rows.push_back({
            text_cell("order", by_reel ? "reel" : "record"),
            number_cell("step", static_cast<long long>(at + 1)),
            text_cell("change", change_name(r.kind)),
            optional_cell("end", detail::name_in(change_end_names, r.end, "")),
            text_cell("at", r.at_feet),
            number_cell("at_frames", r.at),
            number_cell("event", r.event),
            text_cell("reel", r.reel),
            optional_cell("clip", r.clip),
            optional_cell("labroll", r.labroll),
            optional_cell("camroll", r.camroll),
            optional_cell("key_in", r.key_in),
            optional_cell("key_out", r.key_out),
            optional_cell("source_in", timed ? tc_text(r.source_in) : ""),
            optional_cell("source_out", timed ? tc_text(r.source_out) : ""),
            number_cell("frames", r.frames),
        });
    }
    return rows;
}

table_row totals_row(film_lists const& lists) {
    return {
        number_cell("events", lists.totals.events),
        text_cell("feet_frames", lists.totals.feet_frames),
        number_cell("frames", lists.totals.frames),
        text_cell("running_time", lists.totals.running_time),
    };
}

std::string csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == text.npos) return std::string(text);
    std::string out = "\"";
    for (char const c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string table_csv(list_table const& rows) {
    if (rows.empty()) return {};
    std::string out;
    bool first = true;
    for (table_cell const& c : rows.front()) {
        out += first ? "" : ",";
        first = false;
        out += c.name;
    }
    out += '\n';
    for (table_row const& r : rows) {
        first = true;
        for (table_cell const& c : r) {
            out += first ? "" : ",";
            first = false;
            out += csv_field(c.text);
        }
        out += '\n';
    }
    return out;
}

std::string table_text(list_table const& rows) {
    if (rows.empty()) return {};
    // Columns follow the first row; a column no row fills (ink numbers
    // where none is logged) is left out.
    std::size_t const columns = rows.front().size();
    std::vector<std::size_t> width(columns);
    std::vector<bool> filled(columns, false);
    for (std::size_t k = 0; k < columns; ++k) width[k] = rows.front()[k].name.size();
    for (table_row const& r : rows)
        for (std::size_t k = 0; k < std::min(r.size(), columns); ++k) {
            width[k]  = std::max(width[k], r[k].text.size());
            filled[k] = filled[k] || !r[k].text.empty();
        }
    std::string out;
    auto const add_line = [&](auto const& text_at) {
        std::string line;
        for (std::size_t k = 0; k < columns; ++k) {
            if (!filled[k]) continue;
            std::string const t = text_at(k);
            line += t;
            line.append(width[k] - t.size() + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);  // npos + 1 is 0: a blank line empties
        out += line;
        out += '\n';
    };
    add_line([&](std::size_t k) {
        std::string n = rows.front()[k].name;
        for (char& ch : n) ch = ch == '_' ? ' ' : marlix::detail::to_upper(ch);
        return n;
    });
    for (table_row const& r : rows)
        add_line([&](std::size_t k) { return k < r.size() ? r[k].text : std::string(); });
    return out;
}

}  // namespace marlix::film
