// A trivial checker for bench/batch_run.sh: replaces the file named by its first argument with
// a fixed report, whatever page follows. Only system calls, so that its start-up is as small as
// a compiled program's can be. With BYTES, the report is the fixed one repeated to that size,
// for bench/batch_run_memory.sh.
//
//   batch_run_checker OUTPUT [BYTES] PAGE
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr char Report[] = "line 1 column 1 - Warning: missing <!DOCTYPE> declaration\r\n"
                          "line 3 column 5 - Warning: <img> lacks \"alt\" attribute\r\n"
                          "Info: Document content looks like HTML 4.01 Transitional\r\n"
                          "2 warnings, 0 errors were found!\r\n";

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        return 2;
    }
    std::string report(Report, sizeof Report - 1);
    if (argc == 4) {
        const std::size_t bytes = std::strtoull(argv[2], nullptr, 10);
        while (report.size() < bytes) {
            report += report;
        }
        report.resize(bytes);
    }
    int fd = ::open(argv[1], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return 1;
    }
    bool written = ::write(fd, report.data(), report.size()) == static_cast<ssize_t>(report.size());
    return ::close(fd) == 0 && written ? 0 : 1;
}
