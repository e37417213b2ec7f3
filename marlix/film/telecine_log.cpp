// Reading a telecine log: its sections, its columns by name, each clip's
// timecodes, pull-in and key numbers; then the checks across clips.

#include "marlix/film/telecine_log.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <utility>

#include "marlix/front/labeller.h"
#include "marlix/front/timecode_text.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/floor_div.h"
#include "marlix/internal/table_rows.h"

namespace marlix::film {

namespace {

// The kinds' names, in the enumeration's order.
constexpr char const* finding_names[] = {"none",
                                         "no_data",
                                         "field_delim",
                                         "unknown_fps",
                                         "no_stock",
                                         "missing_column",
                                         "bad_timecode",
                                         "end_before_start",
                                         "bad_pullin",
                                         "bad_key_number",
                                         "feet_only_key",
                                         "unknown_film_format",
                                         "extra_fields",
                                         "duration_mismatch",
                                         "kn_duration_mismatch",
                                         "kn_end_mismatch",
                                         "key_roll_changes",
                                         "tape_overlap",
                                         "missing_key_number",
                                         "missing_tape",
                                         "kn_end_inclusive",
                                         "kn_end_exclusive"};
static_assert(std::size(finding_names) == log_finding_kind_count, "a name for every finding kind");

constexpr char const* column_names[] = {
    "Name",     "Tracks", "Start",       "End",        "Duration", "Tape",    "Source File",
    "KN Start", "KN End", "KN Duration", "Ink Number", "Camroll",  "Labroll", "Soundroll",
    "Sound TC", "Pullin", "Pullout",     "Scene",      "Take",
};
static_assert(std::size(column_names) == column_count, "one name per column");

struct film_format_row {
    char const* squeezed;  // lower case, blanks and punctuation dropped
    label_t stock;
};
constexpr film_format_row film_format_rows[] = {
    {"16mm", LABEL_KEYCODE_16},       {"35mm", LABEL_KEYCODE_35},
    {"35mm4perf", LABEL_KEYCODE_35},  {"35mm3perf", LABEL_KEYCODE_353},
    {"35mm2perf", LABEL_KEYCODE_352}, {"35mm8perf", LABEL_KEYCODE_358},
};

using marlix::detail::is_digit;
using marlix::detail::is_letter;
using marlix::detail::same_ignoring_case;
using marlix::detail::to_lower;

// The lines of a text without their ends (LF, CRLF, CR), with their numbers.
std::vector<std::string_view> split_lines(std::string_view s) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\n' && s[i] != '\r') continue;
        lines.push_back(s.substr(start, i - start));
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < s.size()) lines.push_back(s.substr(start));
    return lines;
}

std::vector<std::string_view> split_tabs(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t const tab = s.find('\t', start);
        out.push_back(s.substr(start, tab == s.npos ? s.npos : tab - start));
        if (tab == s.npos) return out;
        start = tab + 1;
    }
}

// A rate as logs write FPS: the SMPTE layer's names, and 23.98.
smpte::rate rate_of_fps(std::string_view text) {
    text = front::trim_blanks(text);
    if (text == "23.98") return smpte::rate_23_976;
    auto const r = smpte::parse_rate(text);
    return r ? smpte::rate{r.value.num, r.value.den, false} : smpte::no_rate;
}

}  // namespace

std::int64_t read_footage(std::string_view text, stock_geometry g) {
    text              = front::trim_blanks(text);
    std::int64_t feet = 0, frames = 0;
    bool sep = false, any = false;
    for (char const c : text) {
        if (is_digit(c)) {
            std::int64_t& v = sep ? frames : feet;
            if (v > 100000000) return -1;
            v   = v * 10 + (c - '0');
            any = true;
        } else if (!sep && (c == '+' || c == '&' || c == '.')) {
            sep = true;
        } else {
            return -1;
        }
    }
    if (!any) return -1;
    return sep ? feet * g.perfs_per_foot + frames * g.perfs_per_frame : feet * g.perfs_per_frame;
}

namespace {

class log_reader {
public:
    log_reader(log_options const& o) : options_(o) {}

    telecine_log read(std::string_view bytes) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        enum class section { none, heading, column, data } where = section::none;
        std::vector<std::string_view> const lines                = split_lines(bytes);
        bool columns_read                                        = false;
        std::vector<std::pair<std::uint32_t, std::vector<std::string_view>>> rows;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            auto const number           = static_cast<std::uint32_t>(k + 1);
            std::string_view const line = lines[k];
            std::string_view const bare = front::trim_blanks(line);
            if (bare.empty()) continue;
            std::vector<std::string_view> fields = split_tabs(line);
            std::string_view const first         = front::trim_blanks(fields.front());
            if (same_ignoring_case(first, "Heading")) {
                where = section::heading;
                read_heading(fields, 1);  // a one-line heading
                continue;
            }
            if (same_ignoring_case(bare, "Column")) {
                where = section::column;
                continue;
            }
            if (same_ignoring_case(bare, "Data")) {
                where = section::data;
                continue;
            }
            switch (where) {
                case section::none:
                case section::heading: read_heading(fields, 0); break;
                case section::column:
                    if (!columns_read) read_columns(fields);
                    columns_read = true;
                    break;
                case section::data: rows.emplace_back(number, std::move(fields)); break;
            }
        }
        settle_heading(rows);
        if (!columns_read) add(log_finding_kind::no_data, 0, "Column");
        for (auto const& [number, fields] : rows) read_clip(number, fields);
        check_across();
        std::stable_sort(log_.findings.begin(), log_.findings.end(),
                         [](log_finding const& a, log_finding const& b) {
                             return (a.line == 0 ? UINT32_MAX : a.line) <
                                    (b.line == 0 ? UINT32_MAX : b.line);
                         });
        return std::move(log_);
    }

private:
    void add(log_finding_kind k, std::uint32_t line, std::string what, std::int64_t first = 0,
             std::int64_t second = 0) {
        log_.findings.push_back({k, line, std::move(what), first, second});
    }

    // Pairs of key and value; a line without a tab parts them at its first
    // blank.
    void read_heading(std::vector<std::string_view> const& fields, std::size_t from) {
        if (fields.size() == 1 && from == 0) {
            std::string_view const s   = front::trim_blanks(fields[0]);
            std::size_t const blank    = s.find_first_of(" ");
            std::string_view const key = s.substr(0, blank);
            std::string_view const value =
                blank == s.npos ? std::string_view() : front::trim_blanks(s.substr(blank));
            log_.heading.emplace_back(std::string(key), std::string(value));
            return;
        }
        for (std::size_t i = from; i < fields.size(); i += 2) {
            std::string_view const key = front::trim_blanks(fields[i]);
            if (key.empty()) continue;
            std::string_view const value =
                i + 1 < fields.size() ? front::trim_blanks(fields[i + 1]) : std::string_view();
            log_.heading.emplace_back(std::string(key), std::string(value));
        }
    }

    void read_columns(std::vector<std::string_view> const& fields) {
        std::fill(std::begin(log_.index), std::end(log_.index), -1);
        for (std::string_view const f : fields) {
            std::string_view const name = front::trim_blanks(f);
            for (int c = 0; c < column_count; ++c)
                if (same_ignoring_case(name, column_names[c]) && log_.index[c] < 0)
                    log_.index[c] = static_cast<std::int32_t>(log_.columns.size());
            log_.columns.emplace_back(name);
        }
        if (log_.index[static_cast<int>(column::start)] < 0)
            add(log_finding_kind::missing_column, 0, "Start");
        if (log_.index[static_cast<int>(column::tape)] < 0)
            add(log_finding_kind::missing_column, 0, "Tape");
    }

    std::string_view row_field(std::vector<std::string_view> const& fields, column c) const {
        std::int32_t const i = log_.index[static_cast<int>(c)];
        return i >= 0 && static_cast<std::size_t>(i) < fields.size()
                   ? front::trim_blanks(fields[static_cast<std::size_t>(i)])
                   : std::string_view();
    }

    // The rate, the delimiter and the stock, once the data is known: a
    // drop-frame separator in any Start or End makes 29.97 or 59.94 drop-frame.
    void settle_heading(
        std::vector<std::pair<std::uint32_t, std::vector<std::string_view>>> const& rows) {
        std::string_view const delim = log_.heading_value("FIELD_DELIM");
        if (!delim.empty() && !same_ignoring_case(delim, "TABS") &&
            !same_ignoring_case(delim, "TAB"))
            add(log_finding_kind::field_delim, 0, std::string(delim));
        std::string_view const fps = log_.heading_value("FPS");
        log_.rate = options_.rate.nominal() != 0 ? options_.rate : rate_of_fps(fps);
        if (log_.rate.nominal() == 0) add(log_finding_kind::unknown_fps, 0, std::string(fps));
        if (options_.rate.nominal() == 0 &&
            (log_.rate.nominal() == 30 || log_.rate.nominal() == 60) && log_.rate.den == 1001) {
            for (auto const& row : rows)
                for (column const c : {column::start, column::end})
                    if (row_field(row.second, c).find_first_of(";.,") != std::string_view::npos)
                        log_.rate.drop = true;
        }
        std::string_view const format = log_.heading_value("FILM_FORMAT");
        label_t const named           = stock_of_film_format(format);
        if (!format.empty() && named == LABEL_NONE && options_.stock == LABEL_NONE)
            add(log_finding_kind::unknown_film_format, 0, std::string(format));
        log_.stock = options_.stock != LABEL_NONE ? options_.stock : named;
        if (log_.stock != LABEL_NONE) {
            auto made = front::labeller::make(log_.stock);
            if (made)
                keys_ = std::move(made.value);
            else
                log_.stock = LABEL_NONE;
        }
    }

    key_number read_key(std::uint32_t line, std::string_view text, char const* which) {
        key_number k;
        if (text.empty()) return k;
        if (log_.stock == LABEL_NONE) {
            if (!no_stock_reported_) add(log_finding_kind::no_stock, line, which);
            no_stock_reported_ = true;
            return k;
        }
        if (std::none_of(text.begin(), text.end(), is_letter)) {
            add(log_finding_kind::feet_only_key, line,
                std::string(which) + " " + std::string(text));
            return k;
        }
        auto const s = keys_.sample(text);
        if (!s) {
            add(log_finding_kind::bad_key_number, line,
                std::string(which) + " " + std::string(text) + ": " + keys_.refusal());
            return k;
        }
        k.present = true;
        // The roll: the prefix read holds the count after it.
        k.prefix = std::string(keys_.prefix_read())
                       .substr(0, static_cast<std::size_t>(std::max(keys_.prefix_length(), 0)));
        k.sample = s.value;
        return k;
    }

    void read_clip(std::uint32_t line, std::vector<std::string_view> const& fields) {
        clip c;
        c.line = line;
        if (fields.size() > log_.columns.size())
            add(log_finding_kind::extra_fields, line, "", static_cast<std::int64_t>(fields.size()),
                static_cast<std::int64_t>(log_.columns.size()));
        c.fields.reserve(log_.columns.size());
        for (std::size_t i = 0; i < log_.columns.size(); ++i)
            c.fields.emplace_back(i < fields.size() ? front::trim_blanks(fields[i])
                                                    : std::string_view());
        if (row_field(fields, column::tape).empty() &&
            log_.index[static_cast<int>(column::tape)] >= 0)
            add(log_finding_kind::missing_tape, line, "");
        if (log_.rate.nominal() != 0) read_range(c, fields);
        std::string_view const p        = row_field(fields, column::pullin);
        static constexpr char letters[] = "ABXCD";
        if (!p.empty()) {
            std::size_t const at =
                p.size() == 1 ? std::string_view(letters).find(static_cast<char>(p[0] & ~0x20))
                              : std::string_view::npos;
            if (at == std::string_view::npos || !is_letter(p[0]))
                add(log_finding_kind::bad_pullin, line, std::string(p));
            else
                c.phase = static_cast<pullin>(at);
        }
        c.kn_start = read_key(line, row_field(fields, column::kn_start), "KN Start");
        c.kn_end   = read_key(line, row_field(fields, column::kn_end), "KN End");
        if (c.kn_start.present && c.kn_end.present && c.kn_start.prefix != c.kn_end.prefix)
            add(log_finding_kind::key_roll_changes, line, c.kn_end.prefix);
        if (!c.kn_start.present && log_.index[static_cast<int>(column::kn_start)] >= 0 &&
            row_field(fields, column::kn_start).empty())
            add(log_finding_kind::missing_key_number, line, "");
        log_.clips.push_back(std::move(c));
    }

    void read_range(clip& c, std::vector<std::string_view> const& fields) {
        std::string_view const s = row_field(fields, column::start);
        std::string_view const e = row_field(fields, column::end);
        if (s.empty()) return;
        auto const start = front::read_timecode(s, log_.rate);
        if (!start) {
            add(log_finding_kind::bad_timecode, c.line,
                "Start " + std::string(s) + ": " + smpte::error_text(start.why));
            return;
        }
        auto end = front::read_timecode(e, log_.rate);
        if (e.empty()) {  // a Duration gives the End
            auto const d = front::read_timecode(row_field(fields, column::duration), log_.rate);
            if (d) end = smpte::add(start.value, d.value.frames());
        }
        if (!end) {
            add(log_finding_kind::bad_timecode, c.line,
                "End " + std::string(e) + ": " + smpte::error_text(end.why));
            return;
        }
        if (end.value <= start.value) {
            add(log_finding_kind::end_before_start, c.line, std::string(e));
            return;
        }
        c.start                  = start.value;
        c.end                    = end.value;
        c.has_range              = true;
        std::string_view const d = row_field(fields, column::duration);
        if (!e.empty() && !d.empty()) {
            auto const dur            = front::read_timecode(d, log_.rate);
            std::int64_t const frames = std::int64_t{c.end.frames()} - c.start.frames();
            if (dur && dur.value.frames() != frames)
                add(log_finding_kind::duration_mismatch, c.line, std::string(d), dur.value.frames(),
                    frames);
        }
    }

    // KN End and KN Duration against the film frames Start..End show; the
    // KN End rule is the one most clips agree with; each tape's ranges.
    void check_across() {
        stock_geometry const g       = geometry_of(log_.stock);
        std::int64_t votes_exclusive = 0, votes_inclusive = 0;
        std::vector<std::int64_t> frames(log_.clips.size(), -1);
        // KN End - KN Start in perforations, where both are on one roll.
        std::vector<std::optional<std::int64_t>> spans(log_.clips.size());
        for (std::size_t i = 0; i < log_.clips.size(); ++i) {
            clip const& c = log_.clips[i];
            if (!c.has_range || g.perfs_per_frame == 0) continue;
            cadence const cad = cadence_of(log_.rate, c.phase, options_.pal_24_25);
            frames[i] =
                last_film_frame(cad, std::int64_t{c.end.frames()} - c.start.frames() - 1) + 1;
            std::string_view const knd = log_.field(c, column::kn_duration);
            if (!knd.empty()) {
                std::int64_t const perfs = read_footage(knd, g);
                if (perfs < 0 || perfs / g.perfs_per_frame != frames[i])
                    add(log_finding_kind::kn_duration_mismatch, c.line, std::string(knd),
                        perfs < 0 ? -1 : perfs / g.perfs_per_frame, frames[i]);
            }
            if (c.kn_start.present && c.kn_end.present && c.kn_start.prefix == c.kn_end.prefix) {
                std::int64_t const d = std::int64_t{c.kn_end.sample} - c.kn_start.sample;
                spans[i]             = d;
                if (d == frames[i] * g.perfs_per_frame) ++votes_exclusive;
                if (d == (frames[i] - 1) * g.perfs_per_frame) ++votes_inclusive;
            }
        }
        if (votes_exclusive + votes_inclusive > 0) {
            bool const inclusive = votes_inclusive > votes_exclusive;
            log_.end_rule        = inclusive ? kn_end_rule::inclusive : kn_end_rule::exclusive;
            add(inclusive ? log_finding_kind::kn_end_inclusive : log_finding_kind::kn_end_exclusive,
                0, "", inclusive ? votes_inclusive : votes_exclusive,
                inclusive ? votes_exclusive : votes_inclusive);
            for (std::size_t i = 0; i < log_.clips.size(); ++i) {
                if (!spans[i]) continue;
                std::int64_t const want = inclusive ? frames[i] - 1 : frames[i];
                if (*spans[i] != want * g.perfs_per_frame)
                    add(log_finding_kind::kn_end_mismatch, log_.clips[i].line,
                        std::string(log_.field(log_.clips[i], column::kn_end)),
                        detail::floor_div(*spans[i], g.perfs_per_frame), want);
            }
        }
        if (log_.index[static_cast<int>(column::kn_start)] < 0 && !log_.columns.empty())
            add(log_finding_kind::missing_key_number, 0, "KN Start");
        // Each tape's clips in timecode order, and the ranges that overlap.
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < log_.clips.size(); ++i)
            if (log_.clips[i].has_range) order.push_back(i);
        auto const tape = [&](std::size_t i) { return log_.field(log_.clips[i], column::tape); };
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return std::pair(tape(a), log_.clips[a].start) <
                   std::pair(tape(b), log_.clips[b].start);
        });
        for (std::size_t k = 1; k < order.size(); ++k) {
            clip const& a = log_.clips[order[k - 1]];
            clip const& b = log_.clips[order[k]];
            if (tape(order[k - 1]) == tape(order[k]) && b.start < a.end)
                add(log_finding_kind::tape_overlap, b.line, std::string(tape(order[k])),
                    std::int64_t{a.end.frames()} - b.start.frames(), a.line);
        }
    }

    log_options options_;
    telecine_log log_;
    front::labeller keys_;
    bool no_stock_reported_ = false;
};

}  // namespace

// After none (a note), the enumeration lists the errors, then the
// warnings, then the notes to its end.
severity severity_of(log_finding_kind k) {
    using kind = log_finding_kind;
    if (k == kind::none ||
        (k >= kind::kn_end_inclusive && static_cast<int>(k) < log_finding_kind_count))
        return severity::note;
    if (k >= kind::unknown_film_format && k <= kind::missing_tape) return severity::warning;
    return severity::error;
}

char const* finding_name(log_finding_kind k) { return detail::name_in(finding_names, k); }

char const* column_name(column c) {
    auto const i = static_cast<std::size_t>(c);
    return i < std::size(column_names) ? column_names[i] : "";
}

std::string describe(log_finding const& f) {
    auto const n = [](std::int64_t v) { return std::to_string(v); };
    switch (f.kind) {
        case log_finding_kind::none: return "no finding";
        case log_finding_kind::no_data: return "no Column section: the log has no clips";
        case log_finding_kind::field_delim: return "FIELD_DELIM " + f.what + ": only TABS is read";
        case log_finding_kind::unknown_fps:
            return "FPS '" + f.what + "' is no frame rate timecodes count";
        case log_finding_kind::no_stock:
            return "key numbers with no stock: FILM_FORMAT names none, and none was given";
        case log_finding_kind::missing_column: return "no " + f.what + " column";
        case log_finding_kind::bad_timecode: return f.what;
        case log_finding_kind::end_before_start: return "End " + f.what + " is not after Start";
        case log_finding_kind::bad_pullin:
            return "Pullin '" + f.what + "' is none of A, B, X, C, D";
        case log_finding_kind::bad_key_number: return f.what;
        case log_finding_kind::feet_only_key:
            return f.what + ": footage without a roll prefix is no key number";
        case log_finding_kind::unknown_film_format:
            return "FILM_FORMAT '" + f.what + "' names no stock: give one";
        case log_finding_kind::extra_fields:
            return n(f.first) + " fields under " + n(f.second) + " columns (kept)";
        case log_finding_kind::duration_mismatch:
            return "Duration " + f.what + " is " + n(f.first) + " frames, End - Start " +
                   n(f.second);
        case log_finding_kind::kn_duration_mismatch:
            return "KN Duration " + f.what + " is " + n(f.first) +
                   " film frames, Start..End shows " + n(f.second);
        case log_finding_kind::kn_end_mismatch:
            return "KN End " + f.what + " is " + n(f.first) +
                   " frames from KN Start, the log's rule wants " + n(f.second);
        case log_finding_kind::key_roll_changes:
            return "KN End is on roll " + f.what + ", not KN Start's";
        case log_finding_kind::tape_overlap:
            return "tape " + f.what + ": overlaps the clip of line " + n(f.second) + " by " +
                   n(f.first) + " frames";
        case log_finding_kind::missing_key_number:
            return f.what.empty() ? "no KN Start" : "no KN Start column: no clip has key numbers";
        case log_finding_kind::missing_tape: return "no Tape";
        case log_finding_kind::kn_end_inclusive:
            return "KN End names each clip's last frame (" + n(f.first) + " clips; " + n(f.second) +
                   " against)";
        case log_finding_kind::kn_end_exclusive:
            return "KN End names the frame after each clip (" + n(f.first) + " clips; " +
                   n(f.second) + " against)";
    }
    return "unknown finding";
}

std::string_view telecine_log::field(clip const& c, column col) const {
    auto const k = static_cast<std::size_t>(col);
    if (k >= std::size(index) || index[k] < 0) return {};
    auto const i = static_cast<std::size_t>(index[k]);
    return i < c.fields.size() ? std::string_view(c.fields[i]) : std::string_view();
}

std::string_view telecine_log::heading_value(std::string_view key) const {
    for (auto const& [k, v] : heading)
        if (same_ignoring_case(k, key)) return v;
    return {};
}

bool telecine_log::ok() const {
    return std::none_of(findings.begin(), findings.end(),
                        [](log_finding const& f) { return f.level() == severity::error; });
}

telecine_log read_log(std::string_view bytes, log_options options) {
    return log_reader(options).read(bytes);
}

label_t stock_of_film_format(std::string_view text) {
    std::string squeezed;
    for (char const c : text)
        if (is_letter(c) || is_digit(c)) squeezed += to_lower(c);
    for (auto const& row : film_format_rows)
        if (squeezed == row.squeezed) return row.stock;
    return LABEL_NONE;
}

stock_geometry geometry_of(label_t stock) {
    if (label_type_family(stock) != UserLabelKeycode) return {};
    front::converter_facts const f = front::facts_of(stock);
    if (f.samples_per_unit <= 0) return {};
    // 16 mm counts frames (one perforation each), 40 a foot.
    return {f.samples_per_unit, f.samples_per_unit == 1 ? 40 : 64};
}

cadence cadence_of(smpte::rate r, film::pullin p, bool pal_24_25) {
    auto const phase = static_cast<std::int32_t>(p);  // 0..4
    switch (r.nominal()) {
        case 30: return {cadence::kind::two_three, phase, 4, 5};
        case 60: return {cadence::kind::two_three_progressive, 2 * phase, 2, 5};
        case 25:
            if (pal_24_25) return {cadence::kind::pal_24_25, 0, 24, 25};
            return {};
        default: return {};
    }
}

// Video frame n of the clip is video frame n + offset of the cadence,
// whose frame 0 shows an A frame in its first field.
std::int64_t first_film_frame(cadence const& c, std::int64_t n) {
    constexpr std::int64_t limit = std::int64_t{1} << 40;
    n                            = std::clamp(n, -limit, limit);
    switch (c.how) {
        case cadence::kind::one_to_one: return n;
        case cadence::kind::two_three_progressive:
            return smpte::pulldown_film_frame(n + c.offset) - smpte::pulldown_film_frame(c.offset);
        case cadence::kind::two_three:
            return smpte::pull(n + c.offset, smpte::rate_30).value.film_frame -
                   smpte::pull(c.offset, smpte::rate_30).value.film_frame;
        case cadence::kind::pal_24_25:
            return smpte::pull(n + c.offset, smpte::rate_25).value.film_frame -
                   smpte::pull(c.offset, smpte::rate_25).value.film_frame;
    }
    return n;
}

std::int64_t last_film_frame(cadence const& c, std::int64_t n) {
    constexpr std::int64_t limit = std::int64_t{1} << 40;
    n                            = std::clamp(n, -limit, limit);
    switch (c.how) {
        case cadence::kind::one_to_one:
        case cadence::kind::two_three_progressive: return first_film_frame(c, n);
        case cadence::kind::two_three:
        case cadence::kind::pal_24_25: {
            smpte::rate const r =
                c.how == cadence::kind::two_three ? smpte::rate_30 : smpte::rate_25;
            auto const pulled = smpte::pull(n + c.offset, r).value;
            return first_film_frame(c, n) + (pulled.split ? 1 : 0);
        }
    }
    return n;
}

std::int64_t nearest_film_frame(cadence const& c, std::int64_t n) {
    constexpr std::int64_t limit = std::int64_t{1} << 40;
    n                            = std::clamp(n, -limit, limit);
    // The cycle counts from the A frame before the Start; KN Start is the
    // frame the Start's first field shows.
    std::int64_t base = 0;
    switch (c.how) {
        case cadence::kind::one_to_one: return n;
        case cadence::kind::two_three_progressive:
            base = smpte::pulldown_film_frame(c.offset);
            break;
        case cadence::kind::two_three:
            base = smpte::pull(c.offset, smpte::rate_30).value.film_frame;
            break;
        case cadence::kind::pal_24_25:
            base = smpte::pull(c.offset, smpte::rate_25).value.film_frame;
            break;
    }
    std::int64_t const twice = 2 * (n + c.offset) * c.num + c.den;  // 2 (n + offset) num/den + 1
    std::int64_t const d     = 2 * std::int64_t{c.den};
    return (twice >= 0 ? twice / d : -((-twice + d - 1) / d)) - base;
}

}  // namespace marlix::film
