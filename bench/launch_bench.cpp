// Times Brelix.exe against the floor program, in alternating runs, and reads Brelix's
// idle working set:
//
//   launch_bench RUNS
//
// Prints, per program: the median time from process start to a visible window, the
// median time from the release of Go (a left-button release in the Go picture's place)
// to the end of the process, and for Brelix its peak working set once it waits for input.
#include "tests/support/test_support.hpp"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Started {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    double milliseconds_to_window = 0;
};

Started start(const std::wstring& program, const test_support::TempFolder& folder) {
    Started started;
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const auto begin = Clock::now();
    CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                   folder.path().c_str(), &startup, &started.process);
    while (!started.window && Clock::now() - begin < std::chrono::seconds(20)) {
        started.window = test_support::find_visible_window(started.process.dwProcessId, nullptr);
    }
    started.milliseconds_to_window =
        std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
    return started;
}

void end(Started& started) {
    if (WaitForSingleObject(started.process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(started.process.hProcess, 99);
        WaitForSingleObject(started.process.hProcess, 5000);
    }
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
}

void send_mouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// Presses in the Go picture's place, releases, and times the release to the process's end.
double go_to_end(Started& started) {
    WaitForInputIdle(started.process.hProcess, 10000);
    POINT go{184 + 30, 144 + 20};
    ClientToScreen(started.window, &go);
    SetCursorPos(go.x, go.y);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto release = Clock::now();
    send_mouse(MOUSEEVENTF_LEFTUP);
    WaitForSingleObject(started.process.hProcess, 20000);
    return std::chrono::duration<double, std::milli>(Clock::now() - release).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string one_kilobyte_template() {
    std::string text = "@echo off\r\n";
    while (text.size() < 1000) {
        text += "rem PATHtoFOLDER\r\n";
    }
    return text + "exit\r\n";
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    const std::wstring programs[] = {test_support::beside_this_program(L"Brelix.exe"),
                                     test_support::beside_this_program(L"floor_window.exe")};
    std::vector<double> to_window[2];
    std::vector<double> to_end[2];
    SIZE_T idle_working_set = 0;
    for (int run = 0; run < runs; ++run) {
        for (int which = 0; which < 2; ++which) {
            const test_support::TempFolder folder;
            folder.write(L"backup.bat", one_kilobyte_template());
            Started started = start(programs[which], folder);
            to_window[which].push_back(started.milliseconds_to_window);
            if (which == 0 && run == 0) {
                WaitForInputIdle(started.process.hProcess, 10000);
                std::this_thread::sleep_for(std::chrono::seconds(1));
                PROCESS_MEMORY_COUNTERS memory{};
                GetProcessMemoryInfo(started.process.hProcess, &memory, sizeof(memory));
                idle_working_set = memory.PeakWorkingSetSize;
            }
            to_end[which].push_back(go_to_end(started));
            end(started);
            // Lets the script that Go started finish, so it does not slow the next start.
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
    }
    std::printf("brelix %.1f %.1f %zu\nfloor %.1f %.1f\n", median(to_window[0]), median(to_end[0]),
                static_cast<std::size_t>(idle_working_set), median(to_window[1]),
                median(to_end[1]));
    return 0;
}
