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

void Usage()
{
    std::fputs("usage: plotwell-gendata [--series N] [--points M] [--xy] [--names] [--columns] [--csv] [--noise] "
               "OUTFILE\n"
               "  N lines (series, default 1) of M values (default 1000000) with two decimals;\n"
               "  --xy writes (X, Y) points with distinct X; --names ends each line with a name;\n"
               "  --columns writes the same values as M lines of N columns (X first with --xy),\n"
               "  the layout other plotting programs read; --csv the same with commas between them;\n"
               "  --noise writes values scattered evenly\n"
               "  over 0.00 to 100.00 instead of a random walk.\n",
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

// One series' values: a random walk in hundredths around 100.00 + 10 per series.
struct Walk
{
    Lcg rng;
    long long level;
    bool noise;
    long long next()
    {
        if (noise)
            return rng.next() % 10001;
        level += static_cast<long long>(rng.next() % 201) - 100;
        return level;
    }
};

} // namespace

int main(int argc, char** argv)
{
    long series = 1;
    long points = 1000000;
    bool xy = false;
    bool names = false;
    bool columns = false;
    const char* separator = " "; // between columns
    bool noise = false;
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
        else if (!std::strcmp(argv[i], "--columns"))
            columns = true;
        else if (!std::strcmp(argv[i], "--csv"))
            columns = true, separator = ",";
        else if (!std::strcmp(argv[i], "--noise"))
            noise = true;
        else if (argv[i][0] == '-') {
            Usage();
            return 2;
        } else
            out = argv[i];
    }
    if (!out || series < 1 || points < 1) {
        Usage();
        return 2;
    }
    std::FILE* f = std::fopen(out, "wb");
    if (!f) {
        std::perror(out);
        return 1;
    }
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
    // The series draw from one generator in turn, so series s starts where series s - 1 ended.
    std::vector<Walk> walks;
    Lcg rng;
    for (long s = 0; s < series; ++s) {
        walks.push_back(Walk{rng, 10000 + 1000 * s, noise});
        for (long i = 0; i < points; ++i)
            rng.next();
    }
    auto putNumber = [&](long long n) {
        char tmp[24];
        auto r = std::to_chars(tmp, tmp + sizeof tmp, n);
        put(tmp, static_cast<std::size_t>(r.ptr - tmp));
    };
    if (columns) {
        for (long i = 0; i < points; ++i) {
            if (xy) {
                putNumber(i + 1);
                put(separator, 1);
            }
            for (long s = 0; s < series; ++s) {
                putCents(walks[static_cast<std::size_t>(s)].next());
                put(s + 1 < series ? separator : "\n", 1);
            }
        }
        flush();
        return std::fclose(f) == 0 ? 0 : 1;
    }
    put("; generated benchmark data\n", 27);
    for (long s = 0; s < series; ++s) {
        Walk& walk = walks[static_cast<std::size_t>(s)];
        for (long i = 0; i < points; ++i) {
            const long long level = walk.next();
            if (xy) {
                put("(", 1);
                putNumber(i + 1);
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
