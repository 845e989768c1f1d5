// One operation on backup.bat in the working folder per run, so that each run's peak
// memory is its own:
//
//   fill_file_bench make BYTES   writes a template of that size
//   fill_file_bench fill         fills it through the real file layer
//   fill_file_bench floor        copies it through the same layer: a new file beside it,
//                                written, flushed and renamed over it
//   fill_file_bench copy         copies it with CopyFile
//
// Prints the operation's time in milliseconds and the process's peak working set in
// bytes, separated by a blank.
#include "generate/template_fill.hpp"
#include "platform/files.hpp"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

void make_template(std::size_t bytes) {
    const std::string line = "xcopy \"PATHtoFOLDER\\data\" \"%TARGET%\\data\" /e /i /y\r\n";
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes) {
        text += line;
    }
    text.resize(bytes);
    std::ofstream("backup.bat", std::ios::binary) << text;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && argc == 3) {
        make_template(static_cast<std::size_t>(std::strtoull(argv[2], nullptr, 10)));
        return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::wstring script = platform::full_path(L"backup.bat");
    if (mode == "copy") {
        CopyFileW(L"backup.bat", L"backup-copy.bat", FALSE);
    } else if (mode == "floor") {
        platform::rewrite_file(script,
                               [](std::string_view piece, std::string& out) { out.assign(piece); });
    } else if (mode == "fill") {
        generate::TemplateFiller filler("C:\\Program Files\\Avira\\Antivir Desktop", {});
        platform::rewrite_file(
            script, [&](std::string_view piece, std::string& out) { filler.fill(piece, out); });
    } else {
        std::fprintf(stderr, "usage: fill_file_bench make BYTES | fill | floor | copy\n");
        return 2;
    }
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("%.3f %zu\n", elapsed, static_cast<std::size_t>(memory.PeakWorkingSetSize));
    return 0;
}
