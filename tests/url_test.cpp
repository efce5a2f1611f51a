// The invocation link taken apart into host and port.
#include "launch/launch.h"

#include <gtest/gtest.h>
#include <string.h>

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

} // namespace
