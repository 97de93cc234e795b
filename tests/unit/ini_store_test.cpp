#include "settings/ini_store.h"
#include "core/state.h"
#include "host/sim/sim.h"

#include <gtest/gtest.h>

using namespace tillwick::ini;

namespace {

std::string Read(std::string_view text, std::string_view section, std::string_view key,
                 std::string_view def = "<none>", std::size_t buffer = tillwick::ini::kBufferChars) {
    auto raw = FindRawValue(text, section, key);
    return ProfileValue(raw ? std::optional<std::string_view>(*raw) : std::nullopt, def, buffer);
}

TEST(IniRead, ValuesAsTheProfileFunctionsGiveThem) {
    const struct {
        const char *text, *section, *key;
        std::string expected;
        const char* def = "<none>";
        std::size_t buffer = tillwick::ini::kBufferChars;
    } cases[] = {
        // Names are case-insensitive and trimmed.
        {"  [General]  \r\n  HideTitle  =  1  \r\n", "general", "HIDETITLE", "1"},
        {"  [General]  \r\n  HideTitle  =  1  \r\n", "Other", "HideTitle", "<none>"},
        // Either line end, and no final break.
        {"[A]\nk=1\n[B]\nk=2", "B", "k", "2"},
        {"[A]\r\nk=1\n[B]\r\nk=2", "A", "k", "1"},
        {"[A]\r\nk=last", "A", "k", "last"},
        // No "=": the default; present but empty: empty; later "=" belong to the value.
        {"[A]\r\nbare\r\nempty=\r\n", "A", "bare", "<none>"},
        {"[A]\r\nbare\r\nempty=\r\n", "A", "empty", ""},
        {"[A]\r\nurl=http://h/?a=1&b=2\r\n", "A", "url", "http://h/?a=1&b=2"},
        // The first section and the first key win.
        {"[A]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\nonly=4\r\n", "A", "k", "1"},
        {"[A]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\nonly=4\r\n", "A", "only", "<none>"},
        // Quotes around the whole value go.
        {"[A]\r\nq=\"x y\"\r\n", "A", "q", "x y"},
        {"[A]\r\nq='x'\r\n", "A", "q", "x"},
        {"[A]\r\nq=\"x\r\n", "A", "q", "\"x"},
        {"[A]\r\nq=\"\r\n", "A", "q", "\""},
        // Cut to the buffer.
        {"[A]\r\nv=abcdef\r\n", "A", "v", "abc", "", 4},
        {"[A]\r\nv=abcdef\r\n", "A", "v", "", "", 0},
        // The default loses its trailing blanks, but its first character always stays.
        {"", "A", "k", "d", "d  "},
        {"", "A", "k", "  d", "  d"},
        {"", "A", "k", " ", "   "},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.text, c.section, c.key, c.def, c.buffer), c.expected) << c.text << " " << c.key;
    EXPECT_EQ(Read("[A]\r\nv=" + std::string(2000, 'x') + "\r\n", "A", "v").size(), 1023u);
}

TEST(IniWrite, ReplacesInPlaceAddsAtTheEndOfTheSectionOrFileAndDeletesOnlyTheKey) {
    const std::string twoSections = "[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3\r\n";
    const struct {
        std::string text;
        const char *section, *key;
        std::optional<std::string_view> value;
        std::string expected;
    } cases[] = {
        // Replaced in place; everything else kept.
        {"; mine\r\n[General]\r\nA=1\r\n  B = 2 \r\n\r\n[Other]\r\nB=9\r\n", "general", "b", "3",
         "; mine\r\n[General]\r\nA=1\r\nB=3\r\n\r\n[Other]\r\nB=9\r\n"},
        // A new key goes to the end of its section, before blank lines.
        {"[General]\r\nA=1\r\n\r\n[Other]\r\nB=9\r\n", "General", "C", "x",
         "[General]\r\nA=1\r\nC=x\r\n\r\n[Other]\r\nB=9\r\n"},
        {"[General]\nA=1", "General", "C", "x", "[General]\nA=1\nC=x\n"},
        // A new section goes to the end.
        {"", "General", "K", "v", "[General]\r\nK=v\r\n"},
        {"[A]\r\nx=1", "B", "K", "", "[A]\r\nx=1\r\n[B]\r\nK=\r\n"},
        // No value deletes only that key.
        {twoSections, "A", "K", std::nullopt, "[A]\r\nj=2\r\n[B]\r\nk=3\r\n"},
        {twoSections, "A", "missing", std::nullopt, twoSections},
    };
    for (const auto& c : cases) EXPECT_EQ(WithValue(c.text, c.section, c.key, c.value), c.expected) << c.text;
}

TEST(IniWrite, LineBreaksInValuesBecomeBlanks) {
    std::string text = WithValue("", "General", "T", "a\r\n[General]\nHideTitle=1");
    EXPECT_EQ(Read(text, "General", "HideTitle"), "<none>");
    EXPECT_EQ(Read(text, "General", "T"), "a  [General] HideTitle=1");
}

}  // namespace

// A page's host name becomes a key: whatever it holds, it reads back, plants
// no section or comment, and a second write of it changes nothing.
TEST(IniFileKeys, EveryKeyReadsBackAndPlainKeysStayAsTheyAre) {
    host::sim::Reset();
    tillwick::ResetState();
    const std::string path = "C:\\keys.ini";
    const char* keys[] = {"[::1]", "a=b", ";c", "x]", "cr\rlf\nx", "50%5B", "50["};
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < std::size(keys); ++i)
            tillwick::ini::WriteString(path, "Address", keys[i], std::to_string(i));
    tillwick::ini::WriteString(path, "Address", "www_example_com", "plain");
    const std::string text = *host::fs::ReadFile(path);
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        tillwick::ini::WriteString(path, "Address", keys[i], std::to_string(i));
        EXPECT_EQ(tillwick::ini::ReadString(path, "Address", keys[i], "<none>"), std::to_string(i)) << keys[i];
    }
    EXPECT_EQ(*host::fs::ReadFile(path), text);
    for (const char* planted : {"\n[", "\n;"}) EXPECT_EQ(text.find(planted), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nwww_example_com=plain\r\n"), std::string::npos) << text;
    tillwick::ResetState();
}

// The store keeps what it read while the file's write time and size stay the
// same: an unchanged file costs one stamp query, a changed one is read again.
TEST(IniFileCache, AChangedFileIsReadAgain) {
    host::sim::Reset();
    tillwick::ResetState();
    static const std::string path = "C:\\cache.ini";
    const auto read = [] { return tillwick::ini::ReadString(path, "G", "k", "d"); };
    host::sim::PutFile(path, "[G]\r\nk=0\r\n");
    ASSERT_EQ(read(), "0");
    const std::uint64_t calls = host::sim::CountedCalls();
    EXPECT_EQ(read(), "0");
    EXPECT_EQ(host::sim::CountedCalls(), calls + 1);  // the stamp only
    const std::pair<void (*)(), const char*> changes[] = {
        {[] { host::fs::WriteFileAtomic(path, "[G]\r\nk=1\r\n"); }, "1"},  // same size
        {[] { host::sim::PutFile(path, "[G]\r\nk=22\r\n"); }, "22"},
        {[] { host::fs::DeleteFile(path); }, "d"},
        {[] { host::sim::PutFile(path, "[G]\r\nk=3\r\n"); }, "3"},
        {[] { tillwick::ini::WriteString(path, "G", "k", "4"); }, "4"},
    };
    for (const auto& [change, value] : changes) {
        change();
        EXPECT_EQ(read(), value);
    }
    tillwick::ResetState();
}
