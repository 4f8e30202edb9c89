// Runs a fuzz target without libFuzzer: well-formed seeds from the target (if it gives any)
// and the files of the corpus folders named on the command line, then random inputs and
// mutations of them all. Deterministic, so a failure repeats.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
// A target may define this to hand the driver valid inputs to mutate.
std::vector<std::string> knit_fuzz_seeds() __attribute__((weak));

static void runOne(const std::string &input)
{
    // A heap copy of exactly the input's size, so reads past the end are real overreads; as
    // under libFuzzer, an empty input is a valid pointer to no bytes, never a null one.
    const std::unique_ptr<uint8_t[]> copy(new uint8_t[input.size()]);
    std::copy(input.begin(), input.end(), copy.get());
    LLVMFuzzerTestOneInput(copy.get(), input.size());
}

// The inputs a corpus path holds: the file itself, or a folder's files in name order.
static bool readCorpus(const char *path, std::vector<std::string> *out)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<fs::path> files;
    if (fs::is_directory(path, ec)) {
        for (const fs::directory_entry &e : fs::directory_iterator(path, ec)) {
            if (e.is_regular_file(ec))
                files.push_back(e.path());
        }
        std::sort(files.begin(), files.end());
    } else if (fs::is_regular_file(path, ec)) {
        files.push_back(path);
    } else {
        return false;
    }
    if (ec)
        return false;
    for (const fs::path &f : files) {
        std::ifstream in(f, std::ios::binary);
        out->emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad())
            return false;
    }
    return true;
}

int main(int argc, char **argv)
{
    long runs = 10000;
    std::vector<std::string> seeds = knit_fuzz_seeds ? knit_fuzz_seeds() : std::vector<std::string>();
    const std::size_t built = seeds.size();
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-runs=", 6) == 0) {
            runs = std::atol(argv[i] + 6);
        } else if (argv[i][0] != '-' && !readCorpus(argv[i], &seeds)) {
            // A corpus that cannot be read would make the smoke run pass on less than it claims.
            std::fprintf(stderr, "standalone fuzz driver: cannot read corpus %s\n", argv[i]);
            return 2;
        }
    }
    const std::size_t corpus = seeds.size() - built;
    seeds.push_back(std::string());
    for (const std::string &s : seeds)
        runOne(s);
    std::mt19937 rng(12345);
    for (long n = 0; n < runs; ++n) {
        std::string input = seeds[rng() % seeds.size()];
        if (n % 2 == 0 || input.empty()) { // random bytes, now and then a long input
            input.resize(rng() % (n % 10 == 0 ? 4096 : 64));
            for (char &c : input)
                c = static_cast<char>(rng());
        }
        for (int e = n % 2 ? 1 + int(rng() % 8) : 0; e > 0 && !input.empty(); --e) {
            switch (rng() % 4) {
            case 0: input[rng() % input.size()] ^= static_cast<char>(1u << (rng() % 8)); break;
            case 1: input.resize(rng() % input.size()); break;
            case 2: input.insert(input.begin() + long(rng() % input.size()), static_cast<char>(rng())); break;
            default: input[rng() % input.size()] = static_cast<char>(rng() % 2 ? 0xff : 0); break;
            }
        }
        runOne(input);
    }
    std::printf("standalone fuzz driver: %zu seeds, %zu corpus inputs, %ld runs, no crash\n", built, corpus,
                runs + static_cast<long>(seeds.size()));
    return 0;
}
