#include "marlix/host/host_config.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>

namespace marlix {

namespace {

// Parses optional blanks, an optional sign, decimal digits and optional
// blanks, and nothing else, into a 32-bit integer.
bool parse_int(std::string_view text, int& out) {
    std::size_t const first = text.find_first_not_of(" \t");
    if (first == text.npos) return false;
    text                = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    bool const negative = text.front() == '-';
    if (negative || text.front() == '+') text.remove_prefix(1);
    // from_chars would take a second sign
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    long long value{};
    char const* const end  = text.data() + text.size();
    auto const [stop, why] = std::from_chars(text.data(), end, value);
    if (why != std::errc() || stop != end) return false;
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

strp_field::~strp_field() = default;

void strp_field::set(char const* text, int) { text_ = text != nullptr ? text : ""; }

bool configb::storable_name(std::string_view name) {
    return !name.empty() && name.find_first_of(std::string_view("=\n\r\0", 4)) == name.npos;
}

bool configb::storable_value(std::string_view value) {
    return value.find_first_of("\n\r") == value.npos;
}

void configb::put(std::string_view name, std::string_view value) {
    entry e{std::string(value), false, 0};
    e.is_integer = parse_int(value, e.integer);
    auto it      = entries_.find(name);
    if (it == entries_.end())
        entries_.emplace(std::string(name), std::move(e));
    else
        it->second = std::move(e);
}

bool configb::set(char const* name, char const* value, char const*) {
    if (name == nullptr || value == nullptr) return false;
    if (!storable_name(name) || !storable_value(value)) return false;
    std::unique_lock<std::shared_mutex> const writing(lock_);
    put(name, value);
    return true;
}

bool configb::set(char const* name, strp_field& field) { return set(name, field.get(), nullptr); }

int configb::in(char const* name, char* buffer) const {
    if (name == nullptr || buffer == nullptr) return -1;
    std::shared_lock<std::shared_mutex> const reading(lock_);
    auto it = entries_.find(std::string_view(name));
    if (it == entries_.end()) return -1;
    std::size_t const n = std::min(it->second.value.size(), std::size_t{in_buffer_size - 1});
    std::memcpy(buffer, it->second.value.data(), n);
    buffer[n] = '\0';
    return 0;
}

char const* configb::find(char const* name) const {
    if (name == nullptr) return nullptr;
    std::shared_lock<std::shared_mutex> const reading(lock_);
    auto it = entries_.find(std::string_view(name));
    return it == entries_.end() ? nullptr : it->second.value.c_str();
}

bool configb::erase(char const* name) {
    if (name == nullptr) return false;
    std::unique_lock<std::shared_mutex> const writing(lock_);
    auto it = entries_.find(std::string_view(name));
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

void configb::clear() {
    std::unique_lock<std::shared_mutex> const writing(lock_);
    entries_.clear();
}

std::size_t configb::size() const {
    std::shared_lock<std::shared_mutex> const reading(lock_);
    return entries_.size();
}

configb::configb(configb const& other) {
    std::shared_lock<std::shared_mutex> const reading(other.lock_);
    entries_ = other.entries_;
}

configb& configb::operator=(configb const& other) {
    if (this == &other) return *this;
    std::map<std::string, entry, std::less<>> copy;
    {
        std::shared_lock<std::shared_mutex> const reading(other.lock_);
        copy = other.entries_;
    }
    std::unique_lock<std::shared_mutex> const writing(lock_);
    entries_ = std::move(copy);
    return *this;
}

int configb::integer(char const* name, int fallback) const {
    if (name == nullptr) return fallback;
    std::shared_lock<std::shared_mutex> const reading(lock_);
    auto it = entries_.find(std::string_view(name));
    if (it == entries_.end() || !it->second.is_integer) return fallback;
    return it->second.integer;
}

int configb::load(char const* path) {
    if (path == nullptr) return -1;
    std::ifstream in(path, std::ios::binary);
    if (!in) return -1;
    int malformed = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::size_t const eq = line.find('=');
        std::string_view const view(line);
        if (eq == line.npos || !storable_name(view.substr(0, eq))) {
            ++malformed;
            continue;
        }
        std::unique_lock<std::shared_mutex> const writing(lock_);
        put(view.substr(0, eq), view.substr(eq + 1));
    }
    return in.bad() ? -1 : malformed;
}

bool configb::save(char const* path) const {
    if (path == nullptr) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    std::shared_lock<std::shared_mutex> const reading(lock_);
    for (auto const& [name, e] : entries_) out << name << '=' << e.value << '\n';
    out.flush();
    return static_cast<bool>(out);
}

configb& configb::host() {
    static configb store;
    return store;
}

int config_int(char const* name, int fallback) { return configb::host().integer(name, fallback); }

ScopedConfig::ScopedConfig() : saved_(configb::host()) {}
ScopedConfig::~ScopedConfig() { configb::host() = saved_; }

}  // namespace marlix
