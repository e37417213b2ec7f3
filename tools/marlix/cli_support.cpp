#include "cli_support.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>

namespace marlix_cli {

int usage_error(std::string const& message) {
    std::fprintf(stderr, "marlix: %s\n(see 'marlix --help')\n", message.c_str());
    return exit_usage;
}

std::optional<long long> parse_integer(std::string const& text, long long low, long long high) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    char* end         = nullptr;
    errno             = 0;
    long long const v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
    if (text[0] == ' ' || text[0] == '\t') return std::nullopt;
    if (v < low || v > high) return std::nullopt;
    return v;
}

namespace {
struct rate_name {
    char const* fps;
    Tov::FrameRate rate;
};
constexpr rate_name rate_names[] = {
    {"23.976", Tov::FrameRate_23_976}, {"23.98", Tov::FrameRate_23_976}, {"24", Tov::FrameRate_24},
    {"25", Tov::FrameRate_25},         {"29.97", Tov::FrameRate_29_97},  {"30", Tov::FrameRate_30},
    {"47.952", Tov::FrameRate_47_952}, {"47.95", Tov::FrameRate_47_952}, {"48", Tov::FrameRate_48},
    {"50", Tov::FrameRate_50},         {"59.94", Tov::FrameRate_59_94},  {"60", Tov::FrameRate_60},
};
}  // namespace

std::optional<Tov::FrameRate> parse_rate(std::string const& text) {
    for (auto const& r : rate_names)
        if (text == r.fps) return r.rate;
    if (auto n = parse_integer(text, 0, 34)) return static_cast<Tov::FrameRate>(*n);
    return std::nullopt;
}

std::optional<marlix::label_t> parse_label_type(std::string const& text) {
    if (auto n = parse_integer(text, 0, marlix::label_type_count - 1))
        return static_cast<marlix::label_t>(*n);
    for (int t = 0; t < marlix::label_type_count; ++t)
        if (text == marlix::label_type_class_name(static_cast<marlix::label_t>(t)))
            return static_cast<marlix::label_t>(t);
    // An EDL name is judged on its whole text here: a name followed by more
    // text is not a type name on the command line.
    if (text.empty() || text.find_first_of(" \t\n\v\f\r") != text.npos) return std::nullopt;
    marlix::label_t const t = marlix::edlstr_to_label_type(text.c_str());
    if (t == marlix::LABEL_NONE || text.size() > 11) return std::nullopt;
    return t;
}

std::unique_ptr<marlix::label_cvt> make_converter(marlix::label_t type, int flags,
                                                  std::string& why) {
    using namespace marlix;
    // The timecode classes take the fields to print; every other type comes
    // from the library's factory.
    std::unique_ptr<label_cvt> c;
    if (flags != TC_ALL_FIELDS) {
        switch (type) {
            case LABEL_PAL: c.reset(new pal_label(flags)); break;
            case LABEL_NTSC: c.reset(new ntsc_label(flags)); break;
            case LABEL_NTSC_DROP: c.reset(new ntsc_drop_label(flags)); break;
            case LABEL_TC_24: c.reset(new tc_24_label(flags)); break;
            case LABEL_TC_48: c.reset(new tc_48_label(flags)); break;
            case LABEL_TC_50: c.reset(new tc_50_label(flags)); break;
            case LABEL_TC_60: c.reset(new tc_60_label(flags)); break;
            default:
                why = std::string("--flags applies to timecode types, not ") +
                      label_type_class_name(type);
                return nullptr;
        }
    } else {
        c = make_label_cvt(type);
    }
    if (!c) {
        why = "no memory for a converter";
        return nullptr;
    }
    if (c->type() == LABEL_DUMMY && type != LABEL_DUMMY) {
        why = std::string("label type ") + std::to_string(static_cast<int>(type)) + " (" +
              label_type_class_name(type) + ") has no converter of its own";
        return nullptr;
    }
    return c;
}

int for_each_item(std::vector<std::string> const& operands,
                  std::function<item_result(std::string const&)> const& fn) {
    int status = exit_ok;
    auto run   = [&](std::string const& item) {
        item_result const r = fn(item);
        if (r.ok) {
            std::printf("%s\n", r.text.c_str());
        } else {
            std::printf("invalid\n");
            std::fprintf(stderr, "marlix: '%s': %s\n", item.c_str(), r.text.c_str());
            status = exit_item_failed;
        }
    };
    if (!operands.empty()) {
        for (auto const& item : operands) run(item);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            run(line);
        }
    }
    std::fflush(stdout);
    return status;
}

bool parsed_args::has(std::string const& name) const {
    for (auto const& o : options)
        if (o.first == name) return true;
    return false;
}

std::optional<std::string> parsed_args::value(std::string const& name) const {
    std::optional<std::string> v;
    for (auto const& o : options)
        if (o.first == name) v = o.second;  // the last one given wins
    return v;
}

namespace {
bool looks_numeric(std::string const& a) {
    if (a.size() < 2 || a[0] != '-') return false;
    return (a[1] >= '0' && a[1] <= '9') || a[1] == '.';
}
bool contains(std::vector<std::string> const& v, std::string const& s) {
    for (auto const& x : v)
        if (x == s) return true;
    return false;
}
}  // namespace

parsed_args parse_args(std::vector<std::string> const& args,
                       std::vector<std::string> const& with_value,
                       std::vector<std::string> const& flags) {
    parsed_args out;
    bool options_done = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string const& a = args[i];
        if (options_done || a.size() < 2 || a[0] != '-' || looks_numeric(a)) {
            out.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            options_done = true;
            continue;
        }
        std::string name  = a, value;
        bool inline_value = false;
        if (std::size_t const eq = a.find('='); a.rfind("--", 0) == 0 && eq != a.npos) {
            name         = a.substr(0, eq);
            value        = a.substr(eq + 1);
            inline_value = true;
        }
        if (contains(with_value, name)) {
            if (!inline_value) {
                if (i + 1 >= args.size()) {
                    out.error = "option " + name + " needs a value";
                    return out;
                }
                value = args[++i];
            }
            out.options.emplace_back(name, value);
        } else if (contains(flags, name) && !inline_value) {
            out.options.emplace_back(name, "");
        } else {
            out.error = "unknown option " + a;
            return out;
        }
    }
    return out;
}

std::string take_global_options(std::vector<std::string>& args) {
    Tov::ProjectSettings s = Tov::CurrentProject::settings();
    std::vector<std::string> rest;
    auto value_of = [&](std::size_t& i, std::string const& name,
                        std::string& value) -> std::string {
        std::string const& a = args[i];
        if (a.size() > name.size() && a[name.size()] == '=') {
            value = a.substr(name.size() + 1);
            return "";
        }
        if (i + 1 >= args.size()) return "option " + name + " needs a value";
        value = args[++i];
        return "";
    };
    auto rate_option = [&](std::size_t& i, std::string const& name,
                           Tov::FrameRate& field) -> std::string {
        std::string v;
        if (auto e = value_of(i, name, v); !e.empty()) return e;
        auto r = parse_rate(v);
        if (!r) return "option " + name + ": '" + v + "' is not a frame rate";
        field = *r;
        return "";
    };
    auto is_option = [](std::string const& a, char const* name) {
        std::size_t const n = std::strlen(name);
        return a.compare(0, n, name) == 0 && (a.size() == n || a[n] == '=');
    };
    bool options_done = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string const& a = args[i];
        std::string error;
        if (options_done) {
            rest.push_back(a);
        } else if (a == "--") {
            options_done = true;
            rest.push_back(a);
        } else if (is_option(a, "--project-rate")) {
            error = rate_option(i, "--project-rate", s.frame_rate);
        } else if (is_option(a, "--camera-speed")) {
            error = rate_option(i, "--camera-speed", s.in_camera_film_speed);
        } else if (is_option(a, "--output-rate")) {
            error = rate_option(i, "--output-rate", s.output_rate);
        } else if (a == "--drop-frame") {
            s.drop_frame_timecode = true;
        } else if (a == "--output-pulled-down") {
            s.output_pulled_down = true;
        } else if (a == "--audio-sync-pulled-down") {
            s.audio_sync_pulled_down = true;
        } else if (is_option(a, "--output-scan")) {
            std::string v;
            error = value_of(i, "--output-scan", v);
            if (error.empty()) {
                if (v == "p")
                    s.output_scan = Tov::Image::ScanMode_Progressive;
                else if (v == "i")
                    s.output_scan = Tov::Image::ScanMode_InterlacedUpperFirst;
                else
                    error = "option --output-scan takes p or i, not '" + v + "'";
            }
        } else if (is_option(a, "--config")) {
            std::string v;
            error = value_of(i, "--config", v);
            if (error.empty()) {
                int const bad = marlix::configb::host().load(v.c_str());
                if (bad < 0)
                    error = "cannot read configuration file '" + v + "'";
                else if (bad > 0)
                    std::fprintf(stderr, "marlix: %s: %d line(s) are not NAME=VALUE, skipped\n",
                                 v.c_str(), bad);
            }
        } else if (is_option(a, "--set")) {
            std::string v;
            error = value_of(i, "--set", v);
            if (error.empty()) {
                std::size_t const eq = v.find('=');
                if (eq == v.npos || eq == 0)
                    error = "option --set takes NAME=VALUE, not '" + v + "'";
                else if (!marlix::configb::host().set(v.substr(0, eq).c_str(),
                                                      v.substr(eq + 1).c_str(), nullptr))
                    error = "option --set: '" + v + "' cannot be stored";
            }
        } else {
            rest.push_back(a);
        }
        if (!error.empty()) return error;
    }
    Tov::CurrentProject::apply(s);
    args = std::move(rest);
    return "";
}

}  // namespace marlix_cli
