// The Python module: label text and samples one at a time or in batches
// (one C++ loop with the GIL released), SMPTE timecode (text, arithmetic on
// the clock of a day, conversion between rates, keycode pulls), translation
// between media under settings of one call, and cadence pictures. Every
// failure is a ValueError that says what was wrong in the caller's terms;
// the host's own messages go to the "marlix" logger.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "marlix/edl/convert.h"
#include "marlix/edl/document.h"
#include "marlix/entry/library_entry.h"
#include "marlix/front/labeller.h"
#include "marlix/front/names.h"
#include "marlix/front/pull.h"
#include "marlix/front/shown_text.h"
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

// The film lists, from film_module.cpp.
void add_film(py::module_& m);

namespace {

using namespace marlix;

[[noreturn]] void fail(std::string const& why) { throw py::value_error(why); }

std::string shown(py::handle h) { return py::repr(h).cast<std::string>(); }

// The known rates that drop no frame numbers, for numbers to match.
std::vector<smpte::rate> const& plain_rates() {
    static std::vector<smpte::rate> const rates = [] {
        std::vector<smpte::rate> out;
        std::string_view names = smpte::rate_names();
        while (!names.empty()) {
            std::size_t const end = std::min(names.find(' '), names.size());
            auto const r          = smpte::parse_rate(names.substr(0, end));
            if (r && !r.value.drop) out.push_back(r.value);
            names.remove_prefix(std::min(end + 1, names.size()));
        }
        return out;
    }();
    return rates;
}

// A number as a rate is written: an int, or a whole float, in decimal
// digits ("25"); a float that is a known rate's quotient (24000 / 1001) as
// that rate's name, another as repr() gives it ("29.97"); a fraction as
// "num/den" (Fraction(24000, 1001)); another real number (Decimal) as str()
// gives it. Empty for anything else, bool included.
std::string number_text(py::handle value) {
    if (py::isinstance<py::bool_>(value)) return {};
    if (py::isinstance<py::int_>(value)) return py::str(value).cast<std::string>();
    if (py::isinstance<py::float_>(value)) {
        double const v = value.cast<double>();
        if (v == std::floor(v) && std::fabs(v) < 1e15)
            return std::to_string(static_cast<long long>(v));
        for (smpte::rate const r : plain_rates())
            if (v == static_cast<double>(r.num) / r.den) return smpte::rate_name(r);
        return shown(value);
    }
    py::module_ const numbers = py::module_::import("numbers");
    if (py::isinstance(value, numbers.attr("Rational"))) {
        std::string const num = py::str(value.attr("numerator")).cast<std::string>();
        std::string const den = py::str(value.attr("denominator")).cast<std::string>();
        return den == "1" ? num : num + "/" + den;
    }
    // Decimal is a Number only; complex numbers are no rates.
    if (py::isinstance(value, numbers.attr("Number")) &&
        (py::isinstance(value, numbers.attr("Real")) ||
         !py::isinstance(value, numbers.attr("Complex"))))
        return py::str(value).cast<std::string>();
    return {};
}

// A rate as a name: a str as it is, a number as number_text writes it.
std::string rate_text(py::handle value) {
    return py::isinstance<py::str>(value) ? value.cast<std::string>() : number_text(value);
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

// How a batch answers an item that fails: ValueError naming it ("raise",
// the default), or None in its place ("none").
bool keeps_going(std::string const& errors) {
    if (errors == "raise") return false;
    if (errors != "none") fail("errors: '" + errors + "' is neither \"raise\" nor \"none\"");
    return true;
}

// The items of a batch, and the indices of those that failed (ascending).
template <class T>
struct batch {
    std::vector<T> values;
    std::vector<std::size_t> failed;
};

// A list of the batch's answers, None where an item failed.
template <class T, class Make>
py::list answers(batch<T> const& b, Make make) {
    py::list out(b.values.size());
    auto next = b.failed.begin();
    for (std::size_t i = 0; i < b.values.size(); ++i) {
        bool const bad = next != b.failed.end() && *next == i;
        if (bad) ++next;
        PyList_SET_ITEM(out.ptr(), static_cast<Py_ssize_t>(i),
                        bad ? py::none().release().ptr() : make(b.values[i]).release().ptr());
    }
    return out;
}

bool fits_32(long long n) { return n >= INT32_MIN && n <= INT32_MAX; }

std::int32_t sample_of(long long n, char const* noun = "sample") {
    if (!fits_32(n)) fail(std::string(noun) + " " + std::to_string(n) + " does not fit 32 bits");
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

// The whole numbers of a batch (samples, frame counts): a range is walked
// without a list, an object with the buffer protocol is read in place,
// anything else iterated. An item that is no whole number of 32 bits fails:
// ValueError, or its index kept when keep_going.
batch<std::int32_t> numbers_of(py::handle items, char const* noun, bool keep_going) {
    batch<std::int32_t> out;
    auto refuse = [&](std::size_t i, std::string const& why) {
        if (!keep_going) fail(why);
        out.failed.push_back(i);
    };
    auto take = [&](std::size_t i, long long v) {
        if (fits_32(v))
            out.values[i] = static_cast<std::int32_t>(v);
        else
            refuse(i, std::string(noun) + " " + std::to_string(v) + " does not fit 32 bits");
    };
    if (py::isinstance(items, py::module_::import("builtins").attr("range"))) {
        // A range whose ends are 64-bit numbers is walked here, each item
        // the last plus the step (each lies between the ends, so no sum
        // overflows); any other range is iterated.
        long long ends[3]         = {};  // start, stop, step
        bool all_fit              = true;
        char const* const names[] = {"start", "stop", "step"};
        for (int k = 0; k < 3; ++k) {
            int overflow = 0;
            ends[k]      = PyLong_AsLongLongAndOverflow(items.attr(names[k]).ptr(), &overflow);
            if (overflow != 0 || PyErr_Occurred()) all_fit = false;
        }
        PyErr_Clear();
        if (all_fit) {
            auto const n = static_cast<std::size_t>(py::len(items));
            if (!keep_going && n > 0) {  // a range is monotonic: both ends fit, or it fails
                sample_of(ends[0], noun);
                sample_of(items.attr("__getitem__")(-1).cast<long long>(), noun);
            }
            out.values.resize(n);
            long long v = ends[0];
            for (std::size_t i = 0; i < n; ++i) {
                take(i, v);
                if (i + 1 < n) v += ends[2];
            }
            return out;
        }
    }
    if (PyObject_CheckBuffer(items.ptr()) && !py::isinstance<py::bytes>(items)) {
        py::buffer_info const info = py::reinterpret_borrow<py::buffer>(items).request();
        if (info.ndim != 1) fail(std::string("a buffer of ") + noun + "s has one dimension");
        auto read = [&](auto const* data) {
            out.values.resize(static_cast<std::size_t>(info.shape[0]));
            std::size_t const stride = static_cast<std::size_t>(info.strides[0]);
            auto const* bytes        = reinterpret_cast<char const*>(data);
            for (std::size_t i = 0; i < out.values.size(); ++i) {
                auto v = *reinterpret_cast<decltype(data)>(bytes + i * stride);
                if constexpr (std::is_floating_point_v<
                                  std::remove_cv_t<std::remove_pointer_t<decltype(data)>>>) {
                    if (v != std::floor(v))
                        refuse(i, std::string(noun) + " " + std::to_string(v) + " is not whole");
                    else if (!(v >= INT32_MIN && v <= INT32_MAX))
                        refuse(i, std::string(noun) + " " + std::to_string(v) +
                                      " does not fit 32 bits");
                    else
                        out.values[i] = static_cast<std::int32_t>(v);
                } else if constexpr (std::is_unsigned_v<
                                         std::remove_cv_t<std::remove_pointer_t<decltype(data)>>>) {
                    take(i, v > static_cast<std::uint64_t>(INT32_MAX) ? LLONG_MAX
                                                                      : static_cast<long long>(v));
                } else {
                    take(i, static_cast<long long>(v));
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
        fail(std::string("a buffer of ") + noun + "s holds whole numbers or doubles, not format '" +
             f + "'");
    }
    for (py::handle item : items) {
        std::size_t const i = out.values.size();
        out.values.push_back(0);
        int overflow      = 0;
        bool const whole  = py::isinstance<py::int_>(item) && !py::isinstance<py::bool_>(item);
        long long const v = whole ? PyLong_AsLongLongAndOverflow(item.ptr(), &overflow) : 0;
        if (!whole)
            refuse(i,
                   std::string(noun) + " " + std::to_string(i) + " is not an int: " + shown(item));
        else if (overflow != 0)
            refuse(i, std::string(noun) + " " + py::str(item).cast<std::string>() +
                          " does not fit 32 bits");
        else
            take(i, v);
    }
    return out;
}

// The texts of a batch, as views into the str objects' UTF-8 buffers; the
// items stay referenced, so the views stay valid while the GIL is
// released. An item that is no str is a failed item, its view empty.
struct text_batch {
    std::vector<py::object> items;
    batch<std::string_view> views;
};
text_batch texts_of(py::handle texts) {
    text_batch out;
    for (py::handle item : texts) {
        out.items.push_back(py::reinterpret_borrow<py::object>(item));
        out.views.values.emplace_back();
        if (!py::isinstance<py::str>(item)) {
            out.views.failed.push_back(out.views.values.size() - 1);
            continue;
        }
        Py_ssize_t n     = 0;
        char const* utf8 = PyUnicode_AsUTF8AndSize(item.ptr(), &n);
        if (utf8 == nullptr) throw py::error_already_set();
        out.views.values.back() = std::string_view(utf8, static_cast<std::size_t>(n));
    }
    return out;
}

// Reads each text of a batch with the GIL released: read answers whether
// the text gave a value, touching no Python object. The first failure
// raises ValueError naming the text's index and, by explain (with the GIL
// held), why; with keep_going each failure's index is kept instead.
template <class Read, class Explain>
batch<std::int32_t> read_batch(text_batch const& texts, bool keep_going, Read read,
                               Explain explain) {
    std::size_t const n = texts.views.values.size();
    batch<std::int32_t> out;
    out.values.resize(n);
    std::vector<std::size_t> failed;
    {
        py::gil_scoped_release const release;
        auto skip = texts.views.failed.begin();
        for (std::size_t i = 0; i < n; ++i) {
            bool const no_text = skip != texts.views.failed.end() && *skip == i;
            if (no_text) ++skip;
            if (no_text || !read(texts.views.values[i], out.values[i])) {
                failed.push_back(i);
                if (!keep_going) break;
            }
        }
    }
    if (!keep_going && !failed.empty()) {
        std::size_t const i   = failed[0];
        py::handle const item = texts.items[i];
        if (!py::isinstance<py::str>(item))
            fail("text " + std::to_string(i) + " is not a str: " + shown(item));
        fail("text " + std::to_string(i) + ": " + explain(texts.views.values[i]));
    }
    out.failed = std::move(failed);
    return out;
}

// Label texts are ASCII unless a prefix brought other bytes; those are
// read as UTF-8, invalid bytes replaced.
py::list label_texts(py::handle type, py::handle samples, std::optional<std::string> prefix,
                     bool strict, std::string const& errors) {
    bool const keep_going                 = keeps_going(errors);
    front::labeller labels                = labeller_of(type, prefix, strict);
    batch<std::int32_t> const items       = numbers_of(samples, "sample", keep_going);
    std::vector<std::int32_t> const& list = items.values;
    py::list out(list.size());
    // Printed a block at a time with the GIL released, each block's texts
    // then made str objects while they are still in cache.
    constexpr std::size_t block = 4096;
    constexpr std::size_t width = front::labeller::text_capacity;
    std::vector<char> texts(block * width);
    std::uint8_t lengths[block];
    bool ascii[block];
    auto failed = items.failed.begin();
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
            PyObject* s = nullptr;
            if (failed != items.failed.end() && *failed == first + i) {
                ++failed;
                s = py::none().release().ptr();
            } else {
                char const* text = texts.data() + i * width;
                s                = ascii[i] ? PyUnicode_New(lengths[i], 127)
                                            : PyUnicode_DecodeUTF8(text, lengths[i], "replace");
                if (s == nullptr) throw py::error_already_set();
                if (ascii[i]) std::memcpy(PyUnicode_1BYTE_DATA(s), text, lengths[i]);
            }
            PyList_SET_ITEM(out.ptr(), static_cast<Py_ssize_t>(first + i), s);
        }
    }
    return out;
}

py::list label_samples(py::handle type, py::handle texts, std::optional<std::string> prefix,
                       bool strict, std::string const& errors) {
    bool const keep_going  = keeps_going(errors);
    front::labeller labels = labeller_of(type, prefix, strict);
    text_batch const items = texts_of(texts);
    auto const read        = read_batch(
               items, keep_going,
               [&labels](std::string_view text, std::int32_t& s) {
            auto const r = labels.sample(text);
            s            = r.value;
            return r.ok();
        },
               [&labels](std::string_view text) {
            return not_read(labels, text, labels.sample(text).why);
        });
    return answers(read, [](std::int32_t s) { return py::int_(s); });
}

// A timecode rate: a name as a str ("29.97df"), or a number (25, 29.97,
// Fraction(24000, 1001)).
smpte::rate tc_rate(py::handle rate) {
    auto const r = smpte::parse_rate(rate_text(rate));
    if (!r.ok()) fail(shown(rate) + " is not a frame rate (" + smpte::rate_names() + ")");
    return r.value;
}

std::string tc_text(long long frames, py::handle rate, bool wrap) {
    std::int32_t const n = sample_of(frames, "frame count");
    return smpte::to_string(smpte::timecode(n, tc_rate(rate)), wrap);
}

py::list tc_texts(py::handle frames, py::handle rate, bool wrap, std::string const& errors) {
    smpte::rate const r = tc_rate(rate);
    auto const items    = numbers_of(frames, "frame count", keeps_going(errors));
    return answers(items, [r, wrap](std::int32_t n) {
        return py::str(smpte::to_string(smpte::timecode(n, r), wrap));
    });
}

// Reads timecode text: strictly (blanks around it ignored), or as the
// label converter of the rate reads it.
struct timecode_reader {
    smpte::rate rate;
    std::optional<front::labeller> lax;

    timecode_reader(py::handle rate_value, bool strict) : rate(tc_rate(rate_value)) {
        if (strict) return;
        label_t const type = smpte::converter_type(rate);
        if (type == LABEL_NONE)
            fail(shown(rate_value) + " has no label converter to read as; use strict=True");
        lax = labeller_for(type, std::nullopt, false);
    }
    // The frames of a text; false for a text that is no timecode.
    bool read(std::string_view text, std::int32_t& frames) {
        if (lax) {
            auto const s = lax->sample(text);
            frames       = s.value;
            return s.ok();
        }
        auto const t = front::read_timecode(text, rate);
        frames       = t.value.frames();
        return t.ok();
    }
    // Why a text is no timecode, naming it.
    std::string explain(std::string_view text) {
        if (lax) return not_read(*lax, text, lax->sample(text).why);
        return front::quoted(text) + ": " + smpte::error_text(front::read_timecode(text, rate).why);
    }
};

std::int32_t tc_frames(std::string const& text, py::handle rate, bool strict) {
    timecode_reader reader(rate, strict);
    std::int32_t frames = 0;
    if (!reader.read(text, frames)) fail(reader.explain(text));
    return frames;
}

py::list tc_frames_batch(py::handle texts, py::handle rate, bool strict,
                         std::string const& errors) {
    bool const keep_going = keeps_going(errors);
    timecode_reader reader(rate, strict);
    text_batch const items = texts_of(texts);
    auto const read        = read_batch(
               items, keep_going,
               [&reader](std::string_view text, std::int32_t& f) { return reader.read(text, f); },
               [&reader](std::string_view text) { return reader.explain(text); });
    return answers(read, [](std::int32_t f) { return py::int_(f); });
}

// A timecode a caller gives, read strictly at r.
smpte::timecode timecode_of(std::string const& text, smpte::rate r) {
    auto const t = front::read_timecode(text, r);
    if (!t) fail(front::quoted(text) + ": " + smpte::error_text(t.why));
    return t.value;
}

std::string tc_add(std::string const& tc, py::handle frames_or_tc, py::handle rate, bool wrap) {
    smpte::rate const r     = tc_rate(rate);
    smpte::timecode const t = timecode_of(tc, r);
    std::int64_t frames     = 0;
    if (py::isinstance<py::str>(frames_or_tc)) {
        frames = timecode_of(frames_or_tc.cast<std::string>(), r).frames();
    } else if (py::isinstance<py::int_>(frames_or_tc) && !py::isinstance<py::bool_>(frames_or_tc)) {
        // Any whole number moves a clock: beyond 64 bits only its remainder
        // in the day counts.
        py::object n = py::reinterpret_borrow<py::object>(frames_or_tc);
        if (wrap) n = n.attr("__mod__")(py::int_(r.frames_per_day()));
        int overflow = 0;
        frames       = PyLong_AsLongLongAndOverflow(n.ptr(), &overflow);
        if (overflow != 0)
            fail(std::string("frames: ") + smpte::error_text(smpte::error::out_of_range));
    } else {
        fail("frames_or_tc is a frame count (int) or a timecode (str), not " + shown(frames_or_tc));
    }
    auto const sum = front::add_on_clock(t, frames, wrap);
    if (!sum) fail(smpte::error_text(sum.why));
    return smpte::to_string(sum.value, wrap);
}

std::int32_t tc_duration(std::string const& in, std::string const& out, py::handle rate,
                         bool signed_count) {
    smpte::rate const r = tc_rate(rate);
    auto const d = front::clock_duration(timecode_of(in, r), timecode_of(out, r), signed_count);
    if (!d) fail(smpte::error_text(d.why));
    return d.value;
}

std::string tc_convert(std::string const& tc, py::handle from_rate, py::handle to_rate,
                       std::string const& method, std::optional<std::string> const& sync) {
    smpte::rate const from = tc_rate(from_rate), to = tc_rate(to_rate);
    auto const found = front::find_method(method);
    if (!found) fail("method: '" + method + "' is not realtime, frame or pulldown");
    smpte::method const m = *found;
    smpte::sync_point at;
    if (sync) {
        if (m != smpte::method::pulldown) fail("sync goes with method=\"pulldown\"");
        std::string why;
        auto const read = front::read_pulldown_sync(*sync, from, to, &why);
        if (!read) fail("sync " + front::quoted(*sync) + ": " + front::describe(read.why, why));
        at = read.value;
    }
    if (m == smpte::method::pulldown && !smpte::convert(smpte::timecode(0, from), to, m))
        fail(std::string("no 2:3 pulldown from ") + smpte::rate_name(from) + " to " +
             smpte::rate_name(to) + " (23.976 and 29.97, or 24 and 30)");
    auto const t = smpte::convert(timecode_of(tc, from), to, m, at);
    if (!t) fail(smpte::error_text(t.why));
    return smpte::to_string(t.value);
}

py::tuple pull(std::string const& tc, py::handle stock, py::handle rate, std::string const& sync,
               std::optional<std::string> const& footage, std::optional<std::string> const& ink) {
    label_t const type  = label_type_of(stock);
    smpte::rate const r = tc_rate(rate);
    std::string why;
    auto made = front::keycode_pull::make(type, r, sync, &why);
    if (made.why == front::reason::no_memory) throw std::bad_alloc();
    if (!made) fail(front::describe(made.why, why, type));
    front::keycode_pull& p = made.value;
    // A column's count at the sync point; a text that is none is named in
    // the column's own type.
    auto const count = [&](char const* what, std::optional<std::string> const& text, auto set,
                           label_t count_type) {
        if (!text) return;
        auto const done = (p.*set)(*text, &why);
        if (!done)
            fail(what + front::quoted(*text) + ": " +
                 front::describe(done.why, why,
                                 done.why == front::reason::sync_count ? count_type : type));
    };
    count("footage ", footage, &front::keycode_pull::set_footage, p.footage_type());
    count("ink ", ink, &front::keycode_pull::set_ink, p.ink_type());
    auto const k = p(timecode_of(tc, r));
    if (!k) fail(front::quoted(tc) + ": " + front::describe(k.why, p.refusal(), type));
    if (!footage && !ink) return py::make_tuple(k.value.text, k.value.split);
    auto const or_none = [](bool given, char const* text) -> py::object {
        return given ? py::object(py::str(text)) : py::object(py::none());
    };
    return py::make_tuple(k.value.text, k.value.split,
                          or_none(footage.has_value(), k.value.footage),
                          or_none(ink.has_value(), k.value.ink));
}

// A host frame rate: a name as the SMPTE layer reads it or "#N" for the
// host's number N as a str, or a frame rate as a number (25, 29.97,
// Fraction(24000, 1001)). *drop tells a drop-frame name.
Tov::FrameRate host_rate_of(py::handle value, char const* what, bool* drop = nullptr) {
    auto const r = front::find_host_rate(rate_text(value));
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
    std::string why;
    auto const r = front::translate(position, from, to, params, o.round_to_frame, &why);
    if (!r)
        fail("no translation of " + shown(py::float_(position)) + " from " + medium_name(from) +
             " to " + medium_name(to) + (why.empty() ? "" : ": " + why));
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

// The host's messages, to the "marlix" logger at DEBUG: a script's output
// stays its own, and logging shows them when asked. Any thread may report,
// with or without the GIL.
void to_logger(char const* text, void*) {
    if (!Py_IsInitialized()) return;
    PyGILState_STATE const state = PyGILState_Ensure();
    try {
        std::string_view line(text);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
        py::module_::import("logging").attr("getLogger")("marlix").attr("debug")(
            "%s", py::str(line.data(), line.size()));
    } catch (py::error_already_set& e) {
        e.discard_as_unraisable("marlix diagnostics");
    } catch (...) {  // a message lost is no reason to fail the library's caller
    }
    PyGILState_Release(state);
}

// Edit decision lists: a document read at a rate, its typed edits and
// findings, and its canonical text.

struct py_edit {
    std::int32_t event = 0;
    std::uint32_t line = 0;
    std::string reel, channel_field, transition;
    std::vector<std::string> channels;
    std::int32_t transition_frames = 0;
    std::string source_in, source_out, record_in, record_out;
    std::int64_t source_frames = 0, record_frames = 0;
    std::optional<double> speed;
    std::optional<std::string> clip, to_clip, key_clip, source_file;
    std::vector<std::string> comments;
};

struct py_finding {
    std::uint32_t line = 0;
    std::optional<std::uint32_t> column;
    std::optional<std::int32_t> event;
    std::string kind, severity, message;
};

std::optional<std::string> text_or_none(edl::document const& doc, edl::span s) {
    if (s.size == 0) return std::nullopt;
    return std::string(doc.text(s));
}

py_edit edit_of(edl::document const& doc, edl::edit const& e) {
    py_edit p;
    p.event                    = e.event;
    p.line                     = e.line;
    p.reel                     = std::string(doc.text(e.reel));
    p.channel_field            = edl::channel_text(e.channels);
    p.transition               = edl::transition_text(e.how);
    edl::channel_set const all = e.all_channels();
    if (all.video) p.channels.emplace_back("V");
    for (int n = 1; n <= edl::channel_set::max_audio; ++n)
        if (all.audio(n)) p.channels.push_back("A" + std::to_string(n));
    p.transition_frames = e.how.frames;
    p.source_in         = smpte::to_string(e.source_in);
    p.source_out        = smpte::to_string(e.source_out);
    p.record_in         = smpte::to_string(e.record_in);
    p.record_out        = smpte::to_string(e.record_out);
    p.source_frames     = std::int64_t{e.source_out.frames()} - e.source_in.frames();
    p.record_frames     = std::int64_t{e.record_out.frames()} - e.record_in.frames();
    if (e.has_motion) p.speed = e.speed.speed_tenths / 10.0;
    p.clip        = text_or_none(doc, e.clip);
    p.to_clip     = text_or_none(doc, e.to_clip);
    p.key_clip    = text_or_none(doc, e.key_clip);
    p.source_file = text_or_none(doc, e.source_file);
    for (std::size_t k = e.first_line;
         k < std::size_t{e.first_line} + e.line_count && k < doc.lines.size(); ++k)
        if (doc.lines[k].kind == edl::line_kind::comment ||
            doc.lines[k].kind == edl::line_kind::other)
            p.comments.emplace_back(doc.text(doc.lines[k].text));
    return p;
}

py_finding finding_of(edl::finding const& f) {
    py_finding p;
    p.line = f.line;
    if (f.column > 0) p.column = f.column;
    if (f.event >= 0) p.event = f.event;
    p.kind     = edl::finding_name(f.kind);
    p.severity = f.level() == edl::severity::error ? "error" : "warning";
    p.message  = edl::describe(f);
    return p;
}

edl::document edl_read(py::handle text, py::handle rate, bool strict) {
    smpte::rate const r = tc_rate(rate);
    std::string bytes;
    if (py::isinstance<py::bytes>(text))
        bytes = text.cast<std::string>();
    else if (py::isinstance<py::str>(text))
        bytes = text.cast<std::string>();
    else
        fail("an EDL is str or bytes, not " + shown(text));
    py::gil_scoped_release unlocked;
    return edl::read(bytes, r, {strict ? edl::mode::strict : edl::mode::tolerant});
}

edl::document edl_read_file(std::string const& path, py::handle rate, bool strict) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
        throw py::error_already_set();
    }
    std::string bytes;
    char block[1 << 16];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, n);
    std::fclose(f);
    return edl_read(py::bytes(bytes), rate, strict);
}

struct py_rounding {
    std::int32_t event  = 0;
    std::uint32_t line  = 0;
    std::int32_t before = 0, after = 0;
    double exact = 0;
    std::string message;
};

struct py_conversion {
    edl::document document;
    std::vector<py_rounding> changed;
};

// A list at another rate: ValueError naming the line and event of a refusal.
py_conversion edl_convert(edl::document const& doc, py::handle to_rate,
                          std::optional<std::string> const& method,
                          std::optional<std::string> const& sync,
                          std::optional<std::map<std::string, std::string>> const& reel_syncs,
                          bool keep_sources) {
    edl::convert_options o;
    o.to = tc_rate(to_rate);
    if (method) {
        o.method = front::find_method(*method);
        if (!o.method) fail("method: '" + *method + "' is not frame, realtime or pulldown");
    }
    bool const pulldown = o.method == smpte::method::pulldown;
    if ((sync || reel_syncs || keep_sources) && !pulldown)
        fail("sync, reel_syncs and keep_sources go with method=\"pulldown\"");
    auto const read_sync = [&](std::string const& text, char const* what) {
        std::string why;
        auto const read = front::read_pulldown_sync(text, doc.rate, o.to, &why);
        if (!read)
            fail(std::string(what) + " " + front::quoted(text) + ": " +
                 front::describe(read.why, why));
        return read.value;
    };
    if (sync) o.sync = read_sync(*sync, "sync");
    if (reel_syncs)
        for (auto const& [reel, text] : *reel_syncs)
            o.reel_syncs.push_back({reel, read_sync(text, ("reel " + reel + " sync").c_str())});
    o.keep_sources = keep_sources;
    edl::conversion c;
    {
        py::gil_scoped_release unlocked;
        c = edl::convert(doc, o);
    }
    if (!c.ok()) {
        std::string where;
        if (c.line > 0) {
            char event[sizeof("event -2147483648: ")];
            std::snprintf(event, sizeof event, "event %03d: ", static_cast<int>(c.event));
            where = "line " + std::to_string(c.line) + ": " + event;
        }
        fail(where + edl::describe(c));
    }
    py_conversion out;
    for (edl::rounding const& r : c.changed)
        out.changed.push_back({r.event, r.line, r.before, r.after,
                               static_cast<double>(r.exact_num) / static_cast<double>(r.exact_den),
                               edl::describe(r)});
    out.document = std::move(c.doc);
    return out;
}

void add_edl(py::module_& m) {
    py::module_ e =
        m.def_submodule("edl", "CMX 3600 edit decision lists: read, checked and written.");
    py::class_<py_edit>(e, "Edit",
                        "One line of an event: a cut, or one side of a dissolve, wipe or key.")
        .def_readonly("event", &py_edit::event)
        .def_readonly("line", &py_edit::line)
        .def_readonly("reel", &py_edit::reel)
        .def_readonly("channels", &py_edit::channels)
        .def_readonly("channel_field", &py_edit::channel_field)
        .def_readonly("transition", &py_edit::transition)
        .def_readonly("transition_frames", &py_edit::transition_frames)
        .def_readonly("source_in", &py_edit::source_in)
        .def_readonly("source_out", &py_edit::source_out)
        .def_readonly("record_in", &py_edit::record_in)
        .def_readonly("record_out", &py_edit::record_out)
        .def_readonly("source_frames", &py_edit::source_frames)
        .def_readonly("record_frames", &py_edit::record_frames)
        .def_readonly("speed", &py_edit::speed)
        .def_readonly("clip", &py_edit::clip)
        .def_readonly("to_clip", &py_edit::to_clip)
        .def_readonly("key_clip", &py_edit::key_clip)
        .def_readonly("source_file", &py_edit::source_file)
        .def_readonly("comments", &py_edit::comments)
        .def("__repr__", [](py_edit const& p) {
            return "<Edit " + std::to_string(p.event) + " line " + std::to_string(p.line) + " " +
                   p.reel + ">";
        });
    py::class_<py_finding>(e, "Finding", "What the reading or checking of a list found.")
        .def_readonly("line", &py_finding::line)
        .def_readonly("column", &py_finding::column)
        .def_readonly("event", &py_finding::event)
        .def_readonly("kind", &py_finding::kind)
        .def_readonly("severity", &py_finding::severity)
        .def_readonly("message", &py_finding::message)
        .def("__repr__", [](py_finding const& p) {
            return "<Finding line " + std::to_string(p.line) + " " + p.severity + " " + p.kind +
                   ">";
        });
    py::class_<edl::document>(e, "Document",
                              "A list read at a rate: its edits, its findings and its text.")
        .def_property_readonly("title",
                               [](edl::document const& d) { return std::string(d.text(d.title)); })
        .def_property_readonly(
            "rate", [](edl::document const& d) { return std::string(smpte::rate_name(d.rate)); })
        .def_property_readonly("edits",
                               [](edl::document const& d) {
                                   std::vector<py_edit> out;
                                   out.reserve(d.edits.size());
                                   for (edl::edit const& x : d.edits) out.push_back(edit_of(d, x));
                                   return out;
                               })
        .def_property_readonly("findings",
                               [](edl::document const& d) {
                                   std::vector<py_finding> out;
                                   for (edl::finding const& f : d.findings)
                                       out.push_back(finding_of(f));
                                   return out;
                               })
        .def_property_readonly("ok", &edl::document::ok)
        .def_property_readonly("latin1", [](edl::document const& d) { return d.latin1; })
        .def("write", [](edl::document const& d) { return edl::write(d); });
    py::class_<py_rounding>(e, "Rounding",
                            "An edit whose record length a conversion's rounding changed.")
        .def_readonly("event", &py_rounding::event)
        .def_readonly("line", &py_rounding::line)
        .def_readonly("before", &py_rounding::before)
        .def_readonly("after", &py_rounding::after)
        .def_readonly("exact", &py_rounding::exact)
        .def_readonly("message", &py_rounding::message)
        .def("__repr__", [](py_rounding const& p) {
            return "<Rounding " + std::to_string(p.event) + " line " + std::to_string(p.line) +
                   ": " + p.message + ">";
        });
    py::class_<py_conversion>(e, "Conversion", "A converted list and its rounding report.")
        .def_readonly("document", &py_conversion::document)
        .def_readonly("changed", &py_conversion::changed);
    e.def("convert", &edl_convert, py::arg("document"), py::arg("to"), py::kw_only(),
          py::arg("method") = py::none(), py::arg("sync") = py::none(),
          py::arg("reel_syncs") = py::none(), py::arg("keep_sources") = false,
          "The list at rate to: method frame, realtime or pulldown (None between the "
          "drop-frame and non-drop modes of one rate); pulldown takes sync "
          "\"FILMTC=VIDEOTC\" for the record side and reel_syncs {reel: \"FILMTC=VIDEOTC\"}, "
          "or keep_sources=True. ValueError names a refusal's line and event.");
    py::arg_v const strict("strict", false);
    e.def("read", &edl_read, py::arg("text"), py::arg("rate"), py::kw_only(), strict,
          "Reads and checks a list (str, or bytes: UTF-8, else ISO-8859-1) at a rate; at 29.97 "
          "and 59.94 FCM: lines choose drop-frame. strict=True stops at the first error.");
    e.def("read_file", &edl_read_file, py::arg("path"), py::arg("rate"), py::kw_only(), strict,
          "read() of a file's bytes; OSError when it cannot be read.");
    e.def(
        "write", [](edl::document const& d) { return edl::write(d); }, py::arg("document"),
        "The canonical text of a document: CMX 3600 columns, LF line ends.");
    py::module_::import("sys").attr("modules")["marlix.edl"] = e;
}

}  // namespace

PYBIND11_MODULE(marlix, m) {
    m.doc() =
        "Edge-label arithmetic: label text and samples, SMPTE timecode, translation "
        "between media, pulldown cadences.";
    m.attr("__version__") = marlix::library_version();
    // The library's messages reach the diagnostics sink only: a script's
    // standard output stays its own.
    set_messages_to_standard_output(false);
    // An embedder's own sink stays; the default one (standard error) gives
    // way to logging.
    if (diagnostic_sink_is_default()) set_diagnostic_sink(&to_logger, nullptr);

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
    py::arg_v const errors("errors", "raise");
    m.def("label_texts", &label_texts, type, py::arg("samples"), py::kw_only(),
          py::arg("prefix") = py::none(), strict, errors,
          "label_text over a whole sequence of samples; errors=\"none\" answers None for an "
          "item that is no 32-bit whole number instead of raising.");
    m.def("label_samples", &label_samples, type, py::arg("texts"), py::kw_only(),
          py::arg("prefix") = py::none(), strict, errors,
          "label_sample over a whole sequence of texts; ValueError names the first that fails, "
          "or with errors=\"none\" each answers None.");
    py::arg const rate("rate");
    py::arg_v const wrap("wrap", true);
    m.def("tc_text", &tc_text, py::arg("frames"), rate, py::kw_only(), wrap,
          "SMPTE timecode HH:MM:SS:FF of a frame count at a rate (\"29.97df\", or a number: "
          "25, 29.97, Fraction(24000, 1001)); the label wraps at 24 hours unless wrap=False.");
    m.def("tc_texts", &tc_texts, py::arg("frames"), rate, py::kw_only(), wrap, errors,
          "tc_text over a whole sequence of frame counts.");
    m.def("tc_frames", &tc_frames, py::arg("text"), rate, strict,
          "The frame count of a timecode: strict (blanks around it ignored), or as the label "
          "converters read it.");
    m.def("tc_frames_batch", &tc_frames_batch, py::arg("texts"), rate, strict, py::kw_only(),
          errors, "tc_frames over a whole sequence of texts.");
    m.def("tc_add", &tc_add, py::arg("tc"), py::arg("frames_or_tc"), rate, py::kw_only(), wrap,
          "A timecode moved by a frame count (int, signed) or by the frames of a second "
          "timecode (str), on the clock of a day: 23:59:59;29 + 1 is 00:00:00;00 and the "
          "day wraps backwards too; wrap=False gives the signed answer.");
    m.def("tc_duration", &tc_duration, py::arg("in_"), py::arg("out"), rate, py::kw_only(),
          py::arg("signed") = false,
          "The frames from in_ to out, out exclusive; an out earlier than the in runs across "
          "midnight unless signed=True.");
    m.def("tc_convert", &tc_convert, py::arg("tc"), py::arg("from_rate"), py::arg("to_rate"),
          py::kw_only(), py::arg("method") = "realtime", py::arg("sync") = py::none(),
          "A timecode at another rate: realtime (the frame on show at the same instant), frame "
          "(frame for frame) or pulldown (2:3 between 23.976 and 29.97, or 24 and 30, from "
          "sync \"FILMTC=VIDEOTC\", both 00:00:00:00 by default).");
    m.def("pull", &pull, py::arg("tc"), py::arg("stock"), rate, py::arg("sync"), py::kw_only(),
          py::arg("footage") = py::none(), py::arg("ink") = py::none(),
          "(keycode, split) of the film frame in the first field of a video timecode, from "
          "sync \"KEYCODE=TC\": the keycode as the stock's converter prints it, and whether "
          "the second field shows the next film frame. A film frame outside the sync "
          "point's roll is refused. Given footage (\"12+00\" on the sync point's frame) or "
          "ink (\"0123 0001+00\"), (keycode, split, footage, ink), None for the one not given.");
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
    add_edl(m);
    add_film(m);
}
