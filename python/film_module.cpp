// The Python module's film lists: a list matched back through telecine
// logs, as typed rows. Failures are ValueError in the caller's terms.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "marlix/film/film_lists.h"
#include "marlix/front/names.h"
#include "marlix/front/shown_text.h"

namespace py = pybind11;

namespace {

using namespace marlix;

std::string bytes_of(py::handle h, char const* what) {
    if (py::isinstance<py::bytes>(h) || py::isinstance<py::str>(h)) return h.cast<std::string>();
    throw py::value_error(std::string(what) + " is str or bytes, not " +
                          py::repr(h).cast<std::string>());
}

// A finding of a log or of the list run, as Python sees it.
struct py_film_finding {
    std::int32_t log   = -1;  // the log's index in logs, -1 for the list's
    std::int32_t event = -1;  // the edit's event, -1 for a log's
    std::uint32_t line = 0;
    std::string kind, severity, message;
};

char const* severity_text(film::severity s) {
    return s == film::severity::error ? "error" : s == film::severity::warning ? "warning" : "note";
}

struct py_film_lists : film::film_lists {
    std::vector<py_film_finding> findings;
    film::change_list changes;
};

py_film_lists film_lists(
    py::handle edl, std::vector<py::object> const& logs, std::string const& rate,
    std::optional<std::string> const& stock, std::optional<std::string> const& transfer,
    std::string const& leader,
    std::optional<std::vector<std::pair<std::string, std::string>>> const& reel_map,
    std::int32_t handles, std::optional<std::vector<std::int32_t>> const& dissolve_lengths,
    py::handle previous) {
    auto const r = smpte::parse_rate(rate);
    if (!r) throw py::value_error(front::quoted(rate) + " is not a frame rate");
    film::log_options lo;
    if (stock) {
        auto const t = front::find_converter_type(*stock);
        if (!t || film::geometry_of(t.value).perfs_per_frame == 0)
            throw py::value_error(front::quoted(*stock) + " is no keycode stock");
        lo.stock = t.value;
    }
    if (transfer && *transfer != "24:25" && *transfer != "frame")
        throw py::value_error(front::quoted(*transfer) + " is no transfer (24:25 or frame)");
    lo.pal_24_25 = transfer && *transfer == "24:25";
    if (handles < 0 || handles > 10000)
        throw py::value_error("handles are frames 0 to 10000, not " + std::to_string(handles));
    if (dissolve_lengths)
        for (std::int32_t const l : *dissolve_lengths)
            if (l < 1) throw py::value_error("a dissolve length is 1 frame or more");
    std::string const list = bytes_of(edl, "an EDL");
    std::optional<std::string> before;
    if (!previous.is_none()) before = bytes_of(previous, "the previous EDL");
    std::vector<std::string> texts;
    for (py::object const& l : logs) texts.push_back(bytes_of(l, "a log"));
    py::gil_scoped_release unlocked;
    std::vector<film::telecine_log> read;
    for (std::string const& t : texts) read.push_back(film::read_log(t, lo));
    label_t s = lo.stock;
    for (auto const& l : read)
        if (s == LABEL_NONE) s = l.stock;
    film::list_options options;
    options.pal_24_25    = lo.pal_24_25;
    options.leader_perfs = film::read_footage(leader, film::geometry_of(s));
    if (options.leader_perfs < 0) {
        py::gil_scoped_acquire locked;
        throw py::value_error(front::quoted(leader) + " is no footage FT+FR of the stock");
    }
    if (reel_map) options.reel_map = *reel_map;
    options.handles = handles;
    if (dissolve_lengths) options.lab_lengths = *dissolve_lengths;
    film::clip_index const index(read);
    py_film_lists out{film::make_lists(edl::read(list, r.value), index, options), {}, {}};
    if (before)
        out.changes = film::make_change_list(
            film::make_lists(edl::read(*before, r.value), index, options), out);
    for (std::size_t k = 0; k < read.size(); ++k)
        for (film::log_finding const& f : read[k].findings)
            out.findings.push_back({static_cast<std::int32_t>(k), -1, f.line,
                                    film::finding_name(f.kind), severity_text(f.level()),
                                    film::describe(f)});
    for (film::list_finding const& f : out.film::film_lists::findings)
        out.findings.push_back({-1, f.event, f.line, film::finding_name(f.kind),
                                severity_text(f.level()), film::describe(f)});
    return out;
}

}  // namespace

void add_film(py::module_& m) {
    auto const tc = [](smpte::timecode t) { return smpte::to_string(t); };
    py::class_<film::cut_row>(m, "CutRow", "One cut of a cut list, in record order.")
        .def_readonly("event", &film::cut_row::event)
        .def_readonly("line", &film::cut_row::line)
        .def_readonly("reel", &film::cut_row::reel)
        .def_property_readonly("record_in",
                               [tc](film::cut_row const& c) { return tc(c.record_in); })
        .def_property_readonly("record_out",
                               [tc](film::cut_row const& c) { return tc(c.record_out); })
        .def_readonly("matched", &film::cut_row::matched)
        .def_readonly("clip", &film::cut_row::clip)
        .def_readonly("tape", &film::cut_row::tape)
        .def_readonly("camroll", &film::cut_row::camroll)
        .def_readonly("labroll", &film::cut_row::labroll)
        .def_readonly("scene", &film::cut_row::scene)
        .def_readonly("take", &film::cut_row::take)
        .def_readonly("key_in", &film::cut_row::key_in)
        .def_readonly("key_out", &film::cut_row::key_out)
        .def_readonly("ink_in", &film::cut_row::ink_in)
        .def_readonly("ink_out", &film::cut_row::ink_out)
        .def_readonly("frames", &film::cut_row::frames)
        .def_readonly("feet_frames", &film::cut_row::feet_frames)
        .def_readonly("running_frames", &film::cut_row::running_frames)
        .def_readonly("running_feet", &film::cut_row::running_feet)
        .def_readonly("adjust", &film::cut_row::adjust)
        .def_readonly("notes", &film::cut_row::notes)
        .def("__repr__", [](film::cut_row const& c) {
            return "<CutRow " + std::to_string(c.event) + " " + c.key_in + " " + c.key_out + ">";
        });
    py::class_<film::pull_row>(m, "PullRow", "A piece of negative to pull, and its events.")
        .def_readonly("labroll", &film::pull_row::labroll)
        .def_readonly("camroll", &film::pull_row::camroll)
        .def_readonly("clip", &film::pull_row::clip)
        .def_readonly("key_in", &film::pull_row::key_in)
        .def_readonly("key_out", &film::pull_row::key_out)
        .def_readonly("frames", &film::pull_row::frames)
        .def_readonly("events", &film::pull_row::events);
    py::class_<film::missing_row>(m, "MissingRow", "An edit the logs do not cover.")
        .def_readonly("event", &film::missing_row::event)
        .def_readonly("line", &film::missing_row::line)
        .def_readonly("reel", &film::missing_row::reel)
        .def_property_readonly(
            "kind",
            [](film::missing_row const& r) { return std::string(film::missing_name(r.kind)); })
        .def_readonly("clip", &film::missing_row::clip);
    py::class_<film::list_totals>(m, "ListTotals", "Events, footage and running time of a reel.")
        .def_readonly("events", &film::list_totals::events)
        .def_readonly("frames", &film::list_totals::frames)
        .def_readonly("feet_frames", &film::list_totals::feet_frames)
        .def_readonly("record_frames", &film::list_totals::record_frames)
        .def_readonly("running_time", &film::list_totals::running_time);
    py::class_<py_film_finding>(m, "FilmFinding",
                                "A finding of a log (log is its index) or of the list run.")
        .def_readonly("log", &py_film_finding::log)
        .def_readonly("event", &py_film_finding::event)
        .def_readonly("line", &py_film_finding::line)
        .def_readonly("kind", &py_film_finding::kind)
        .def_readonly("severity", &py_film_finding::severity)
        .def_readonly("message", &py_film_finding::message)
        .def("__repr__", [](py_film_finding const& f) {
            return "<FilmFinding " + f.severity + " " + f.kind + " line " + std::to_string(f.line) +
                   ">";
        });
    py::class_<film::dupe_row>(m, "DupeRow", "Negative two or more cuts use, handles counted.")
        .def_readonly("labroll", &film::dupe_row::labroll)
        .def_readonly("camroll", &film::dupe_row::camroll)
        .def_readonly("clip", &film::dupe_row::clip)
        .def_readonly("key_in", &film::dupe_row::key_in)
        .def_readonly("key_out", &film::dupe_row::key_out)
        .def_readonly("frames", &film::dupe_row::frames)
        .def_readonly("events", &film::dupe_row::events);
    py::class_<film::optical_side>(m, "OpticalSide", "The film one side of an effect needs.")
        .def_readonly("reel", &film::optical_side::reel)
        .def_readonly("clip", &film::optical_side::clip)
        .def_readonly("labroll", &film::optical_side::labroll)
        .def_readonly("camroll", &film::optical_side::camroll)
        .def_readonly("black", &film::optical_side::black)
        .def_readonly("matched", &film::optical_side::matched)
        .def_property_readonly("source_in",
                               [tc](film::optical_side const& o) { return tc(o.source_in); })
        .def_readonly("key_in", &film::optical_side::key_in)
        .def_readonly("key_out", &film::optical_side::key_out)
        .def_readonly("frames", &film::optical_side::frames);
    py::class_<film::optical_row>(
        m, "OpticalRow",
        "A dissolve, wipe, fade or M2 speed: its length, centre, speed and the film of each side.")
        .def_readonly("event", &film::optical_row::event)
        .def_readonly("line", &film::optical_row::line)
        .def_property_readonly(
            "kind",
            [](film::optical_row const& o) { return std::string(film::optical_name(o.kind)); })
        .def_readonly("wipe", &film::optical_row::wipe)
        .def_readonly("lab", &film::optical_row::lab)
        .def_readonly("length", &film::optical_row::length)
        .def_readonly("film_frames", &film::optical_row::film_frames)
        .def_property_readonly("centre", [tc](film::optical_row const& o) { return tc(o.centre); })
        .def_readonly("centre_feet", &film::optical_row::centre_feet)
        .def_readonly("speed_tenths", &film::optical_row::speed_tenths)
        .def_property_readonly("outgoing",
                               [](film::optical_row const& o) -> std::optional<film::optical_side> {
                                   if (!o.has_out) return std::nullopt;
                                   return o.out;
                               })
        .def_readonly("incoming", &film::optical_row::in);
    py::class_<film::sound_row>(m, "SoundRow", "A picture cut's sound roll and sound timecode.")
        .def_readonly("event", &film::sound_row::event)
        .def_readonly("line", &film::sound_row::line)
        .def_readonly("reel", &film::sound_row::reel)
        .def_readonly("clip", &film::sound_row::clip)
        .def_readonly("soundroll", &film::sound_row::soundroll)
        .def_readonly("found", &film::sound_row::found)
        .def_property_readonly(
            "sound_in", [tc](film::sound_row const& r) { return r.found ? tc(r.sound_in) : ""; })
        .def_property_readonly(
            "sound_out", [tc](film::sound_row const& r) { return r.found ? tc(r.sound_out) : ""; })
        .def_property_readonly("record_in",
                               [tc](film::sound_row const& r) { return tc(r.record_in); })
        .def_property_readonly("record_out",
                               [tc](film::sound_row const& r) { return tc(r.record_out); });
    py::class_<film::change_row>(m, "ChangeRow",
                                 "A step from the previous version: add, remove, lengthen or "
                                 "shorten, at the previous running footage.")
        .def_property_readonly(
            "kind",
            [](film::change_row const& c) { return std::string(film::change_name(c.kind)); })
        .def_property_readonly("end",
                               [](film::change_row const& c) {
                                   return std::string(c.end == film::change_end::head   ? "head"
                                                      : c.end == film::change_end::tail ? "tail"
                                                                                        : "");
                               })
        .def_readonly("at", &film::change_row::at)
        .def_readonly("at_feet", &film::change_row::at_feet)
        .def_readonly("event", &film::change_row::event)
        .def_readonly("reel", &film::change_row::reel)
        .def_readonly("clip", &film::change_row::clip)
        .def_readonly("labroll", &film::change_row::labroll)
        .def_readonly("camroll", &film::change_row::camroll)
        .def_readonly("key_prefix", &film::change_row::key_prefix)
        .def_readonly("key_in", &film::change_row::key_in)
        .def_readonly("key_out", &film::change_row::key_out)
        .def_readonly("first_sample", &film::change_row::first_sample)
        .def_readonly("last_sample", &film::change_row::last_sample)
        .def_readonly("frames", &film::change_row::frames);
    py::class_<py_film_lists>(m, "FilmLists",
                              "The cut, pull, missing, dupe, optical, sound and change lists of "
                              "one reel.")
        .def_readonly("cuts", &py_film_lists::cuts)
        .def_readonly("pulls", &py_film_lists::pulls)
        .def_readonly("missing", &py_film_lists::missing)
        .def_readonly("dupes", &py_film_lists::dupes)
        .def_readonly("opticals", &py_film_lists::opticals)
        .def_readonly("sounds", &py_film_lists::sounds)
        .def_property_readonly(
            "changes", [](py_film_lists const& l) { return l.changes.rows; },
            "In record order; empty without a previous version.")
        .def_property_readonly(
            "changes_by_reel",
            [](py_film_lists const& l) {
                std::vector<film::change_row> out;
                for (std::uint32_t const k : l.changes.reel_order) out.push_back(l.changes.rows[k]);
                return out;
            },
            "The changes by lab roll, camera roll and key number.")
        .def_readonly("totals", &py_film_lists::totals)
        .def_readonly("findings", &py_film_lists::findings,
                      "The logs' findings, then the list run's, each in line order.")
        .def(
            "audio_edl",
            [](py_film_lists const& l, std::string const& title) {
                return edl::write(film::audio_edl(l, title));
            },
            py::arg("title") = "", "The sound rolls as an EDL at the sound timecode's rate.");
    m.def("film_lists", &film_lists, py::arg("edl"), py::arg("logs"), py::kw_only(),
          py::arg("rate"), py::arg("stock") = py::none(), py::arg("transfer") = py::none(),
          py::arg("leader") = "0+00", py::arg("reel_map") = py::none(), py::arg("handles") = 1,
          py::arg("dissolve_lengths") = py::none(), py::arg("previous") = py::none(),
          "A video list (str or bytes) matched back to key numbers through telecine logs (ALE "
          "texts): the cut, pull, missing, dupe, optical and sound lists and the totals of the "
          "reel, and the changes from a previous version of the list.");
}
