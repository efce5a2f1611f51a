// The invocation link: scheme://[user@]host[:port][/path][?query], taken
// apart by first-occurrence searches over the raw command-line tail.
#include "launch/launch.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

LaunchTargetRecord LaunchTarget;

// The path or the query ends the text; a "/" wins over an earlier "?".
// cppcheck-suppress constParameterPointer ; the text is cut by a write through wcschr's result
static void CutAtPathOrQuery(WCHAR *text)
{
    WCHAR *end = wcschr(text, L'/');
    if (!end)
        end = wcschr(text, L'?');
    if (end)
        *end = 0;
}

void ParseInvocationUrl(const char *text)
{
    size_t length = strlen(text);
    WCHAR *wide = (WCHAR *)LocalAlloc(LPTR, (length + 1) * sizeof(WCHAR));
    if (!wide)
        return;
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, (int)(length + 1));

    WCHAR *start = wide;
    WCHAR *found = wcsstr(start, L"://");
    if (found)
        start = found + 3;
    found = wcschr(start, L'@');
    if (found)
        start = found + 1;

    WCHAR *colon = wcschr(start, L':');
    if (colon) {
        *colon = 0;
        WCHAR *port = colon + 1;
        CutAtPathOrQuery(port);
        LaunchTarget.port = (USHORT)_wtoi(port);
    } else {
        LaunchTarget.port = DEFAULT_PORT;
        CutAtPathOrQuery(start);
    }

    wcsncpy(LaunchTarget.host, start, HOST_CAPACITY - 1);
    LaunchTarget.host[HOST_CAPACITY - 1] = 0;
    FilterHostName();
    LocalFree(wide);
}

static bool IsHostCharacter(WCHAR c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
           (c >= L'0' && c <= L'9') || c == L'-' || c == L'.';
}

void FilterHostName()
{
    WCHAR *kept = LaunchTarget.host;
    for (const WCHAR *c = LaunchTarget.host; *c; ++c)
        if (IsHostCharacter(*c))
            *kept++ = *c;
    *kept = 0;
}
