// Reading the registries' answers, the requests sent to them, and the escaping
// that keeps their text inert in our pages.
#include <gtest/gtest.h>

#include "core/html_escape.h"
#include "statusinfo/whois_answer.h"

using namespace tillwick;

namespace {

TEST(WhoisAnswer, FieldValuesAreFoundInAnyCaseTrimmedAndUntagged) {
    const struct {
        const char *text, *netName, *country;
    } cases[] = {
        {"NetName:  RIPE-ERX \r\nCountry: <b>DE</b>\n", "RIPE-ERX", "DE"},
        {"netname: TEST-NET\ncountry:   US\n", "TEST-NET", "US"},
        {"NetName: LAST\nCountry: FR", "LAST", ""},  // the last line has no line feed
        {"OrgName: nothing here\n", "", ""},
        {"{\"name\": \" APNIC-LABS \", \"country\": \"AU\", \"handle\": \"x\"}", "APNIC-LABS", "AU"},
        {"{\"name\": 5, \"country\": [\"AU\"]}", "", ""},  // JSON of another shape
        {"{ not json\nNetName: BROKEN-JSON\n", "BROKEN-JSON", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadRegistryAnswer(c.text).netName, c.netName) << c.text;
        EXPECT_EQ(ReadRegistryAnswer(c.text).country, c.country) << c.text;
    }
}

TEST(WhoisAnswer, ReferralRules) {
    const struct {
        const char *netName, *registry;
        bool referral;
    } cases[] = {
        {"", "ARIN", true},           {"IANA-BLK", "ARIN", true},     {"iana-netblock-8", "APNIC", true},
        {"EU-ERX-NETBLOCK", "ARIN", true}, {"INTERNIC-X", "RIPE", true}, {"RIPE-CIDR-BLOCK", "ARIN", true},
        {"ripe-x", "APNIC", true},    {"RIPE-NCC", "RIPE", false},    {"ARIN-ISP", "ARIN", false},
        {"EXAMPLE-NET", "ARIN", false}, {"AFRINIC-NET", "LACNIC", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsReferral(c.netName, c.registry), c.referral) << c.netName << " at " << c.registry;
    EXPECT_EQ(NextRegistry("ARIN"), "APNIC");  // a RIPE referral from ARIN still asks APNIC next
    EXPECT_EQ(NextRegistry("AfriNIC"), "");
}

TEST(WhoisAnswer, RequestsPerRegistry) {
    const struct {
        const char *registry, *method, *url, *body;
    } cases[] = {
        {"ARIN", "GET", "http://h:81/whois/?queryinput=1.2.3.4", ""},
        {"APNIC", "POST", "http://h:81/apnic-bin/whois.pl", "searchtext=1.2.3.4"},
        {"LACNIC", "POST", "http://h:81/cgi-bin/lacnic/whois?lg=EN", "query=1.2.3.4"},
        {"RIPE", "GET",
         "http://h:81/fcgi-bin/whois?form_type=simple&amp;full_query_string=&amp;searchtext=1.2.3.4&amp;do_search=Search",
         ""},
        {"AfriNIC", "POST", "http://h:81/cgi-bin/whois", "searchtext=1.2.3.4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.registry);
        const auto request = WhoisRequest(c.registry, "http://h:81/", "1.2.3.4");
        ASSERT_TRUE(request);
        EXPECT_EQ(request->method, c.method);
        EXPECT_EQ(request->url, c.url);
        EXPECT_EQ(request->body, c.body);
        EXPECT_EQ(request->contentType.empty(), request->method == "GET");
    }
    EXPECT_FALSE(WhoisRequest("IANA", "http://h", "1.2.3.4"));
    // A hand-edited cache cannot add parameters of its own.
    EXPECT_EQ(WhoisRequest("ARIN", "http://h", "1.2.3.4&x=<y>")->url, "http://h/whois/?queryinput=1.2.3.4%26x%3D%3Cy%3E");
}

TEST(WhoisAnswer, ReportTextIsTheInsideOfThePreBlock) {
    EXPECT_EQ(ReportTextOf("<html><PRE class=x>a &lt;b&gt;\n<pre>c</pre>d</Pre><p>tail"), "a <b>\n<pre>c</pre>d");
    EXPECT_EQ(ReportTextOf("head<pre>open to the end"), "open to the end");
    EXPECT_EQ(ReportTextOf("no block at all"), "no block at all");
    EXPECT_EQ(ReportTextOf(" {\"a\":[1,{ }],\"b\":\"x\\\",{y\"} "), "{\n  \"a\": [\n    1,\n    {}\n  ],\n  \"b\": \"x\\\",{y\"\n}");
}

// Nesting past any real answer is refused while parsing and never walked.
TEST(WhoisAnswer, DeeplyNestedJsonIsReadAsText) {
    const std::string deep = "{\"name\":\"N\",\"country\":\"DE\",\"x\":" + std::string(100'000, '[') +
                             std::string(100'000, ']') + "}";
    EXPECT_EQ(ReadRegistryAnswer(deep).country, "");
    EXPECT_EQ(ReportTextOf(deep), deep);
}

TEST(HtmlEscape, HostileTextStaysText) {
    const std::string hostile = "</pre><iframe src=x></iframe><script>alert('x')</script><img onerror=\"a()\">&";
    const std::string html = EscapeHtml(hostile);
    for (const char* markup : {"<", ">", "\"", "'"}) EXPECT_EQ(html.find(markup), std::string::npos) << markup;
    EXPECT_EQ(DecodeBasicEntities(html), hostile);
}

// In a double-byte code page a lead byte (0x81..0xFE) takes the next byte as
// its second half: a backslash put in before a quote must never follow one.
TEST(HtmlEscape, ScriptStringsKeepOnlyLettersDigitsSpacesAndEscapes) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"Id 42 x", "Id 42 x"},
        {"\x95'", "\\u0095\\u0027"},
        {"\x81\\", "\\u0081\\u005C"},
        {"</script>\r\n\"", "\\u003C\\u002Fscript\\u003E\\u000D\\u000A\\u0022"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeScriptString(c.in), c.out) << c.in;
}

}  // namespace
