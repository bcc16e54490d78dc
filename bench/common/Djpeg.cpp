#include "Djpeg.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

double DjpegCpuMs(const QByteArray& path) {
    char program[] = "djpeg";
    char outfileOption[] = "-outfile";
    char devNull[] = "/dev/null";
    QByteArray file = path;
    char* argv[] = {program, outfileOption, devNull, file.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}
