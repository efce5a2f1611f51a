// What the test program and the harness share: the registry, the launcher as a real process, and windows and
// message boxes seen from outside their process.
#ifndef KELVRA_TESTING_H
#define KELVRA_TESTING_H
#include <windows.h>

#include <functional>
#include <future>
#include <string>
#include <vector>

typedef std::wstring Text;
typedef std::vector<Text> Texts;
const wchar_t SettingsKey[] = L"Software\\tQr\\kelvra launcher";
const wchar_t WhitelistKey[] = L"Software\\tQr\\kelvra launcher\\whitelist", Title[] = L"URL Kelvra launcher";
inline void ClearRegistry()
{ RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\tQr"), RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\tQr"); }
// Exactly `size` bytes: noise after them keeps the platform from adding a terminator a short count left out.
inline void SetValue(HKEY root, const wchar_t *path, const Text &name, DWORD type, const void *data, DWORD size)
{
    std::vector<BYTE> exact((const BYTE *)data, (const BYTE *)data + size);
    exact.insert(exact.end(), {0xFF, 0xFF});
    RegSetKeyValueW(root, path, name.c_str(), type, exact.data(), size);
}
inline void SetText(const wchar_t *path, const Text &name, const Text &text)
{ SetValue(HKEY_CURRENT_USER, path, name, REG_SZ, text.c_str(), (DWORD)text.size() * 2 + 2); }
inline void SetDword(HKEY root, const wchar_t *name, DWORD id) { SetValue(root, SettingsKey, name, REG_DWORD, &id, 4); }
// A value below HKEY_CURRENT_USER: a REG_SZ of its characters and one terminator as itself, a DWORD as "#n".
inline Text Stored(const Text &name, const wchar_t *path = SettingsKey)
{
    BYTE data[2048] = {};
    DWORD type = 0, size = sizeof data;
    LONG result = RegGetValueW(HKEY_CURRENT_USER, path, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size);
    Text text((const wchar_t *)data);
    if (result || type == REG_DWORD) return result ? L"(none)" : L"#" + std::to_wstring(*(const DWORD *)data);
    return type == REG_SZ && size == text.size() * 2 + 2 ? text : L"(type " + std::to_wstring(type) + L")";
}
inline Texts StoredWhitelist()
{
    Texts values;
    for (Text value; (value = Stored(L"address" + std::to_wstring(values.size()), WhitelistKey)) != L"(none)";)
        values.push_back(value);
    return values;
}
inline bool WaitFor(const std::function<bool()> &done, DWORD timeoutMs = 10000)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start > timeoutMs) return false;
    return true;
}
inline LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0) // also to another process
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 20000, &result), result;
}
inline Text WindowText(HWND w) { wchar_t text[1024] = L""; return Send(w, WM_GETTEXT, 1024, (LPARAM)text), text; }
inline HWND FindShown(DWORD processId, const wchar_t *title, const wchar_t *className = NULL) // top-level
{
    DWORD owner = 0;
    for (HWND window = NULL; (window = FindWindowExW(NULL, window, className, title));)
        if (GetWindowThreadProcessId(window, &owner) && owner == processId && IsWindowVisible(window)) return window;
    return NULL;
}
// The next message box of a process as "caption: text", or "caption! text" with its icon; it is closed with OK.
inline Text ReadBox(HWND box)
{
    HWND icon = GetDlgItem(box, 0x440);
    Text seen = WindowText(box) + (IsWindowVisible(icon) && Send(icon, STM_GETICON, 0) ? L"! " : L": ");
    seen += WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return WaitFor([&] { return !IsWindow(box); }), seen;
}
inline std::future<Text> NextBox(DWORD processId = GetCurrentProcessId(), DWORD timeoutMs = 10000)
{
    return std::async(std::launch::async, [=] {
        HWND box = NULL;
        return WaitFor([&] { return (box = FindShown(processId, NULL, L"#32770")) != NULL; }, timeoutMs)
                   ? ReadBox(box) : Text(L"(no box)");
    });
}
inline Text BinDirectory()
{
    wchar_t path[MAX_PATH];
    Text file(path, GetModuleFileNameW(NULL, path, MAX_PATH));
    return file.substr(0, file.rfind(L'\\'));
}
struct Launcher {
    PROCESS_INFORMATION process = {};
    explicit Launcher(const Text &tail, const wchar_t *directory = NULL) // the exact raw command-line tail
    {
        Text line = L"\"" + BinDirectory() + L"\\launcher.exe\" " + tail;
        STARTUPINFOW startup = {sizeof startup, NULL, NULL, NULL, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL};
        CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, directory, &startup, &process);
    }
    ~Launcher() { TerminateProcess(process.hProcess, 1), CloseHandle(process.hThread), CloseHandle(process.hProcess); }
    bool Exited() { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }
    DWORD Exit(DWORD timeoutMs = 15000) // STILL_ACTIVE when it did not end in time
    {
        DWORD code = STILL_ACTIVE;
        return WaitForSingleObject(process.hProcess, timeoutMs) || GetExitCodeProcess(process.hProcess, &code), code;
    }
    HWND Window(const wchar_t *title = Title)
    {
        HWND window = NULL;
        return WaitFor([&] { return (window = FindShown(process.dwProcessId, title)) || Exited(); }, 15000), window;
    }
};
#endif
