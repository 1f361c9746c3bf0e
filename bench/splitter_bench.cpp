// Throughput of splitIntoParts on typed-looking text of growing size. Linear
// behaviour shows as a time ratio close to the size ratio (10) between rows.
//
//   splitter_bench                  table of MB/s and ratios
//   splitter_bench --once BYTES     one split of one text, e.g. under callgrind

#include "Splitter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::int32_t charactersPerMessage = 120;

std::string generateText(std::size_t size)
{
    std::mt19937 engine(12345);
    std::uniform_int_distribution<int> wordLength(1, 12);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::uniform_int_distribution<int> separator(0, 99);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        for (int i = wordLength(engine); i > 0; --i) {
            text += static_cast<char>(letter(engine));
        }
        const int kind = separator(engine);
        text += kind < 90 ? " " : kind < 96 ? "  " : " \n";
    }
    text.resize(size);
    return text;
}

struct Summary
{
    std::size_t parts = 0;
    std::size_t bytes = 0;
};

Summary splitOnce(std::string_view text)
{
    const brevio::SplitResult result = brevio::splitIntoParts(text, charactersPerMessage);
    Summary summary{result.parts.size(), 0};
    for (const std::string &part : result.parts) {
        summary.bytes += part.size();
    }
    return summary;
}

double medianSeconds(std::string_view text, int runs, Summary &summary)
{
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        summary = splitOnce(text);
        const auto stop = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(stop - start).count());
    }
    std::nth_element(seconds.begin(), seconds.begin() + runs / 2, seconds.end());
    return seconds[static_cast<std::size_t>(runs / 2)];
}

int runOnce(const char *sizeArgument)
{
    char *end = nullptr;
    const unsigned long long size = std::strtoull(sizeArgument, &end, 10);
    if (end == sizeArgument || *end != '\0' || size == 0) {
        std::fprintf(stderr, "--once needs a size in bytes\n");
        return 2;
    }
    const std::string text = generateText(size);
    const Summary summary = splitOnce(text);
    std::printf("bytes %zu parts %zu output bytes %zu\n", text.size(), summary.parts,
                summary.bytes);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--once") {
        return runOnce(argv[2]);
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--once SIZE_BYTES]\n", argv[0]);
        return 2;
    }
    std::printf("N = %d, median of several runs\n", charactersPerMessage);
    std::printf("%12s %10s %10s %10s %8s\n", "bytes", "parts", "ms", "MB/s", "ratio");
    double previousSeconds = 0;
    for (const std::size_t size : {100'000u, 1'000'000u, 10'000'000u}) {
        const std::string text = generateText(size);
        Summary summary;
        const double seconds = medianSeconds(text, size < 10'000'000u ? 15 : 7, summary);
        const double megabytesPerSecond = static_cast<double>(size) / 1e6 / seconds;
        std::printf("%12zu %10zu %10.3f %10.1f", size, summary.parts, seconds * 1e3,
                    megabytesPerSecond);
        if (previousSeconds > 0) {
            std::printf(" %8.2f", seconds / previousSeconds);
        }
        std::printf("\n");
        previousSeconds = seconds;
    }
    return 0;
}
