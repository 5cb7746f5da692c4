// plotwell-measure: runs a command several times and prints its median wall time and its
// median peak memory, as the whole process saw them. The command's own output is dropped.
// Usage: plotwell-measure RUNS COMMAND [ARGS...]

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || std::atoi(argv[1]) < 1) {
        std::fputs("usage: plotwell-measure RUNS COMMAND [ARGS...]\n"
                   "prints: <median seconds> <median peak MB> <exit status of the last run>\n",
                   stderr);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<double> seconds;
    std::vector<double> megabytes;
    int status = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child < 0) {
            std::perror("fork");
            return 1;
        }
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            execvp(argv[2], argv + 2);
            std::perror(argv[2]);
            _exit(127);
        }
        rusage usage{};
        if (wait4(child, &status, 0, &usage) < 0) {
            std::perror("wait4");
            return 1;
        }
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        megabytes.push_back(static_cast<double>(usage.ru_maxrss) / 1024.0);
    }
    std::printf("%.3f %.0f %d\n", Median(seconds), Median(megabytes),
                WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return 0;
}
