// A main for fuzz targets in builds without libFuzzer (the test build): replays every file of the
// corpus folders given, then mutates them for a few seconds, all under the build's sanitizers. Not a
// replacement for tools/fuzz.sh; it keeps every target building and running on each test run.
//
//   fuzz_replay_<target> [--seconds N] [--seed N] CORPUS_DIR...
//
// When a sanitizer or a target's own check stops the program, the input that did it is written to
// crash-<seed>-<run> (or crash-corpus-<n>) in the current folder.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

using Input = std::vector<uint8_t>;

constexpr size_t maxMutatedSize = 64 * 1024;

Input current;
std::string currentName;

void SaveCurrentInput()
{
    std::ofstream out(currentName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(current.data()), static_cast<std::streamsize>(current.size()));
    std::fprintf(stderr, "fuzz replay: the failing input is in %s\n", currentName.c_str());
}

// A target's own checks end it with abort(), which no sanitizer reports.
void OnAbort(int signal)
{
    SaveCurrentInput();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Run(const Input& input, std::string name)
{
    current = input;
    currentName = std::move(name);
    LLVMFuzzerTestOneInput(current.data(), current.size());
}

// Bytes that parsers of text and binary formats often treat specially.
constexpr uint8_t interesting[] = {0,   1,   0x7F, 0x80, 0xFF, '\n', '\r', ' ', '\t', '/', '=',
                                   '[', ']', '#',  '.',  ':',  '%',  'd',  '0', '1',  '2', '9'};

Input Mutate(const std::vector<Input>& corpus, std::mt19937_64& random)
{
    const auto pick = [&random](size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); };
    Input input = corpus[pick(corpus.size())];
    const int steps = 1 + static_cast<int>(pick(4));
    for (int step = 0; step < steps; ++step) {
        switch (pick(7)) {
        case 0: // flip a bit
            if (!input.empty())
                input[pick(input.size())] ^= static_cast<uint8_t>(1u << pick(8));
            break;
        case 1: // set a byte
            if (!input.empty())
                input[pick(input.size())] = interesting[pick(std::size(interesting))];
            break;
        case 2: // insert bytes
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(pick(input.size() + 1)), 1 + pick(8),
                         static_cast<uint8_t>(random()));
            break;
        case 3: { // erase a range
            if (input.empty())
                break;
            const size_t at = pick(input.size());
            const size_t count = 1 + pick(std::min<size_t>(input.size() - at, 64));
            input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                        input.begin() + static_cast<std::ptrdiff_t>(at + count));
            break;
        }
        case 4: { // repeat a range
            if (input.empty())
                break;
            const size_t at = pick(input.size());
            const size_t count = 1 + pick(std::min<size_t>(input.size() - at, 256));
            const Input piece(input.begin() + static_cast<std::ptrdiff_t>(at),
                              input.begin() + static_cast<std::ptrdiff_t>(at + count));
            for (size_t times = 1 + pick(8); times > 0; --times)
                input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(), piece.end());
            break;
        }
        case 5: { // splice in part of another input
            const Input& other = corpus[pick(corpus.size())];
            if (other.empty())
                break;
            const size_t from = pick(other.size());
            const size_t count = 1 + pick(other.size() - from);
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(pick(input.size() + 1)),
                         other.begin() + static_cast<std::ptrdiff_t>(from),
                         other.begin() + static_cast<std::ptrdiff_t>(from + count));
            break;
        }
        default: // cut the end off
            input.resize(pick(input.size() + 1));
            break;
        }
    }
    if (input.size() > maxMutatedSize)
        input.resize(maxMutatedSize);
    return input;
}

Input ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Input(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = 3;
    uint64_t seed = 1;
    std::vector<Input> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(arg, error)) {
                if (entry.is_regular_file())
                    corpus.push_back(ReadFile(entry.path()));
            }
            if (error) {
                std::fprintf(stderr, "fuzz replay: cannot read %s: %s\n", argv[i], error.message().c_str());
                return 2;
            }
        }
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "fuzz replay: no corpus files given\n");
        return 2;
    }
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(SaveCurrentInput);
    std::signal(SIGABRT, OnAbort);

    for (size_t i = 0; i < corpus.size(); ++i)
        Run(corpus[i], "crash-corpus-" + std::to_string(i));
    std::mt19937_64 random(seed);
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    uint64_t runs = 0;
    while (std::chrono::steady_clock::now() < until) {
        Run(Mutate(corpus, random), "crash-" + std::to_string(seed) + '-' + std::to_string(runs));
        ++runs;
    }
    std::printf("fuzz replay: %zu corpus inputs and %llu mutations ran cleanly\n", corpus.size(),
                static_cast<unsigned long long>(runs));
    return 0;
}
