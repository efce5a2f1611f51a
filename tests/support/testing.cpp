#include "support/testing.h"

#include <string.h>

namespace testing_support {

const wchar_t SettingsKey[] = L"Software\\tQr\\kelvra launcher";
const wchar_t WhitelistKey[] = L"Software\\tQr\\kelvra launcher\\whitelist";

std::wstring BinDirectory()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L'\\'));
}

void ClearRegistry()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\tQr");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\tQr");
}

void SetValue(HKEY root, const wchar_t *path, const wchar_t *name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExW(root, path, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    // The platform adds a terminator to a text whose count forgot it when a
    // zero follows in memory; noise after the data keeps the size exact.
    std::vector<BYTE> exact((const BYTE *)data, (const BYTE *)data + size);
    exact.insert(exact.end(), {0xFF, 0xFF});
    RegSetValueExW(key, name, 0, type, exact.data(), size);
    RegCloseKey(key);
}

void SetText(HKEY root, const wchar_t *path, const wchar_t *name, const std::wstring &text)
{
    SetValue(root, path, name, REG_SZ, text.c_str(), (DWORD)((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY root, const wchar_t *path, const wchar_t *name, DWORD value)
{
    SetValue(root, path, name, REG_DWORD, &value, sizeof value);
}

std::wstring RegValue::Text() const
{
    std::wstring text((const wchar_t *)data.data(), data.size() / sizeof(wchar_t));
    if (!text.empty() && text.back() == 0)
        text.pop_back();
    return text;
}

RegValue ReadValue(HKEY root, const wchar_t *path, const wchar_t *name)
{
    RegValue value;
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, NULL, &value.type, NULL, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.present = RegQueryValueExW(key, name, NULL, &value.type, value.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return value;
}

bool KeyExists(HKEY root, const wchar_t *path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring Repeat(wchar_t c, size_t count) { return std::wstring(count, c); }

bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[2048] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, (LPARAM)text, SMTO_BLOCK, 5000, &length);
    return text;
}

struct BoxSearch {
    DWORD processId;
    HWND box;
};

static BOOL CALLBACK FindBox(HWND window, LPARAM parameter)
{
    BoxSearch *search = (BoxSearch *)parameter;
    wchar_t className[16];
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window) &&
        GetClassNameW(window, className, 16) && !wcscmp(className, L"#32770")) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK ReadBoxChild(HWND child, LPARAM parameter)
{
    BoxReport *report = (BoxReport *)parameter;
    wchar_t className[16];
    if (!GetClassNameW(child, className, 16) || _wcsicmp(className, L"Static"))
        return TRUE;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        if (IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0))
            report->hasIcon = true;
    } else if (report->text.empty()) {
        report->text = WindowText(child);
    }
    return TRUE;
}

HWND WaitForDialog(DWORD processId, DWORD timeoutMs)
{
    BoxSearch search = {processId, NULL};
    WaitFor([&] { EnumWindows(FindBox, (LPARAM)&search); return search.box != NULL; }, timeoutMs);
    return search.box;
}

std::future<BoxReport> WatchForBox(DWORD processId, DWORD timeoutMs)
{
    return std::async(std::launch::async, [processId, timeoutMs] {
        BoxReport report;
        BoxSearch search = {processId, WaitForDialog(processId, timeoutMs)};
        if (!search.box)
            return report;
        report.seen = true;
        report.caption = WindowText(search.box);
        EnumChildWindows(search.box, ReadBoxChild, (LPARAM)&report);
        PostMessageW(search.box, WM_COMMAND, IDOK, 0);
        WaitFor([&] { return !IsWindow(search.box); }, timeoutMs);
        return report;
    });
}

Launcher::~Launcher()
{
    if (!started)
        return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

DWORD Launcher::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    return code;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t *title;
    HWND found;
};

static BOOL CALLBACK FindWindowOf(HWND window, LPARAM parameter)
{
    WindowSearch *search = (WindowSearch *)parameter;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t title[256] = L"";
    GetWindowTextW(window, title, 256);
    if (processId == search->processId && IsWindowVisible(window) && !wcscmp(title, search->title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND Launcher::WaitForWindow(const wchar_t *title, DWORD timeoutMs)
{
    WindowSearch search = {process.dwProcessId, title, NULL};
    WaitFor([&] {
        EnumWindows(FindWindowOf, (LPARAM)&search);
        return search.found != NULL || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    }, timeoutMs);
    return search.found;
}

void StartLauncher(Launcher &launcher, const std::wstring &tail)
{
    std::wstring commandLine = L"\"" + BinDirectory() + L"\\launcher.exe\" " + tail;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    launcher.started = CreateProcessW(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                                      &launcher.process) != 0;
}

// Named once per test program and handed down through the environment, to
// the launcher and the engine it starts as well as to death-test children.
static std::wstring StubRecordPath()
{
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"KELVRA_STUB_RECORD", path, MAX_PATH))
        return path;
    GetTempPathW(MAX_PATH, path);
    std::wstring named = std::wstring(path) + L"kelvra-stub-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    SetEnvironmentVariableW(L"KELVRA_STUB_RECORD", named.c_str());
    return named;
}

void ResetStubRecord()
{
    DeleteFileW(StubRecordPath().c_str());
}

std::wstring InstallStubEngine(const std::wstring &path)
{
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), NULL);
    CopyFileW((BinDirectory() + L"\\stub_engine.exe").c_str(), path.c_str(), FALSE);
    return path;
}

// One attempt: under Wine the record can be seen a moment before it can be
// opened, so a failed open or a partial read counts as not there yet.
static bool ReadStubRecordOnce(const std::wstring &path, StubRecord &record)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                              0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::wstring content(32768, 0);
    DWORD read = 0;
    ReadFile(file, &content[0], (DWORD)(content.size() * sizeof(wchar_t)), &read, NULL);
    CloseHandle(file);
    content.resize(read / sizeof(wchar_t));
    size_t newline = content.find(L'\n');
    if (newline == std::wstring::npos)
        return false;
    record.present = true;
    record.commandLine = content.substr(0, newline);
    record.directory = content.substr(newline + 1);
    return true;
}

StubRecord ReadStubRecord(DWORD timeoutMs)
{
    StubRecord record;
    std::wstring path = StubRecordPath();
    WaitFor([&] { return ReadStubRecordOnce(path, record); }, timeoutMs);
    return record;
}

bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

} // namespace testing_support
