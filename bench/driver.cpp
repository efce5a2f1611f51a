// Times the launcher's two roads against the bare programs that stand for
// their floor, interleaved run by run so that noise of the machine falls on
// both alike, and prints the figures as a Markdown table.
//
//   driver RUNS
//
// Expects next to it launcher.exe, floor_autostart.exe and floor_window.exe;
// the stub engine's record file is named by KELVRA_STUB_RECORD, the engine
// by KELVRA_FLOOR_ENGINE (its full path) for the autostart floor.
#include "../tests/testing.h"
#include <psapi.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>

namespace {

std::wstring Environment(const wchar_t *name)
{
    wchar_t value[MAX_PATH] = L"";
    GetEnvironmentVariableW(name, value, MAX_PATH);
    return value;
}

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

PROCESS_INFORMATION Start(const std::wstring &program, const std::wstring &tail)
{
    std::wstring commandLine = L"\"" + program + L"\" " + tail;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "cannot start %ls (%lu)\n", program.c_str(), GetLastError());
        exit(1);
    }
    return process;
}

void End(PROCESS_INFORMATION &process)
{
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        fprintf(stderr, "a process did not end\n");
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Polls every millisecond until the condition holds; the timeout keeps a
// broken run from hanging the benchmark.
bool Poll(const std::function<bool()> &condition) { return WaitFor(condition, 10000, 1); }

// The autostart road: start to the stub engine's record being there.
double AutostartRun(const std::wstring &program, const std::wstring &tail, const std::wstring &record)
{
    DeleteFileW(record.c_str());
    double start = Now();
    PROCESS_INFORMATION process = Start(program, tail);
    bool started = Poll([&] { return GetFileAttributesW(record.c_str()) != INVALID_FILE_ATTRIBUTES; });
    double elapsed = Now() - start;
    End(process);
    if (!started) {
        fprintf(stderr, "the engine did not start from %ls\n", program.c_str());
        exit(1);
    }
    return elapsed;
}

// The window road: start to the main window being visible; then the peak
// working set once the program waits for input, the same moment for both.
double WindowRun(const std::wstring &program, const std::wstring &tail, const wchar_t *title, SIZE_T *peak)
{
    double start = Now();
    PROCESS_INFORMATION process = Start(program, tail);
    HWND found = NULL;
    bool shown = Poll([&] { return (found = FindShown(process.dwProcessId, title)) != NULL; });
    double elapsed = Now() - start;
    if (!shown) {
        fprintf(stderr, "no window from %ls\n", program.c_str());
        exit(1);
    }
    WaitForInputIdle(process.hProcess, 5000);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    *peak = memory.PeakWorkingSetSize;
    PostMessageW(found, WM_CLOSE, 0, 0);
    End(process);
    return elapsed;
}

struct Figures {
    double min, median, max;
};

Figures Summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

void Row(const char *what, const char *unit, const std::vector<double> &launcher, const std::vector<double> &floor,
         double goal)
{
    Figures l = Summarise(launcher), f = Summarise(floor);
    double ratio = l.median / f.median;
    printf("| %s | %.1f / %.1f / %.1f %s | %.1f / %.1f / %.1f %s | %.3f | %s %.2f |\n", what, l.min, l.median, l.max,
           unit, f.min, f.median, f.max, unit, ratio, ratio <= goal ? "met, goal <=" : "MISSED, goal <=", goal);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    int runs = argc > 1 ? _wtoi(argv[1]) : 20;
    std::wstring bin = BinDirectory(), record = Environment(L"KELVRA_STUB_RECORD"),
                 engine = Environment(L"KELVRA_FLOOR_ENGINE"), before = Environment(L"KELVRA_BEFORE");
    if (record.empty() || engine.empty() || runs < 1) {
        fprintf(stderr, "usage: driver RUNS, with KELVRA_STUB_RECORD and KELVRA_FLOOR_ENGINE set"
                        " (KELVRA_BEFORE: an earlier launcher.exe to compare with)\n");
        return 2;
    }
    std::wstring launcher = bin + L"\\launcher.exe";
    // The launcher composes exactly this engine command line for the link.
    const std::wstring whitelisted = L"\"kelvra://play.kelvra.net:27961/\"",
                       other = L"\"kelvra://arena.example.org:27962/\"",
                       engineLine = engine + L" +set fs_game kelvra +connect \"play.kelvra.net:27961\"";
    const wchar_t *floorTitle = L"Bare window";

    std::vector<double> autostart, registryFloor, bareFloor, window, windowFloor, controlsFloor, memory,
        memoryFloor, autostartBefore, windowBefore, memoryBefore;
    SIZE_T peak, floorPeak, beforePeak = 0;
    for (int i = -1; i < runs; ++i) { // run -1 warms up and is not counted
        double a = AutostartRun(launcher, whitelisted, record);
        double b = AutostartRun(bin + L"\\floor_autostart_registry.exe", engineLine, record);
        double c = AutostartRun(bin + L"\\floor_autostart.exe", engineLine, record);
        double d = WindowRun(launcher, other, Title, &peak);
        double e = WindowRun(bin + L"\\floor_window.exe", L"", floorTitle, &floorPeak);
        double f = WindowRun(bin + L"\\floor_window_controls.exe", L"", floorTitle, &floorPeak);
        double g = before.empty() ? 0 : AutostartRun(before, whitelisted, record);
        double h = before.empty() ? 0 : WindowRun(before, other, Title, &beforePeak);
        if (i < 0)
            continue;
        autostart.push_back(a), registryFloor.push_back(b), bareFloor.push_back(c);
        window.push_back(d), windowFloor.push_back(e), controlsFloor.push_back(f);
        memory.push_back(peak / 1024.0), memoryFloor.push_back(floorPeak / 1024.0);
        autostartBefore.push_back(g), windowBefore.push_back(h), memoryBefore.push_back(beforePeak / 1024.0);
    }

    printf("| %d runs each | launcher min / median / max | floor min / median / max | median ratio | goal |\n", runs);
    printf("|---|---|---|---|---|\n");
    Row("Autostart road against the true floor (reads the same registry values, then starts the engine)", "ms",
        autostart, registryFloor, 1.05);
    Row("Window road (start to window visible)", "ms", window, windowFloor, 1.10);
    Row("Peak working set, window open (floor: twelve controls)", "KiB", memory, memoryFloor, 1.10);
    Row("For reference: autostart against a bare CreateProcessW", "ms", autostart, bareFloor, 1.05);
    Row("For reference: window against a floor with twelve controls", "ms", window, controlsFloor, 1.10);
    if (!before.empty()) {
        Row("Against the earlier build (as floor): autostart road", "ms", autostart, autostartBefore, 1.05);
        Row("Against the earlier build (as floor): window road", "ms", window, windowBefore, 1.05);
        Row("Against the earlier build (as floor): peak working set", "KiB", memory, memoryBefore, 1.05);
    }
    return 0;
}
