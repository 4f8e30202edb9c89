// Hands a libFuzzer target's code-built seeds to libFuzzer, which knows nothing of
// knit_fuzz_seeds(): with KNIT_FUZZ_SEEDS=DIR, one file per seed is written to DIR before
// libFuzzer reads its corpora, so DIR can be named among them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

std::vector<std::string> knit_fuzz_seeds() __attribute__((weak));

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *dir = std::getenv("KNIT_FUZZ_SEEDS");
    if (!dir || !*dir)
        return 0;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    // When DIR is the first corpus folder, libFuzzer adds its finds there (named by their
    // SHA-1); the last run's must not pass for seeds. Nothing else in DIR is touched.
    std::vector<fs::path> stale;
    for (const fs::directory_entry &e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("seed-", 0) == 0 || (name.size() == 40 && name.find_first_not_of("0123456789abcdef") == std::string::npos))
            stale.push_back(e.path());
    }
    for (const fs::path &p : stale)
        fs::remove(p, ec);
    const std::vector<std::string> seeds = knit_fuzz_seeds ? knit_fuzz_seeds() : std::vector<std::string>();
    for (std::size_t i = 0; i < seeds.size() && !ec; ++i) {
        std::ofstream out(fs::path(dir) / ("seed-" + std::to_string(i)), std::ios::binary);
        out.write(seeds[i].data(), std::streamsize(seeds[i].size()));
        if (!out.flush())
            ec = std::make_error_code(std::errc::io_error);
    }
    if (ec) {
        std::fprintf(stderr, "KNIT_FUZZ_SEEDS: cannot write the seeds to %s: %s\n", dir, ec.message().c_str());
        std::exit(1);
    }
    return 0;
}
