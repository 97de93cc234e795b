// The settings, language, host and scratch INI files, as our reader and writer
// see them, and the script-rule number conversion that every numeric setting
// goes through.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/convert.h"
#include "settings/ini_store.h"
#include "core/state.h"
#include "fuzz_target.h"
#include "host/sim/sim.h"

namespace {

// Section and key names as the INI text holds them: letters and digits, never empty.
std::string Name(FuzzedDataProvider& in) {
    std::string name = in.ConsumeRandomLengthString(12);
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name.empty() ? std::string("k") : name;
}

std::string_view Trimmed(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace ini = tillwick::ini;
    FuzzedDataProvider in(data, size);
    const std::string section = Name(in);
    const std::string key = Name(in);
    // A key the file reader and writer are given may hold any bytes (a host name from a page).
    const std::string anyKey = in.ConsumeRandomLengthString(24);
    std::string value = in.ConsumeRandomLengthString(64);
    std::replace(value.begin(), value.end(), '\0', ' ');
    const std::string text = in.ConsumeRemainingBytesAsString();

    auto raw = ini::FindRawValue(text, section, key);
    (void)ini::ProfileValue(raw, "default", text.size() % 5);  // the smallest buffers
    (void)ini::ProfileValue(raw, "default");
    if (raw) (void)tillwick::ParseNumber(*raw);
    (void)tillwick::ParseNumber(text);

    // What is written is what is read back.
    const std::string written = ini::WithValue(text, section, key, value);
    auto back = ini::FindRawValue(written, section, key);
    std::string expected(value);
    std::replace(expected.begin(), expected.end(), '\n', ' ');
    std::replace(expected.begin(), expected.end(), '\r', ' ');
    if (!back || *back != Trimmed(expected)) std::abort();
    // Deleting takes the first line of the key (a hand-edited file may hold more).
    (void)ini::WithValue(written, section, key, std::nullopt);

    // Through the file, a key of any bytes reads back what was written under it
    // (a key of nothing but blanks and control characters is never written).
    if (std::all_of(anyKey.begin(), anyKey.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; }))
        return;
    host::sim::Reset();
    tillwick::ResetState();
    const std::string path = "C:\\Plugin\\temp";
    host::sim::PutFile(path, text);
    ini::WriteString(path, section, anyKey, value);
    if (ini::ReadString(path, section, anyKey, "(missing)") != ini::ProfileValue(Trimmed(expected), "")) std::abort();
}
