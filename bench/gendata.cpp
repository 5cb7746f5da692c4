// plotwell-gendata: writes a deterministic data file for benchmarks.
// The same arguments always give the same bytes.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void usage()
{
    std::fputs("usage: plotwell-gendata [--series N] [--points M] [--xy] [--names] OUTFILE\n"
               "  N lines (series, default 1) of M values (default 1000000) with two decimals;\n"
               "  --xy writes (X, Y) points with distinct X; --names ends each line with a name.\n",
               stderr);
}

// A small linear congruential generator: fixed, portable, reproducible.
struct Lcg
{
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    std::uint32_t next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state >> 33);
    }
};

} // namespace

int main(int argc, char** argv)
{
    long series = 1;
    long points = 1000000;
    bool xy = false;
    bool names = false;
    const char* out = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--series") && i + 1 < argc)
            series = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--points") && i + 1 < argc)
            points = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--xy"))
            xy = true;
        else if (!std::strcmp(argv[i], "--names"))
            names = true;
        else if (argv[i][0] == '-') {
            usage();
            return 2;
        } else
            out = argv[i];
    }
    if (!out || series < 1 || points < 1) {
        usage();
        return 2;
    }
    std::FILE* f = std::fopen(out, "wb");
    if (!f) {
        std::perror(out);
        return 1;
    }
    Lcg rng;
    std::vector<char> buf(1 << 20);
    std::size_t used = 0;
    auto flush = [&] {
        std::fwrite(buf.data(), 1, used, f);
        used = 0;
    };
    auto put = [&](const char* s, std::size_t n) {
        if (used + n > buf.size())
            flush();
        std::memcpy(buf.data() + used, s, n);
        used += n;
    };
    auto putCents = [&](long long cents) { // value with two decimals
        char tmp[32];
        char* p = tmp;
        if (cents < 0) {
            *p++ = '-';
            cents = -cents;
        }
        p = std::to_chars(p, tmp + sizeof tmp, cents / 100).ptr;
        *p++ = '.';
        *p++ = static_cast<char>('0' + (cents % 100) / 10);
        *p++ = static_cast<char>('0' + cents % 10);
        put(tmp, static_cast<std::size_t>(p - tmp));
    };
    put("; generated benchmark data\n", 27);
    for (long s = 0; s < series; ++s) {
        long long level = 10000 + 1000 * s; // a random walk around 100.00 + 10 per series
        for (long i = 0; i < points; ++i) {
            level += static_cast<long long>(rng.next() % 201) - 100;
            if (xy) {
                put("(", 1);
                char tmp[24];
                auto r = std::to_chars(tmp, tmp + sizeof tmp, i + 1);
                put(tmp, static_cast<std::size_t>(r.ptr - tmp));
                put(", ", 2);
                putCents(level);
                put(")", 1);
            } else {
                putCents(level);
            }
            if (i + 1 < points)
                put(" ", 1);
        }
        if (names) {
            const std::string name = " ;Series " + std::to_string(s + 1);
            put(name.data(), name.size());
        }
        put("\n", 1);
    }
    flush();
    return std::fclose(f) == 0 ? 0 : 1;
}
