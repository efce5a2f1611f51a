// Shared helpers of the test programs: the registry, the launcher as a real
// process, the stub engine, and message boxes found and closed.
#ifndef KELVRA_TESTING_H
#define KELVRA_TESTING_H

#include <windows.h>

#include <functional>
#include <future>
#include <string>
#include <vector>

namespace testing_support {

// The folder holding the test programs, the launcher and the stub engine.
std::wstring BinDirectory();

// Registry. Every test starts from a clean HKCU\Software\tQr.
extern const wchar_t SettingsKey[];
extern const wchar_t WhitelistKey[];
void ClearRegistry();
void SetValue(HKEY root, const wchar_t *path, const wchar_t *name, DWORD type, const void *data, DWORD size);
void SetText(HKEY root, const wchar_t *path, const wchar_t *name, const std::wstring &text);
void SetDword(HKEY root, const wchar_t *path, const wchar_t *name, DWORD value);
struct RegValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
    std::wstring Text() const; // the data as UTF-16, without a final terminator
};
RegValue ReadValue(HKEY root, const wchar_t *path, const wchar_t *name);
bool KeyExists(HKEY root, const wchar_t *path);
std::wstring Repeat(wchar_t c, size_t count);

// Polls a condition for at most the given time.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = 10000);

// Message boxes: the next one shown by a process is read and closed.
struct BoxReport {
    bool seen = false;
    std::wstring caption, text;
    bool hasIcon = false;
};
HWND WaitForDialog(DWORD processId = GetCurrentProcessId(), DWORD timeoutMs = 10000);
std::future<BoxReport> WatchForBox(DWORD processId = GetCurrentProcessId(), DWORD timeoutMs = 10000);

// The launcher started with an exact raw command-line tail.
struct Launcher {
    PROCESS_INFORMATION process = {};
    bool started = false;
    ~Launcher();
    // Exit code, or STILL_ACTIVE if it did not end in time.
    DWORD WaitForExit(DWORD timeoutMs = 15000);
    HWND WaitForWindow(const wchar_t *title, DWORD timeoutMs = 15000);
};
void StartLauncher(Launcher &launcher, const std::wstring &tail);

// The stub engine copied to a path of the test's choosing; it writes its
// command line and working directory to the record file.
std::wstring InstallStubEngine(const std::wstring &path);
struct StubRecord {
    bool present = false;
    std::wstring commandLine, directory;
};
void ResetStubRecord();
StubRecord ReadStubRecord(DWORD timeoutMs = 10000);

// Pumps this thread's messages until the condition holds or time runs out.
bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs = 10000);
std::wstring WindowText(HWND window);

} // namespace testing_support

#endif
