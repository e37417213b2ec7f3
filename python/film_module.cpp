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
};

py_film_lists film_lists(
    py::handle edl, std::vector<py::object> const& logs, std::string const& rate,
    std::optional<std::string> const& stock, std::optional<std::string> const& transfer,
    std::string const& leader,
    std::optional<std::vector<std::pair<std::string, std::string>>> const& reel_map) {
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
    lo.pal_24_25           = transfer && *transfer == "24:25";
    std::string const list = bytes_of(edl, "an EDL");
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
    film::clip_index const index(read);
    py_film_lists out{film::make_lists(edl::read(list, r.value), index, options), {}};
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
            return "<FilmFinding " + f.severity + " " + f.kind + " line " +
                   std::to_string(f.line) + ">";
        });
    py::class_<py_film_lists>(m, "FilmLists", "The cut, pull and missing lists of one reel.")
        .def_readonly("cuts", &py_film_lists::cuts)
        .def_readonly("pulls", &py_film_lists::pulls)
        .def_readonly("missing", &py_film_lists::missing)
        .def_readonly("totals", &py_film_lists::totals)
        .def_readonly("findings", &py_film_lists::findings,
                      "The logs' findings, then the list run's, each in line order.");
    m.def("film_lists", &film_lists, py::arg("edl"), py::arg("logs"), py::kw_only(),
          py::arg("rate"), py::arg("stock") = py::none(), py::arg("transfer") = py::none(),
          py::arg("leader") = "0+00", py::arg("reel_map") = py::none(),
          "A video list (str or bytes) matched back to key numbers through telecine logs (ALE "
          "texts): the cut, pull and missing lists and the totals of the reel.");
}
