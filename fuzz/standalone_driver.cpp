// Runs a fuzz target without libFuzzer: well-formed seeds from the target (if it gives any),
// then random inputs and mutations of those seeds. Deterministic, so a failure repeats.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
// A target may define this to hand the driver valid inputs to mutate.
std::vector<std::string> knit_fuzz_seeds() __attribute__((weak));

static void runOne(const std::string &input)
{
    // A heap copy of exactly the input's size, so reads past the end are real overreads.
    std::vector<uint8_t> buf(input.begin(), input.end());
    LLVMFuzzerTestOneInput(buf.empty() ? nullptr : buf.data(), buf.size());
}

int main(int argc, char **argv)
{
    long runs = 10000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-runs=", 6) == 0)
            runs = std::atol(argv[i] + 6);
    }
    std::vector<std::string> seeds = knit_fuzz_seeds ? knit_fuzz_seeds() : std::vector<std::string>();
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
    std::printf("standalone fuzz driver: %ld runs, no crash\n", runs + static_cast<long>(seeds.size()));
    return 0;
}
