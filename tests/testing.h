// What the test programs share: the registry, bounded waits, windows and message boxes seen from
// outside their process, and the launcher as a real process.
#ifndef KELVRA_TESTING_H
#define KELVRA_TESTING_H
#include <windows.h>
#include <sddl.h>

#include <functional>
#include <future>
#include <string>
#include <vector>

typedef std::wstring Text;
typedef std::vector<Text> Texts;

const wchar_t SettingsKey[] = L"Software\\tQr\\kelvra launcher";
const wchar_t WhitelistKey[] = L"Software\\tQr\\kelvra launcher\\whitelist";
const wchar_t Title[] = L"URL Kelvra launcher";
// Access lists for a key: everyone may read only, write only, or do anything.
const wchar_t ReadOnly[] = L"D:P(A;;KRSDWDRC;;;WD)", WriteOnly[] = L"D:P(A;;KWSDWDRC;;;WD)";
const wchar_t FullAccess[] = L"D:P(A;;KA;;;WD)";

inline void LockKey(const wchar_t *path, const wchar_t *access)
{
    PSECURITY_DESCRIPTOR descriptor = NULL;
    HKEY key;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(access, SDDL_REVISION_1, &descriptor,
                                                         NULL);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
}

inline void ClearRegistry()
{
    LockKey(WhitelistKey, FullAccess); // a test that failed may have left one locked
    LockKey(SettingsKey, FullAccess);
    LockKey(L"Software\\tQr", FullAccess);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\tQr");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\tQr");
}

// Exactly `size` bytes: noise after them keeps the platform from adding a terminator a short count
// left out.
inline void SetValue(HKEY root, const wchar_t *path, const Text &name, DWORD type, const void *data,
                     DWORD size)
{
    std::vector<BYTE> exact((const BYTE *)data, (const BYTE *)data + size);
    exact.insert(exact.end(), {0xFF, 0xFF});
    RegSetKeyValueW(root, path, name.c_str(), type, exact.data(), size);
}

inline void SetText(const wchar_t *path, const Text &name, const Text &text)
{
    SetValue(HKEY_CURRENT_USER, path, name, REG_SZ, text.c_str(), (DWORD)text.size() * 2 + 2);
}
inline void SetDword(HKEY root, const wchar_t *name, DWORD id)
{
    SetValue(root, SettingsKey, name, REG_DWORD, &id, 4);
}

// address0, address1, ... as given, then the end marker.
inline void StoreWhitelist(const Texts &entries)
{
    for (size_t i = 0; i <= entries.size(); ++i)
        SetText(WhitelistKey, L"address" + std::to_wstring(i),
                i < entries.size() ? entries[i] : L"");
}

// A value below HKEY_CURRENT_USER: a REG_SZ of its characters and one terminator as itself, a DWORD
// as "#n".
inline Text Stored(const Text &name, const wchar_t *path = SettingsKey)
{
    BYTE data[2048] = {};
    DWORD type = 0, size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, path, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                     &size))
        return L"(none)";
    const Text text((const wchar_t *)data);
    if (type == REG_DWORD)
        return L"#" + std::to_wstring(*(const DWORD *)data);
    if (type == REG_SZ && size == text.size() * 2 + 2)
        return text;
    return L"(type " + std::to_wstring(type) + L")";
}

inline Texts StoredWhitelist() // address0, address1, ... up to the first missing value
{
    Texts values;
    for (Text value;
         (value = Stored(L"address" + std::to_wstring(values.size()), WhitelistKey)) != L"(none)";)
        values.push_back(value);
    return values;
}

inline bool WaitFor(const std::function<bool()> &done, DWORD timeoutMs = 10000, DWORD stepMs = 20)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(stepMs))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

// SendMessage that also reaches another process, with a bound.
inline LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0,
                    UINT timeoutMs = 20000)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result);
    return result;
}

inline Text WindowText(HWND window)
{
    wchar_t text[1024] = L"";
    Send(window, WM_GETTEXT, 1024, (LPARAM)text);
    return text;
}

// A visible top-level window of the process.
inline HWND FindShown(DWORD processId, const wchar_t *title, const wchar_t *className = NULL)
{
    DWORD owner = 0;
    for (HWND window = NULL; (window = FindWindowExW(NULL, window, className, title));)
        if (GetWindowThreadProcessId(window, &owner) && owner == processId &&
            IsWindowVisible(window))
            return window;
    return NULL;
}

inline HWND ShownBox(DWORD process)
{
    return FindShown(process, NULL, L"#32770");
} // a dialog or message box

// A message box as "caption: text", or "caption! text" with its icon; it is closed with OK.
inline Text ReadBox(HWND box)
{
    HWND icon = GetDlgItem(box, 0x440);
    bool hasIcon = IsWindowVisible(icon) && Send(icon, STM_GETICON, 0);
    Text seen = WindowText(box) + (hasIcon ? L"! " : L": ") + WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return seen;
}

// The next dialog the process shows, as `read` sees it (a message box: read and closed), or "(no
// box)".
inline std::future<Text> NextBox(DWORD process = GetCurrentProcessId(),
                                 const std::function<Text(HWND)> &read = ReadBox)
{
    return std::async(std::launch::async, [=] {
        HWND box = NULL;
        if (!WaitFor([&] { return (box = ShownBox(process)) != NULL; }))
            return Text(L"(no box)");
        return read(box);
    });
}

inline Text BinDirectory()
{
    wchar_t path[MAX_PATH];
    Text file(path, GetModuleFileNameW(NULL, path, MAX_PATH));
    return file.substr(0, file.rfind(L'\\'));
}

// The real launcher of this build, started with an exact raw command-line tail.
struct Launcher {
    PROCESS_INFORMATION process = {};
    DWORD patienceMs; // for its start and its end

    explicit Launcher(const Text &tail, const wchar_t *directory = NULL, DWORD patience = 15000)
        : patienceMs(patience)
    {
        Text line = L"\"" + BinDirectory() + L"\\launcher.exe\" " + tail;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, directory, &startup, &process);
    }
    ~Launcher()
    {
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    bool Exited() { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD Exit()
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process.hProcess, patienceMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
    // Its shown window of that title, once there is one; none when it ends first or not in time.
    HWND Window(const wchar_t *title = Title)
    {
        HWND window = NULL;
        WaitFor([&] { return (window = FindShown(process.dwProcessId, title)) || Exited(); },
                patienceMs);
        return window;
    }
};
#endif
