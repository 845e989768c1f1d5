// Throughput of the template filling on templates of 1 KB, 1 MB and 64 MB.
#include "generate/template_fill.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::wstring make_template(std::size_t bytes) {
    const std::wstring line = L"xcopy \"PATHtoFOLDER\\data\" \"%TARGET%\\data\" /e /i /y\r\n";
    std::wstring text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes) {
        text += line;
    }
    text.resize(bytes);
    return text;
}

void fill(benchmark::State& state) {
    const std::wstring text = make_template(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            generate::fill_template(text, L"C:\\Program Files\\Avira\\Antivir Desktop"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(fill)->Arg(1 << 10)->Arg(1 << 20)->Arg(64 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
