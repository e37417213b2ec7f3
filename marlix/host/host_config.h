#pragma once

/// @file
/// The configuration store: named text entries, kept in memory and loaded
/// from or saved to a plain text file of one "name=value" line per entry.
/// The library reads integer settings through config_int and stores label and
/// medium-roll entries through configb::set; configb::in copies a stored
/// value out for reading.
///
/// A name is non-empty and holds no '=', line break or NUL; a value holds no
/// line break (it may hold blanks, colons and '='). Loading a file and saving
/// it again gives the same bytes for every file save() wrote.

#include <map>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "marlix/export.h"

namespace marlix {

/// A string field handed to the store: the text to keep under a name.
class MARLIX_API strp_field {
public:
    strp_field() = default;
    ~strp_field();
    /// Keeps a copy of text (null keeps ""); the second argument is the
    /// host's field flags and is not used by this store.
    void set(char const* text, int flags);
    char const* get() const { return text_.c_str(); }

private:
    std::string text_;
};

/// Every operation of a store takes a lock of the store's own (shared for
/// reading), so the host store may be read and written from any thread; a
/// pointer from find() stays valid only until that entry changes.
class MARLIX_API configb {
public:
    /// Size of the caller's buffer for in(): at most 63 characters and a
    /// terminator are copied.
    static constexpr int in_buffer_size = 64;

    configb() = default;
    configb(configb const& other);
    configb& operator=(configb const& other);

    /// Stores value under name, replacing any earlier value; the third
    /// argument is unused and passed as null. Answers false, storing nothing,
    /// when the name or the value is not storable (see above) or is null.
    bool set(char const* name, char const* value, char const* extra);
    bool set(char const* name, strp_field& field);

    /// Copies the value stored under name into buffer (in_buffer_size
    /// characters; a longer value is cut to 63 characters) and answers 0.
    /// Answers -1, leaving buffer untouched, when nothing is stored under
    /// name or an argument is null.
    int in(char const* name, char* buffer) const;

    /// The whole value, or null when absent; valid until the entry changes.
    char const* find(char const* name) const;
    bool erase(char const* name);
    void clear();
    std::size_t size() const;

    /// Reads entries from a file and adds them to the store. Blank lines are
    /// skipped; a trailing carriage return is dropped. Answers the number of
    /// lines that are not "name=value" (they are skipped), or -1 when the file
    /// cannot be read. Saves in name order; answers false when the file
    /// cannot be written.
    int load(char const* path);
    bool save(char const* path) const;

    /// The integer form of the value under name: decimal with optional blanks
    /// and sign around it. Answers fallback when the entry is absent, is not
    /// such a number or lies outside the 32-bit range.
    int integer(char const* name, int fallback) const;

    /// The store the host's configuration lives in: config_int reads it.
    static configb& host();

private:
    struct entry {
        std::string value;
        bool is_integer;  ///< value parsed as a 32-bit integer
        int integer;
    };
    static bool storable_name(std::string_view name);
    static bool storable_value(std::string_view value);
    void put(std::string_view name, std::string_view value);

    std::map<std::string, entry, std::less<>> entries_;
    mutable std::shared_mutex lock_;
};

/// The integer setting under name in the host store, or fallback when absent.
MARLIX_API int config_int(char const* name, int fallback);

/// Saves the host store at construction and restores it at destruction.
class MARLIX_API ScopedConfig {
public:
    ScopedConfig();
    ~ScopedConfig();
    ScopedConfig(ScopedConfig const&)            = delete;
    ScopedConfig& operator=(ScopedConfig const&) = delete;

private:
    configb saved_;
};

}  // namespace marlix
