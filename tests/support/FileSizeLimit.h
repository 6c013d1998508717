#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `step` in a child process whose files may not grow past `limit`
// bytes, as on a disk that fills up half way through a write; the child's
// exit status is its answer.
inline int withFileSizeLimit(rlim_t limit, const std::function<int()>& step) {
    pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{limit, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) ::_exit(3);
        ::_exit(step());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
