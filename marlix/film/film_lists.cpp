// Matchback: each video edit to its clip, its source range to film frames
// through the clip's pulldown, the frames to key numbers; then the lists.

#include "marlix/film/film_lists.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

#include "marlix/front/labeller.h"
#include "marlix/front/timecode_text.h"

namespace marlix::film {

namespace {

struct finding_row {
    list_finding_kind kind;
    char const* name;
    severity level;
};
constexpr finding_row finding_rows[] = {
    {list_finding_kind::none, "none", severity::note},
    {list_finding_kind::reel_by_prefix, "reel_by_prefix", severity::warning},
    {list_finding_kind::reel_by_clip_name, "reel_by_clip_name", severity::note},
    {list_finding_kind::ambiguous_reel, "ambiguous_reel", severity::warning},
    {list_finding_kind::rate_differs, "rate_differs", severity::error},
    {list_finding_kind::rounding_past_clip, "rounding_past_clip", severity::warning},
};
static_assert(std::size(finding_rows) == list_finding_kind_count, "one row per finding kind");
constexpr bool finding_rows_in_order() {
    for (std::size_t i = 0; i < std::size(finding_rows); ++i)
        if (static_cast<std::size_t>(finding_rows[i].kind) != i) return false;
    return true;
}
static_assert(finding_rows_in_order(), "row i describes finding kind i");

// Half up: floor((2a + b) / 2b) for a >= 0, b > 0.
std::int64_t round_half_up(std::int64_t a, std::int64_t b) { return (2 * a + b) / (2 * b); }

bool is_black(std::string_view reel) { return reel == "BL" || reel == "BLK" || reel == "BLACK"; }

std::string compact(char const* text) {
    std::string out;
    for (char const* p = text; *p != '\0'; ++p)
        if (*p != ' ') out += *p;
    return out;
}

std::string transition_note(edl::transition const& t) {
    switch (t.kind) {
        case edl::transition_kind::cut: return "";
        case edl::transition_kind::dissolve:
            return "dissolve " + std::to_string(t.frames) + ": overlap needed";
        case edl::transition_kind::wipe:
            return "wipe " + std::to_string(t.wipe) + " " + std::to_string(t.frames) +
                   ": overlap needed";
        case edl::transition_kind::key:
        case edl::transition_kind::key_background:
        case edl::transition_kind::key_overlay: return "key: optical";
    }
    return "";
}

void add_note(std::string& notes, std::string const& note) {
    if (note.empty()) return;
    if (!notes.empty()) notes += "; ";
    notes += note;
}

// The edit's source timecode at the log's rate: the same label where only
// drop-frame counting differs.
bool at_rate(smpte::timecode t, smpte::rate r, std::int32_t& frames) {
    if (t.frame_rate() == r) {
        frames = t.frames();
        return true;
    }
    if (t.frame_rate().nominal() != r.nominal()) return false;
    auto const read = smpte::read(smpte::to_string(t), r);
    frames          = read.value.frames();
    return read.ok();
}

class list_maker {
public:
    list_maker(edl::document const& list, clip_index const& index, list_options const& options)
        : list_(list), index_(index), options_(options) {}

    film_lists make() {
        for (telecine_log const& log : index_.logs())
            if (out_.stock == LABEL_NONE) out_.stock = log.stock;
        geometry_ = geometry_of(out_.stock);
        rate_     = cadence_of(list_.rate, pullin::a, options_.pal_24_25);
        std::vector<edl::edit const*> edits;
        for (edl::edit const& e : list_.edits)
            if (e.channels.video && e.record_out.frames() > e.record_in.frames())
                edits.push_back(&e);
        std::stable_sort(edits.begin(), edits.end(), [](auto a, auto b) {
            return a->record_in.frames() < b->record_in.frames();
        });
        std::int64_t const ppf = geometry_.perfs_per_frame > 0 ? geometry_.perfs_per_frame : 1;
        leader_frames_         = options_.leader_perfs / ppf;
        for (edl::edit const* e : edits) cut(*e);
        make_pulls();
        out_.totals.events        = static_cast<std::int64_t>(out_.cuts.size());
        out_.totals.frames        = cut_frames_;
        out_.totals.feet_frames   = feet_frames_text(cut_frames_, geometry_);
        out_.totals.record_frames = record_frames_;
        out_.totals.running_time  = smpte::to_string(
             smpte::timecode(
                 static_cast<std::int32_t>(std::min<std::int64_t>(record_frames_, INT32_MAX)),
                 list_.rate),
             false);
        return std::move(out_);
    }

private:
    void find(list_finding_kind k, edl::edit const& e, std::string what) {
        out_.findings.push_back({k, e.event, e.line, std::move(what)});
    }

    // The tape of a reel: the reel map, the tape of that name, the one tape
    // whose name it starts.
    std::vector<clip_index::entry> const* tape_of(edl::edit const& e, std::string_view reel) {
        for (auto const& [from, to] : options_.reel_map)
            if (from == reel) return index_.tape(to);
        if (auto const* t = index_.tape(reel)) return t;
        if (reel.empty()) return nullptr;
        auto const tapes = index_.tapes_starting(reel);
        if (tapes.size() == 1) {
            find(list_finding_kind::reel_by_prefix, e, std::string(tapes.front()));
            return index_.tape(tapes.front());
        }
        if (tapes.size() > 1) find(list_finding_kind::ambiguous_reel, e, std::string(reel));
        return nullptr;
    }

    // The clip holding the source in: the last to start at or before it.
    clip_index::entry const* in_tape(std::vector<clip_index::entry> const& clips,
                                     edl::edit const& e) {
        telecine_log const& log = index_.logs()[clips.front().log];
        std::int32_t in         = 0;
        if (!at_rate(e.source_in, log.rate, in)) {
            find(list_finding_kind::rate_differs, e, smpte::rate_name(log.rate));
            return nullptr;
        }
        auto it = std::upper_bound(
            clips.begin(), clips.end(), in,
            [](std::int32_t v, clip_index::entry const& c) { return v < c.start; });
        // Overlapping clips: the nearest few before it may hold it.
        for (int tries = 0; it != clips.begin() && tries < 4; ++tries) {
            --it;
            if (in >= it->start && in < it->end) return &*it;
        }
        return nullptr;
    }

    clip_index::entry const* clip_of(edl::edit const& e) {
        std::string_view const reel = list_.text(e.reel);
        if (auto const* t = tape_of(e, reel)) {
            if (auto const* c = in_tape(*t, e)) return c;
        }
        std::string_view const name = list_.text(e.clip);
        if (auto const* n = name.empty() ? nullptr : index_.named(name)) {
            for (clip_index::entry const& c : *n) {
                telecine_log const& log = index_.logs()[c.log];
                std::int32_t in         = 0;
                if (at_rate(e.source_in, log.rate, in) && in >= c.start && in < c.end) {
                    find(list_finding_kind::reel_by_clip_name, e, std::string(name));
                    return &c;
                }
            }
        }
        return nullptr;
    }

    // The labellers of a stock: key numbers and ink numbers of its gauge.
    struct stock_labels {
        label_t stock = LABEL_NONE;
        front::labeller keys, inks;
    };
    stock_labels& labels_of(label_t stock) {
        for (auto& l : labels_)
            if (l->stock == stock) return *l;
        auto made   = std::make_unique<stock_labels>();
        made->stock = stock;
        auto k      = front::labeller::make(stock);
        if (k) made->keys = std::move(k.value);
        label_t const ink_type = label_t_to_ink_label_t(stock);
        auto i                 = front::labeller::make(ink_type);
        if (ink_type != LABEL_NONE && i) made->inks = std::move(i.value);
        labels_.push_back(std::move(made));
        return *labels_.back();
    }

    std::string key_text(front::labeller& keys, std::string const& prefix, std::int64_t sample) {
        if (sample < 0 || sample > INT32_MAX) return "";
        keys.set_prefix(prefix);
        return compact(keys.text(static_cast<long32>(sample)));
    }

    std::string ink_text(front::labeller& inks_, std::string_view ink, std::int64_t offset_frames) {
        if (ink.empty() || inks_.type() == LABEL_DUMMY) return "";
        auto const s = inks_.sample(ink);
        if (!s) return "";
        std::string const prefix =
            std::string(inks_.prefix_read())
                .substr(0, static_cast<std::size_t>(std::max(inks_.prefix_length(), 0)));
        std::int64_t const at = s.value + offset_frames * inks_.samples_per_unit();
        if (at < 0 || at > INT32_MAX) return "";
        inks_.set_prefix(prefix);
        return compact(inks_.text(static_cast<long32>(at)));
    }

    void missing(edl::edit const& e, missing_kind k, std::string clip) {
        out_.missing.push_back({e.event, e.line, std::string(list_.text(e.reel)), k,
                                std::move(clip), e.source_in, e.source_out});
    }

    void cut(edl::edit const& e) {
        cut_row row;
        row.event            = e.event;
        row.line             = e.line;
        row.reel             = std::string(list_.text(e.reel));
        row.record_in        = e.record_in;
        row.record_out       = e.record_out;
        std::int64_t const v = std::int64_t{e.record_out.frames()} - e.record_in.frames();
        // The running total: the record so far in film frames, half up.
        std::int64_t const before = cut_frames_;
        record_frames_ += v;
        cut_frames_ = round_half_up(record_frames_ * rate_.num, rate_.den);
        row.frames  = cut_frames_ - before;
        row.adjust =
            static_cast<std::int32_t>(row.frames - round_half_up(v * rate_.num, rate_.den));
        row.feet_frames    = feet_frames_text(row.frames, geometry_);
        row.running_frames = leader_frames_ + cut_frames_;
        row.running_feet   = feet_frames_text(row.running_frames, geometry_);
        if (row.frames == 0) add_note(row.notes, "shorter than a film frame: no frame cut");
        if (row.adjust != 0)
            add_note(row.notes, row.adjust > 0 ? "rounding: +1 frame" : "rounding: -1 frame");
        add_note(row.notes, transition_note(e.how));
        if (e.has_motion)
            add_note(row.notes,
                     "M2 " + std::to_string(e.speed.speed_tenths / 10) + "." +
                         std::to_string((e.speed.speed_tenths < 0 ? -e.speed.speed_tenths
                                                                  : e.speed.speed_tenths) %
                                        10) +
                         " fps: optical");
        if (is_black(row.reel)) {
            add_note(row.notes, "black: leader");
            out_.cuts.push_back(std::move(row));
            return;
        }
        clip_index::entry const* found = clip_of(e);
        if (found == nullptr) {
            missing(e, missing_kind::no_clip, "");
            add_note(row.notes, "no log clip");
            out_.cuts.push_back(std::move(row));
            return;
        }
        telecine_log const& log = index_.logs()[found->log];
        clip const& c           = log.clips[found->clip];
        row.clip                = std::string(log.field(c, column::name));
        row.tape                = std::string(log.field(c, column::tape));
        row.camroll             = std::string(log.field(c, column::camroll));
        row.labroll             = std::string(log.field(c, column::labroll));
        row.scene               = std::string(log.field(c, column::scene));
        row.take                = std::string(log.field(c, column::take));
        stock_geometry const g  = geometry_of(log.stock);
        if (!c.kn_start.present || g.perfs_per_frame == 0) {
            missing(e, missing_kind::no_key_numbers, row.clip);
            add_note(row.notes, "no key numbers");
            out_.cuts.push_back(std::move(row));
            return;
        }
        std::int32_t in = 0, out = 0;
        at_rate(e.source_in, log.rate, in);
        bool const out_read = at_rate(e.source_out, log.rate, out);
        if (!out_read || out > c.end.frames()) {
            missing(e, missing_kind::outside_clip, row.clip);
            add_note(row.notes, "source past the clip's End");
        }
        cadence const cad            = cadence_of(log.rate, c.phase, options_.pal_24_25);
        std::int64_t const film_in   = nearest_film_frame(cad, std::int64_t{in} - c.start.frames());
        std::int64_t const film_last = film_in + row.frames - 1;
        std::int64_t const clip_last =
            last_film_frame(cad, std::int64_t{c.end.frames()} - c.start.frames() - 1);
        if (film_last > clip_last && out_read && out <= c.end.frames()) {
            find(list_finding_kind::rounding_past_clip, e, row.clip);
            add_note(row.notes, "rounding takes a frame past the clip (flash frame?)");
        }
        std::int64_t const ppf = g.perfs_per_frame;
        stock_labels& labels   = labels_of(log.stock);
        row.stock              = log.stock;
        row.key_prefix         = c.kn_start.prefix;
        std::int64_t const s0  = c.kn_start.sample + film_in * ppf;
        std::int64_t const s1  = c.kn_start.sample + film_last * ppf;
        row.key_in             = key_text(labels.keys, row.key_prefix, s0);
        row.key_out            = key_text(labels.keys, row.key_prefix, s1);
        if (row.key_in.empty() || row.key_out.empty()) {
            missing(e, missing_kind::outside_clip, row.clip);
            out_.cuts.push_back(std::move(row));
            return;
        }
        row.first_sample           = static_cast<std::int32_t>(s0);
        row.last_sample            = static_cast<std::int32_t>(s1);
        std::string_view const ink = log.field(c, column::ink_number);
        row.ink_in                 = ink_text(labels.inks, ink, film_in);
        row.ink_out                = ink_text(labels.inks, ink, film_last);
        row.matched                = true;
        out_.cuts.push_back(std::move(row));
    }

    // The pieces of negative: by lab roll, camera roll, roll and key.
    void make_pulls() {
        label_t last_stock = LABEL_NONE;
        std::vector<cut_row const*> used;
        for (cut_row const& r : out_.cuts)
            if (r.matched && r.frames > 0) used.push_back(&r);
        std::stable_sort(used.begin(), used.end(), [](cut_row const* a, cut_row const* b) {
            if (a->labroll != b->labroll) return a->labroll < b->labroll;
            if (a->camroll != b->camroll) return a->camroll < b->camroll;
            if (a->key_prefix != b->key_prefix) return a->key_prefix < b->key_prefix;
            if (a->stock != b->stock) return a->stock < b->stock;
            return a->first_sample < b->first_sample;
        });
        for (cut_row const* r : used) {
            std::int64_t const ppf = std::max(geometry_of(r->stock).perfs_per_frame, 1);
            pull_row* last         = out_.pulls.empty() ? nullptr : &out_.pulls.back();
            if (last != nullptr && last->labroll == r->labroll && last->camroll == r->camroll &&
                last->key_prefix == r->key_prefix && last_stock == r->stock &&
                std::int64_t{r->first_sample} <= std::int64_t{last->last_sample} + ppf) {
                if (r->last_sample > last->last_sample) {
                    last->last_sample = r->last_sample;
                    last->key_out     = r->key_out;
                }
                last->frames = (std::int64_t{last->last_sample} - last->first_sample) / ppf + 1;
                last->events.push_back(r->event);
                continue;
            }
            pull_row p;
            p.labroll      = r->labroll;
            p.camroll      = r->camroll;
            p.clip         = r->clip;
            p.key_prefix   = r->key_prefix;
            p.key_in       = r->key_in;
            p.key_out      = r->key_out;
            p.first_sample = r->first_sample;
            p.last_sample  = r->last_sample;
            p.frames       = r->frames;
            p.events.push_back(r->event);
            out_.pulls.push_back(std::move(p));
            last_stock = r->stock;
        }
    }

    edl::document const& list_;
    clip_index const& index_;
    list_options const& options_;
    film_lists out_;
    stock_geometry geometry_;
    cadence rate_;
    std::vector<std::unique_ptr<stock_labels>> labels_;
    std::int64_t record_frames_ = 0, cut_frames_ = 0, leader_frames_ = 0;
};

}  // namespace

clip_index::clip_index(std::vector<telecine_log> const& logs) : logs_(&logs) {
    for (std::size_t l = 0; l < logs.size(); ++l) {
        telecine_log const& log = logs[l];
        for (std::size_t k = 0; k < log.clips.size(); ++k) {
            clip const& c = log.clips[k];
            if (!c.has_range) continue;
            entry const e{c.start.frames(), c.end.frames(), static_cast<std::uint32_t>(l),
                          static_cast<std::uint32_t>(k)};
            std::string_view const tape = log.field(c, column::tape);
            if (!tape.empty()) tapes_[std::string(tape)].push_back(e);
            std::string_view const name = log.field(c, column::name);
            if (!name.empty()) names_[std::string(name)].push_back(e);
        }
    }
    for (auto& [tape, clips] : tapes_)
        std::stable_sort(clips.begin(), clips.end(),
                         [](entry const& a, entry const& b) { return a.start < b.start; });
}

std::vector<clip_index::entry> const* clip_index::tape(std::string_view name) const {
    auto const it = tapes_.find(name);
    return it == tapes_.end() ? nullptr : &it->second;
}

std::vector<std::string_view> clip_index::tapes_starting(std::string_view text) const {
    std::vector<std::string_view> out;
    for (auto it = tapes_.lower_bound(text); it != tapes_.end() && out.size() < 2; ++it) {
        if (it->first.compare(0, text.size(), text) != 0) break;
        out.emplace_back(it->first);
    }
    return out;
}

std::vector<clip_index::entry> const* clip_index::named(std::string_view name) const {
    auto const it = names_.find(name);
    return it == names_.end() ? nullptr : &it->second;
}

char const* finding_name(list_finding_kind k) {
    auto const i = static_cast<std::size_t>(k);
    return i < std::size(finding_rows) ? finding_rows[i].name : "unknown";
}

severity severity_of(list_finding_kind k) {
    auto const i = static_cast<std::size_t>(k);
    return i < std::size(finding_rows) ? finding_rows[i].level : severity::error;
}

std::string describe(list_finding const& f) {
    switch (f.kind) {
        case list_finding_kind::none: return "no finding";
        case list_finding_kind::reel_by_prefix: return "reel taken as tape " + f.what;
        case list_finding_kind::reel_by_clip_name:
            return "clip found by its name " + f.what + ", not by its reel";
        case list_finding_kind::ambiguous_reel:
            return "reel " + f.what + " starts the names of several tapes: give a reel map";
        case list_finding_kind::rate_differs:
            return "the log counts " + f.what + ", not the list's rate";
        case list_finding_kind::rounding_past_clip:
            return "rounding takes a frame past the end of clip " + f.what;
    }
    return "unknown finding";
}

char const* missing_name(missing_kind k) {
    switch (k) {
        case missing_kind::no_clip: return "no_clip";
        case missing_kind::no_key_numbers: return "no_key_numbers";
        case missing_kind::outside_clip: return "outside_clip";
    }
    return "unknown";
}

std::string feet_frames_text(std::int64_t frames, stock_geometry g) {
    if (g.perfs_per_frame <= 0 || g.perfs_per_foot <= 0) return std::to_string(frames);
    bool const negative      = frames < 0;
    std::int64_t const perfs = (negative ? -frames : frames) * g.perfs_per_frame;
    char text[sizeof("-9223372036854775807+-2147483648")];
    std::snprintf(text, sizeof text, "%s%lld+%02lld", negative ? "-" : "",
                  static_cast<long long>(perfs / g.perfs_per_foot),
                  static_cast<long long>(perfs % g.perfs_per_foot / g.perfs_per_frame));
    return text;
}

film_lists make_lists(edl::document const& list, clip_index const& index,
                      list_options const& options) {
    return list_maker(list, index, options).make();
}

}  // namespace marlix::film
