// Our own reader and writer of INI files, the same code on every platform.
//
// Reading follows the observable rules of GetPrivateProfileStringA: section and
// key names compare case-insensitively, blanks around names and values are
// trimmed, a value wholly enclosed in matching quotes loses them, only the
// first section of a name is searched, a key line without "=" has no value
// (the default is returned), and the answer is cut to fit the caller's buffer.
// Writing edits the one line concerned and keeps every other line, comment and
// blank as it was; the file is replaced in one step so that a crash never
// leaves half a settings file behind.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/host.h"

namespace tillwick::ini {

inline constexpr std::size_t kBufferChars = 1024;

// The value of Key in Section of an INI text; nullopt when the key is missing
// or has no "=". Quotes are not yet removed (see ProfileValue).
std::optional<std::string> FindRawValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// What GetPrivateProfileStringA copies into a buffer of bufferChars characters:
// the value (or the default), without enclosing quotes, cut to bufferChars - 1
// characters and before any NUL.
std::string ProfileValue(std::optional<std::string_view> rawValue, std::string_view defaultValue,
                         std::size_t bufferChars = kBufferChars);

// The INI text with Key in Section set to Value, or removed when Value is
// nullopt. Line breaks in Value become blanks (a value must never inject lines).
std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::optional<std::string_view> value);

// The files read through the store, each kept with the stamp it had when it
// was read: a file is read again only when its write time or size changed.
struct FileCache {
    struct Entry {
        host::fs::Stamp stamp;
        std::string text;
    };
    std::unordered_map<std::string, Entry> files;
};
// The whole file, from the cache while its stamp is the same; nullptr when it
// cannot be read. Valid until the next call.
const std::string* CachedFileText(const std::string& path);
// Empties the cache (a test starting afresh).
void ForgetCachedFiles();

// File versions of the above. Their key names are encoded so that any name
// reads back as written: "=", "[", "]", ";", "%" and control characters
// become %XX; names without them are used as they are.
std::string ReadString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view defaultValue, std::size_t bufferChars = kBufferChars);
// True when the key is present with a value (even an empty one).
bool HasValue(const std::string& path, std::string_view section, std::string_view key);
// Fire and forget, like the platform's profile writer: a failure leaves the file as it was.
void WriteString(const std::string& path, std::string_view section, std::string_view key,
                 std::optional<std::string_view> value);

}  // namespace tillwick::ini
