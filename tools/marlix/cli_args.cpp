// Command-line arguments: a command's options and operands, and the global
// options that set the current project before the command.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli_support.h"

namespace marlix_cli {

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
            out.error = "unknown option " + marlix::front::quoted(a);
            if (is_global_option(name)) out.error += " (global options go before the command)";
            return out;
        }
    }
    return out;
}

namespace {
bool project_rate_given = false;  // --project-rate stood before the command
bool all_diagnostics    = false;  // --diagnostics: the tapped ones too

// The library's diagnostics go to standard error, but for those a front-door
// call reports in its own words (a refused translation) unless asked.
void tool_sink(char const* text, void*) {
    if (marlix::diagnostic_is_tapped() && !all_diagnostics) return;
    std::fputs(text, stderr);
}

constexpr char const* global_with_value[] = {"--project-rate", "--camera-speed", "--output-rate",
                                             "--output-scan",  "--config",       "--set"};
constexpr char const* global_flags[]      = {"--drop-frame", "--output-pulled-down",
                                             "--audio-sync-pulled-down", "--json", "--diagnostics"};
}  // namespace

bool is_global_option(std::string const& arg) {
    std::string const name = arg.substr(0, arg.find('='));
    for (char const* g : global_with_value)
        if (name == g) return true;
    for (char const* g : global_flags)
        if (name == g) return true;
    return false;
}

void install_diagnostics_sink() { marlix::set_diagnostic_sink(tool_sink, nullptr); }

std::string take_global_options(std::vector<std::string>& args) {
    Tov::ProjectSettings s = Tov::CurrentProject::settings();
    bool output_rate_given = false;
    project_rate_given     = false;
    std::size_t i          = 0;
    auto value_of          = [&](std::string const& name, std::string& value) -> std::string {
        std::string const& a = args[i];
        if (a.size() > name.size() && a[name.size()] == '=') {
            value = a.substr(name.size() + 1);
            return "";
        }
        if (i + 1 >= args.size()) return "option " + name + " needs a value";
        value = args[++i];
        return "";
    };
    auto rate_option = [&](std::string const& name, Tov::FrameRate& field,
                           bool* drop) -> std::string {
        std::string v;
        if (auto e = value_of(name, v); !e.empty()) return e;
        auto r = parse_rate(v, drop);
        if (!r)
            return "option " + name + ": " + marlix::front::quoted(v) + " is not a frame rate (" +
                   rate_names_text() + ", or #N for the host's rate number N: 1..10, 31..34)";
        field = *r;
        return "";
    };
    auto is_option = [](std::string const& a, char const* name) {
        std::size_t const n = std::strlen(name);
        return a.compare(0, n, name) == 0 && (a.size() == n || a[n] == '=');
    };
    // Global options stand before the command; the first argument that is
    // not one is the command (or --help, --version).
    for (; i < args.size(); ++i) {
        std::string const& a = args[i];
        std::string error;
        if (a == "--help" || a == "-h" || a == "--version" || a.empty() || a[0] != '-') {
            break;
        } else if (is_option(a, "--project-rate")) {
            bool drop = false;
            error     = rate_option("--project-rate", s.frame_rate, &drop);
            if (drop) s.drop_frame_timecode = true;
            project_rate_given = true;
        } else if (is_option(a, "--camera-speed")) {
            error = rate_option("--camera-speed", s.in_camera_film_speed, nullptr);
        } else if (is_option(a, "--output-rate")) {
            error             = rate_option("--output-rate", s.output_rate, nullptr);
            output_rate_given = true;
        } else if (a == "--json") {
            set_json_output(true);
        } else if (a == "--diagnostics") {
            all_diagnostics = true;
        } else if (a == "--drop-frame") {
            s.drop_frame_timecode = true;
        } else if (a == "--output-pulled-down") {
            s.output_pulled_down = true;
        } else if (a == "--audio-sync-pulled-down") {
            s.audio_sync_pulled_down = true;
        } else if (is_option(a, "--output-scan")) {
            std::string v;
            error = value_of("--output-scan", v);
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
            error = value_of("--config", v);
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
            error = value_of("--set", v);
            if (error.empty()) {
                std::size_t const eq = v.find('=');
                if (eq == v.npos || eq == 0)
                    error = "option --set takes NAME=VALUE, not '" + v + "'";
                else if (!marlix::configb::host().set(v.substr(0, eq).c_str(),
                                                      v.substr(eq + 1).c_str(), nullptr))
                    error = "option --set: '" + v + "' cannot be stored";
            }
        } else {
            error = "unknown global option " + a;
        }
        if (!error.empty()) return error;
    }
    // The project plays out at its own rate unless told otherwise.
    if (project_rate_given && !output_rate_given) s.output_rate = s.frame_rate;
    Tov::CurrentProject::apply(s);
    args.erase(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(i));
    return "";
}

std::optional<marlix::smpte::rate> project_timecode_rate(std::string& why) {
    if (!project_rate_given) return std::nullopt;
    Tov::ProjectSettings const s = Tov::CurrentProject::settings();
    std::string const names      = marlix::smpte::rate_names();
    auto timecode_rate           = [&](bool drop) -> std::optional<marlix::smpte::rate> {
        for (std::size_t at = 0; at < names.size();) {
            std::size_t const end = std::min(names.find(' ', at), names.size());
            auto const r          = marlix::smpte::parse_rate(names.substr(at, end - at)).value;
            if (marlix::smpte::host_frame_rate(r) == s.frame_rate && r.drop == drop) return r;
            at = end + 1;
        }
        return std::nullopt;
    };
    // --drop-frame at a rate that does not drop labels counts every frame.
    if (s.drop_frame_timecode)
        if (auto const r = timecode_rate(true)) return r;
    if (auto const r = timecode_rate(false)) return r;
    why = "the project rate #" + std::to_string(static_cast<int>(s.frame_rate)) +
          " is no timecode rate: give --rate R";
    return std::nullopt;
}

}  // namespace marlix_cli
