// The Python module: label text and samples one at a time or in batches
// (one C++ loop with the GIL released), SMPTE timecode, translation between
// media under settings of one call, and cadence pictures. Every failure is
// a ValueError that says what was wrong.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "marlix/entry/library_entry.h"
#include "marlix/front/labeller.h"
#include "marlix/front/names.h"
#include "marlix/front/timecode_text.h"
#include "marlix/front/translate.h"
#include "marlix/host/host_services.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/smpte/timecode.h"
#include "marlix/version.h"
#include "marlix/xlate/cadence_tables.h"
#include "marlix/xlate/position_xlate.h"

namespace py = pybind11;

namespace {

using namespace marlix;

[[noreturn]] void fail(std::string const& why) { throw py::value_error(why); }

std::string shown(py::handle h) { return py::repr(h).cast<std::string>(); }

// A number as a rate is written: an int, or a whole float, in decimal
// digits ("25"), another float as repr() gives it ("29.97"); empty for
// anything else.
std::string number_text(py::handle value) {
    if (py::isinstance<py::bool_>(value)) return {};
    if (py::isinstance<py::int_>(value)) return py::str(value).cast<std::string>();
    if (py::isinstance<py::float_>(value)) {
        double const v = value.cast<double>();
        if (v == std::floor(v) && std::fabs(v) < 1e15)
            return std::to_string(static_cast<long long>(v));
        return shown(value);
    }
    return {};
}

// A label type as the tool names one: an EDL name, class name, frame rate
// or "#N" as a str, or a frame rate as a number (25 is pal_label, as -t 25
// is; catalogue number 25 is "#25").
label_t label_type_of(py::handle type) {
    std::string name = number_text(type);
    if (name.empty()) {
        if (!py::isinstance<py::str>(type))
            fail("a label type is a name, a frame rate or \"#N\", not " + shown(type));
        name = type.cast<std::string>();
    }
    auto const found = front::find_label_type(name);
    if (!found) fail(front::describe(found.why, name));
    return found.value;
}

// The labels of type t, with a converter of its own, carrying the caller's
// prefix, reading texts strictly unless strict is false.
front::labeller labeller_for(label_t t, std::optional<std::string> const& prefix,
                             bool strict = true) {
    auto made = front::labeller::make(t, TC_ALL_FIELDS,
                                      strict ? front::reading::strict : front::reading::lax);
    if (made.why == front::reason::no_memory) throw std::bad_alloc();
    if (!made) fail(front::describe(made.why, "", t));
    if (prefix) {
        auto const given = made.value.set_typed_prefix(*prefix);
        if (!given)
            fail("prefix '" + *prefix +
                 "': " + front::describe(given.why, made.value.refusal(), t));
    }
    return std::move(made.value);
}

front::labeller labeller_of(py::handle type, std::optional<std::string> const& prefix,
                            bool strict = true) {
    return labeller_for(label_type_of(type), prefix, strict);
}

std::int32_t sample_of(long long n) {
    if (n < INT32_MIN || n > INT32_MAX)
        fail("sample " + std::to_string(n) + " does not fit 32 bits");
    return static_cast<std::int32_t>(n);
}

std::string not_read(front::labeller const& labels, std::string_view text, front::reason why) {
    // The text as Python shows it: quoted, with control characters escaped.
    py::str const shown_text(text.data(), text.size());
    return shown(shown_text) + ": " + front::describe(why, labels.refusal(), labels.type());
}

std::string label_text(py::handle type, long long sample, std::optional<std::string> prefix,
                       bool strict) {
    return labeller_of(type, prefix, strict).text(sample_of(sample));
}

std::int32_t sample_read(front::labeller& labels, std::string const& text) {
    auto const s = labels.sample(text);
    if (!s) fail(not_read(labels, text, s.why));
    return s.value;
}

std::int32_t label_sample(py::handle type, std::string const& text,
                          std::optional<std::string> prefix, bool strict) {
    front::labeller labels = labeller_of(type, prefix, strict);
    return sample_read(labels, text);
}

// The samples of a batch: a range is walked without a list, an object with
// the buffer protocol is read in place, anything else iterated.
std::vector<std::int32_t> samples_of(py::handle samples) {
    std::vector<std::int32_t> out;
    if (py::isinstance(samples, py::module_::import("builtins").attr("range"))) {
        long long const start = samples.attr("start").cast<long long>();
        long long const step  = samples.attr("step").cast<long long>();
        long long const n     = static_cast<long long>(py::len(samples));
        sample_of(start);
        if (n > 0) sample_of(start + (n - 1) * step);  // a range is monotonic: both ends fit
        out.resize(static_cast<std::size_t>(n));
        for (long long i = 0; i < n; ++i)
            out[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(start + i * step);
        return out;
    }
    if (PyObject_CheckBuffer(samples.ptr()) && !py::isinstance<py::bytes>(samples)) {
        py::buffer_info const info = py::reinterpret_borrow<py::buffer>(samples).request();
        if (info.ndim != 1) fail("a buffer of samples has one dimension");
        auto read = [&](auto const* data) {
            out.resize(static_cast<std::size_t>(info.shape[0]));
            std::size_t const stride = static_cast<std::size_t>(info.strides[0]);
            auto const* bytes        = reinterpret_cast<char const*>(data);
            for (std::size_t i = 0; i < out.size(); ++i) {
                auto v = *reinterpret_cast<decltype(data)>(bytes + i * stride);
                if constexpr (std::is_floating_point_v<
                                  std::remove_cv_t<std::remove_pointer_t<decltype(data)>>>) {
                    if (v != std::floor(v)) fail("sample " + std::to_string(v) + " is not whole");
                    if (!(v >= INT32_MIN && v <= INT32_MAX))
                        fail("sample " + std::to_string(v) + " does not fit 32 bits");
                    out[i] = static_cast<std::int32_t>(v);
                } else {
                    out[i] = sample_of(static_cast<long long>(v));
                }
            }
        };
        // Only a signed or unsigned whole number of the native sizes, or a
        // double: the formats numpy, array and memoryview give.
        std::string const f = info.format;
        char const kind     = f.empty() ? '\0' : f.back();
        if ((f.size() == 1 || (f.size() == 2 && (f[0] == '@' || f[0] == '=' || f[0] == '<'))) &&
            std::strchr("bBhHiIlLqQd", kind) != nullptr) {
            switch (kind) {
                case 'b': read(static_cast<std::int8_t const*>(info.ptr)); break;
                case 'B': read(static_cast<std::uint8_t const*>(info.ptr)); break;
                case 'h': read(static_cast<std::int16_t const*>(info.ptr)); break;
                case 'H': read(static_cast<std::uint16_t const*>(info.ptr)); break;
                case 'i': read(static_cast<std::int32_t const*>(info.ptr)); break;
                case 'I': read(static_cast<std::uint32_t const*>(info.ptr)); break;
                case 'l':
                case 'q': read(static_cast<std::int64_t const*>(info.ptr)); break;
                case 'L':
                case 'Q': read(static_cast<std::uint64_t const*>(info.ptr)); break;
                default: read(static_cast<double const*>(info.ptr)); break;
            }
            return out;
        }
        fail("a buffer of samples holds whole numbers or doubles, not format '" + f + "'");
    }
    std::size_t index = 0;
    for (py::handle item : samples) {
        if (!py::isinstance<py::int_>(item) || py::isinstance<py::bool_>(item))
            fail("sample " + std::to_string(index) + " is not an int: " + shown(item));
        out.push_back(sample_of(item.cast<long long>()));
        ++index;
    }
    return out;
}

// Label texts are ASCII unless a prefix brought other bytes; those are
// read as UTF-8, invalid bytes replaced.
py::list label_texts(py::handle type, py::handle samples, std::optional<std::string> prefix,
                     bool strict) {
    front::labeller labels               = labeller_of(type, prefix, strict);
    std::vector<std::int32_t> const list = samples_of(samples);
    py::list out(list.size());
    // Printed a block at a time with the GIL released, each block's texts
    // then made str objects while they are still in cache.
    constexpr std::size_t block = 4096;
    constexpr std::size_t width = front::labeller::text_capacity;
    std::vector<char> texts(block * width);
    std::uint8_t lengths[block];
    bool ascii[block];
    for (std::size_t first = 0; first < list.size(); first += block) {
        std::size_t const n = std::min(block, list.size() - first);
        {
            py::gil_scoped_release const release;
            for (std::size_t i = 0; i < n; ++i) {
                char const* text = labels.text(list[first + i]);
                char* to         = texts.data() + i * width;
                std::memcpy(to, text, width);  // the point's whole text buffer
                std::size_t const k = strnlen(to, width - 1);
                unsigned char high  = 0;
                for (std::size_t j = 0; j < k; ++j) high |= static_cast<unsigned char>(to[j]);
                lengths[i] = static_cast<std::uint8_t>(k);
                ascii[i]   = high < 0x80;
            }
        }
        for (std::size_t i = 0; i < n; ++i) {
            char const* text = texts.data() + i * width;
            PyObject* s      = ascii[i] ? PyUnicode_New(lengths[i], 127)
                                        : PyUnicode_DecodeUTF8(text, lengths[i], "replace");
            if (s == nullptr) throw py::error_already_set();
            if (ascii[i]) std::memcpy(PyUnicode_1BYTE_DATA(s), text, lengths[i]);
            PyList_SET_ITEM(out.ptr(), static_cast<Py_ssize_t>(first + i), s);
        }
    }
    return out;
}

py::list label_samples(py::handle type, py::handle texts, std::optional<std::string> prefix,
                       bool strict) {
    front::labeller labels = labeller_of(type, prefix, strict);
    // The str objects stay referenced, so their UTF-8 buffers stay valid
    // while the GIL is released.
    std::vector<py::object> held;
    std::vector<std::string_view> views;
    for (py::handle item : texts) {
        if (!py::isinstance<py::str>(item))
            fail("text " + std::to_string(views.size()) + " is not a str: " + shown(item));
        Py_ssize_t n     = 0;
        char const* utf8 = PyUnicode_AsUTF8AndSize(item.ptr(), &n);
        if (utf8 == nullptr) throw py::error_already_set();
        held.push_back(py::reinterpret_borrow<py::object>(item));
        views.emplace_back(utf8, static_cast<std::size_t>(n));
    }
    std::vector<std::int32_t> out(views.size());
    std::size_t bad       = views.size();
    front::reason bad_why = front::reason::none;
    {
        py::gil_scoped_release const release;
        for (std::size_t i = 0; i < views.size() && bad == views.size(); ++i) {
            auto const s = labels.sample(views[i]);
            if (s)
                out[i] = s.value;
            else
                bad = i, bad_why = s.why;
        }
    }
    if (bad != views.size())
        fail("text " + std::to_string(bad) + ": " + not_read(labels, views[bad], bad_why));
    return py::cast(out);
}

// A timecode rate: a name as a str ("29.97df"), or a number (25, 29.97).
smpte::rate tc_rate(py::handle rate) {
    std::string const name =
        py::isinstance<py::str>(rate) ? rate.cast<std::string>() : number_text(rate);
    auto const r = smpte::parse_rate(name);
    if (!r.ok()) fail(shown(rate) + " is not a frame rate (" + smpte::rate_names() + ")");
    return r.value;
}

std::string tc_text(long long frames, py::handle rate) {
    if (frames < INT32_MIN || frames > INT32_MAX)
        fail("frame count " + std::to_string(frames) + " does not fit 32 bits");
    return smpte::to_string(smpte::timecode(static_cast<std::int32_t>(frames), tc_rate(rate)));
}

std::int32_t tc_frames(std::string const& text, py::handle rate, bool strict) {
    smpte::rate const r = tc_rate(rate);
    if (strict) {
        auto const t = front::read_timecode(text, r);
        if (!t.ok()) fail("'" + text + "': " + smpte::error_text(t.why));
        return t.value.frames();
    }
    label_t const type = smpte::converter_type(r);
    if (type == LABEL_NONE)
        fail(shown(rate) + " has no label converter to read as; use strict=True");
    front::labeller labels = labeller_for(type, std::nullopt, false);
    return sample_read(labels, text);
}

// A host frame rate: a name as the SMPTE layer reads it or "#N" for the
// host's number N as a str, or a frame rate as a number (25, 29.97). *drop
// tells a drop-frame name.
Tov::FrameRate host_rate_of(py::handle value, char const* what, bool* drop = nullptr) {
    std::string const text =
        py::isinstance<py::str>(value) ? value.cast<std::string>() : number_text(value);
    auto const r = front::find_host_rate(text);
    if (!r)
        fail(std::string(what) + ": " + shown(value) + " is not a frame rate (" +
             smpte::rate_names() + ", or \"#N\" for the host's rate number)");
    if (drop != nullptr) *drop = r.value.drop;
    return r.value.rate;
}

MediumRollMedium medium_of(py::handle value, char const* what) {
    std::string const text = py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value)
                                 ? std::to_string(value.cast<long long>())
                             : py::isinstance<py::str>(value) ? value.cast<std::string>()
                                                              : std::string();
    auto const m           = front::find_medium(text);
    if (!m) fail(std::string(what) + ": " + shown(value) + " is not a medium");
    return m.value;
}

transfer_type transfer_of(py::handle value) {
    front::result<transfer_type> t{{}, front::reason::unknown_transfer};
    if (py::isinstance<py::str>(value))
        t = front::find_transfer(value.cast<std::string>());
    else if (py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value))
        t = front::transfer_numbered(value.cast<long long>());
    if (!t)
        fail("transfer: " + shown(value) + " is not none, frame, pulldown or a number 0.." +
             std::to_string(front::max_transfer_number));
    return t.value;
}

struct xlate_options {
    py::object transfer, transfer_rate, video_medium;
    int sequence        = -1;
    bool source_24p     = false;
    bool round_to_frame = false;
    py::object project_rate, drop_frame, camera_speed, output_rate, output_scan, output_pulled_down,
        audio_sync_pulled_down;
};

double xlate(double position, py::handle from_medium, py::handle to_medium,
             xlate_options const& o) {
    MediumRollMedium const from = medium_of(from_medium, "from_medium");
    MediumRollMedium const to   = medium_of(to_medium, "to_medium");
    if (o.sequence < -1 || o.sequence > 255) fail("sequence takes a phase -1..255");
    // The project of this call: the current one with the given settings.
    Tov::ProjectSettings s = Tov::CurrentProject::settings();
    if (!o.project_rate.is_none()) {
        bool drop     = false;
        s.frame_rate  = host_rate_of(o.project_rate, "project_rate", &drop);
        s.output_rate = s.frame_rate;  // the output follows unless given
        if (drop) s.drop_frame_timecode = true;
    }
    if (!o.drop_frame.is_none()) s.drop_frame_timecode = o.drop_frame.cast<bool>();
    if (!o.camera_speed.is_none())
        s.in_camera_film_speed = host_rate_of(o.camera_speed, "camera_speed");
    if (!o.output_rate.is_none()) s.output_rate = host_rate_of(o.output_rate, "output_rate");
    if (!o.output_scan.is_none()) {
        std::string const scan = py::isinstance<py::str>(o.output_scan)
                                     ? o.output_scan.cast<std::string>()
                                     : std::string();
        if (scan != "p" && scan != "i")
            fail("output_scan: " + shown(o.output_scan) + " is not 'p' or 'i'");
        s.output_scan = scan == "p" ? Tov::Image::ScanMode_Progressive
                                    : Tov::Image::ScanMode_InterlacedUpperFirst;
    }
    if (!o.output_pulled_down.is_none()) s.output_pulled_down = o.output_pulled_down.cast<bool>();
    if (!o.audio_sync_pulled_down.is_none())
        s.audio_sync_pulled_down = o.audio_sync_pulled_down.cast<bool>();
    Tov::ThreadProject const scope(s);  // the default video medium is the call's project's

    MPosn_Xlate_Params params;
    if (!o.transfer.is_none()) params.transfer = transfer_of(o.transfer);
    params.sequence = o.sequence;
    if (!o.transfer_rate.is_none())
        params.transfer_rate = host_rate_of(o.transfer_rate, "transfer_rate");
    params.video_medium       = o.video_medium.is_none() ? getDefaultEditMediumForProject()
                                                         : medium_of(o.video_medium, "video_medium");
    params.vidproj_24p_source = o.source_24p;
    auto const r              = front::translate(position, from, to, params, o.round_to_frame);
    if (!r)
        fail("no translation of " + shown(py::float_(position)) + " from " + medium_name(from) +
             " to " + medium_name(to));
    return r.value;
}

std::vector<std::string> cadence(std::string const& pair_text, int phase) {
    auto const found = front::find_cadence(pair_text);
    if (!found)
        fail("'" + pair_text + "' is not a cadence: 24 or 48, ':', then 25p, 25i, 30p or 30i");
    cadence_pair const pair = found.value;
    int const phases        = cadence_phase_count(pair);
    if (phase < 0 || phase >= phases)
        fail("phase " + std::to_string(phase) + " of " + pair_text + ": 0.." +
             std::to_string(phases - 1));
    int const units = cadence_shape_of(pair).fields ? 2 * phases : phases;
    std::vector<std::string> out;
    for (int unit = 0; unit < units; ++unit) {
        char name[cadence_frame_name_capacity];
        cadence_frame_name(pair, cadence_frame_on_show(pair, phase, unit), name);
        out.emplace_back(name);
    }
    return out;
}

}  // namespace

PYBIND11_MODULE(marlix, m) {
    m.doc() =
        "Edge-label arithmetic: label text and samples, SMPTE timecode, translation "
        "between media, pulldown cadences.";
    m.attr("__version__") = marlix::library_version();
    // The library's messages reach the diagnostics sink (standard error)
    // only: a script's standard output stays its own.
    set_messages_to_standard_output(false);

    py::arg const type("type");
    py::arg_v const strict("strict", true);
    m.def("label_text", &label_text, type, py::arg("sample"), py::kw_only(),
          py::arg("prefix") = py::none(), strict,
          "The label text of a sample, exactly as the type's converter prints it; a prefix "
          "is read as typed (\"KU 22 9012\"), or as it is with strict=False. The type is "
          "named as on the command line: an EDL name (\"P\"), a class name, a frame rate "
          "(\"29.97df\", or a number: 25 is pal_label) or \"#N\" for catalogue number N.");
    m.def("label_sample", &label_sample, type, py::arg("text"), py::kw_only(),
          py::arg("prefix") = py::none(), strict,
          "The sample of a label text; ValueError naming the field and why if it is no "
          "label of the type. strict=False reads it as the type's converter does.");
    m.def("label_texts", &label_texts, type, py::arg("samples"), py::kw_only(),
          py::arg("prefix") = py::none(), strict, "label_text over a whole sequence of samples.");
    m.def("label_samples", &label_samples, type, py::arg("texts"), py::kw_only(),
          py::arg("prefix") = py::none(), strict,
          "label_sample over a whole sequence of texts; ValueError names the first that fails.");
    m.def("tc_text", &tc_text, py::arg("frames"), py::arg("rate"),
          "SMPTE timecode HH:MM:SS:FF of a frame count at a rate (\"29.97df\", or a number).");
    m.def("tc_frames", &tc_frames, py::arg("text"), py::arg("rate"), py::arg("strict") = true,
          "The frame count of a timecode: strict (blanks around it ignored), or as the label "
          "converters read it.");
    m.def(
        "xlate",
        [](double position, py::handle from_medium, py::handle to_medium, py::object transfer,
           int sequence, py::object transfer_rate, py::object video_medium, bool source_24p,
           bool round_to_frame, py::object project_rate, py::object drop_frame,
           py::object camera_speed, py::object output_rate, py::object output_scan,
           py::object output_pulled_down, py::object audio_sync_pulled_down) {
            xlate_options const o{transfer,
                                  transfer_rate,
                                  video_medium,
                                  sequence,
                                  source_24p,
                                  round_to_frame,
                                  project_rate,
                                  drop_frame,
                                  camera_speed,
                                  output_rate,
                                  output_scan,
                                  output_pulled_down,
                                  audio_sync_pulled_down};
            return xlate(position, from_medium, to_medium, o);
        },
        py::arg("position"), py::arg("from_medium"), py::arg("to_medium"), py::kw_only(),
        py::arg("transfer") = py::none(), py::arg("sequence") = -1,
        py::arg("transfer_rate") = py::none(), py::arg("video_medium") = py::none(),
        py::arg("source_24p") = false, py::arg("round_to_frame") = false,
        py::arg("project_rate") = py::none(), py::arg("drop_frame") = py::none(),
        py::arg("camera_speed") = py::none(), py::arg("output_rate") = py::none(),
        py::arg("output_scan") = py::none(), py::arg("output_pulled_down") = py::none(),
        py::arg("audio_sync_pulled_down") = py::none(),
        "A position translated from one medium's time base to another's; the project "
        "settings given hold for this call only.");
    m.def("cadence", &cadence, py::arg("pair"), py::arg("phase") = 0,
          "The film frame on show in each field (or frame) of one cadence cycle.");
}
