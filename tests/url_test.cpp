// The invocation link taken apart into host and port.
#include "launch/launch.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <string>

namespace {

struct ParseRow {
    const char *text;
    const wchar_t *host;
    unsigned port;
};

const ParseRow ParseRows[] = {
    {"", L"", 27960},
    {"scheme://192.0.2.10", L"192.0.2.10", 27960},
    {"scheme://192.0.2.10:27961", L"192.0.2.10", 27961},
    {"\"scheme://192.0.2.10:27961/\"", L"192.0.2.10", 27961},
    {"\"scheme://192.0.2.10\"", L"192.0.2.10", 27960},
    {"scheme://player@192.0.2.10:27962/path?x=1", L"192.0.2.10", 27962},
    {"192.0.2.10:27963", L"192.0.2.10", 27963},
    {"scheme://server:", L"server", 0},
    {"scheme://server:70000", L"server", 4464},
    {"scheme://server:-1", L"server", 65535},
    {"scheme://server:27960abc", L"server", 27960},
    {"scheme://server:27960?x=1", L"server", 27960},
    {"scheme://server?a=/b", L"servera", 27960},
    {"scheme://server/a:1", L"servera", 1},
    {"scheme://my_server", L"myserver", 27960},
    {"scheme://[::1]:27960", L"", 0},
    {"two words", L"twowords", 27960},
};

void Parse(const std::string &text)
{
    memset(&LaunchTarget, 0, sizeof LaunchTarget);
    ParseInvocationUrl(text.c_str());
}

TEST(ParseInvocationUrl, TableOfLinks)
{
    for (const ParseRow &row : ParseRows) {
        SCOPED_TRACE(row.text);
        Parse(row.text);
        EXPECT_STREQ(row.host, LaunchTarget.host);
        EXPECT_EQ(row.port, LaunchTarget.port);
    }
}

TEST(ParseInvocationUrl, HostIsCutTo255CharactersBeforeFiltering)
{
    Parse("scheme://" + std::string(300, 'a') + ":1");
    EXPECT_EQ(std::wstring(255, L'a'), LaunchTarget.host);

    // The cut comes first: what the filter drops does not make room for more.
    Parse("scheme://" + std::string(250, 'a') + "_____" + std::string(10, 'b'));
    EXPECT_EQ(std::wstring(250, L'a'), LaunchTarget.host);
}

TEST(ParseInvocationUrl, ConvertsFromTheAnsiCodePage)
{
    // A letter outside ASCII in the code page is dropped as one character,
    // so what follows it stays.
    Parse("scheme://caf\xe9-bar.example:1234");
    EXPECT_STREQ(L"caf-bar.example", LaunchTarget.host);
    EXPECT_EQ(1234u, LaunchTarget.port);
}

// The link read the plain way, as the oracle for the fuzzing below.
struct Expected {
    std::wstring host;
    unsigned port;
};

Expected ReadLink(const std::string &text)
{
    std::wstring s(text.size(), L'\0');
    s.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &s[0], (int)s.size()));
    size_t at = s.find(L"://");
    if (at != std::wstring::npos)
        s.erase(0, at + 3);
    at = s.find(L'@');
    if (at != std::wstring::npos)
        s.erase(0, at + 1);
    auto cut = [](std::wstring t) {
        size_t end = t.find(L'/');
        return t.substr(0, end != std::wstring::npos ? end : t.find(L'?'));
    };
    Expected expected = {s, 27960};
    size_t colon = s.find(L':');
    if (colon != std::wstring::npos) {
        expected.host = s.substr(0, colon);
        expected.port = (unsigned short)_wtoi(cut(s.substr(colon + 1)).c_str());
    } else {
        expected.host = cut(s);
    }
    std::wstring kept;
    for (wchar_t c : expected.host.substr(0, 255))
        if (iswascii(c) && (iswalnum(c) || c == L'.' || c == L'-'))
            kept += c;
    expected.host = kept;
    return expected;
}

// URL-shaped pieces and random bytes of the code page (never 0: the
// command line cannot hold one).
std::string RandomLink(std::mt19937 &random)
{
    static const char *const pieces[] = {"://", "@", ":", "/", "?", "\"", " ", "scheme", "host.example",
                                         "27960", "-1", "99999999999", "65536", "", "a-b.c", "::", "@@"};
    std::string link;
    int count = random() % 12;
    for (int i = 0; i < count; ++i) {
        switch (random() % 4) {
        case 0:
            link += std::string(300 + random() % 100, "aZ9._-"[random() % 6]);
            break;
        case 1:
            for (int n = random() % 8; n > 0; --n)
                link += (char)(1 + random() % 255);
            break;
        default:
            link += pieces[random() % (sizeof pieces / sizeof *pieces)];
        }
    }
    return link;
}

TEST(ParseInvocationUrl, FuzzedLinks)
{
    std::mt19937 random(20261206);
    int fullHosts = 0, ports = 0, wrapped = 0;
    for (int i = 0; i < 100000; ++i) {
        std::string link = RandomLink(random);
        memset(&LaunchTarget, 0x55, sizeof LaunchTarget); // no terminator to lean on
        ParseInvocationUrl(link.c_str());
        size_t length = wcsnlen(LaunchTarget.host, HOST_CAPACITY);
        ASSERT_LT(length, (size_t)HOST_CAPACITY) << "not terminated, link " << i;
        Expected expected = ReadLink(link);
        ASSERT_EQ(expected.host, LaunchTarget.host) << "link " << i << ": " << link;
        ASSERT_EQ(expected.port, LaunchTarget.port) << "link " << i << ": " << link;
        fullHosts += length == 255;
        ports += expected.port != 27960 && expected.port != 0;
        wrapped += expected.port == 65535 || expected.port == 4464;
    }
    // The generator reaches the cases that matter, not just short links.
    EXPECT_GT(fullHosts, 1000);
    EXPECT_GT(ports, 1000);
    EXPECT_GT(wrapped, 100);
    printf("full hosts %d, ports %d, wrapped ports %d\n", fullHosts, ports, wrapped);
}

} // namespace
