// Throughput of the template filling on templates of 1 KB, 1 MB and 64 MB, in a single-byte
// code page and in code page 932, whose lead bytes the scan must step over.
#include "generate/template_fill.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr generate::ByteRange kJapaneseLeadBytes[] = {{0x81, 0x9F}, {0xE0, 0xFC}};

std::string make_template(std::size_t bytes) {
    const std::string line = "xcopy \"PATHtoFOLDER\\data\" \"%TARGET%\\data\" /e /i /y\r\n";
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes) {
        text += line;
    }
    text.resize(bytes);
    return text;
}

void fill(benchmark::State& state, const generate::LeadBytes& lead_bytes) {
    const std::string text = make_template(static_cast<std::size_t>(state.range(0)));
    std::string filled;
    for (auto _ : state) {
        generate::TemplateFiller filler("C:\\Program Files\\Avira\\Antivir Desktop", lead_bytes);
        filler.fill(text, filled);
        benchmark::DoNotOptimize(filled.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK_CAPTURE(fill, single_byte, generate::LeadBytes())
    ->Arg(1 << 10)
    ->Arg(1 << 20)
    ->Arg(64 << 20)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fill, code_page_932, generate::LeadBytes(kJapaneseLeadBytes))
    ->Arg(1 << 10)
    ->Arg(1 << 20)
    ->Arg(64 << 20)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
