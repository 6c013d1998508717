#include "printer/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class Pipe {
  public:
    Pipe() {
        if (::pipe2(m_fd, O_CLOEXEC) != 0) m_fd[0] = m_fd[1] = -1;
    }
    ~Pipe() {
        closeEnd(0);
        closeEnd(1);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    bool ok() const { return m_fd[0] >= 0; }
    int end(int i) const { return m_fd[i]; }
    void closeEnd(int i) {
        if (m_fd[i] >= 0) ::close(m_fd[i]);
        m_fd[i] = -1;
    }

  private:
    int m_fd[2];
};

// The environment with messages forced to the C locale, built before the
// fork because the child may only call what is safe there.
std::vector<std::string> cLocaleEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "LC_ALL=", 7) != 0 && std::strncmp(*e, "LANGUAGE=", 9) != 0)
            env.emplace_back(*e);
    env.emplace_back("LC_ALL=C");
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    out.reserve(strings.size() + 1);
    for (std::string& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

[[noreturn]] void becomeChild(Pipe& in, Pipe& out, Pipe& err, Pipe& execFailed, char** argv,
                              char** envp, const sigset_t& mask) {
    ::sigprocmask(SIG_SETMASK, &mask, nullptr);
    // A group of its own, so that ending it at the deadline ends its helpers too.
    ::setpgid(0, 0);
    ::dup2(in.end(0), 0);
    ::dup2(out.end(1), 1);
    ::dup2(err.end(1), 2);
    ::execvpe(argv[0], argv, envp);
    int e = errno;
    ssize_t ignored = ::write(execFailed.end(1), &e, sizeof e);
    (void)ignored;
    ::_exit(127);
}

void setNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// Feeds the input and gathers the output until both are done or time is up.
void talk(Pipe& in, Pipe& out, Pipe& err, std::string_view input, ChildResult& result,
          const Deadline& deadline) {
    setNonBlocking(in.end(1));
    setNonBlocking(out.end(0));
    setNonBlocking(err.end(0));
    size_t sent = 0;
    if (input.empty()) in.closeEnd(1);
    while ((in.end(1) >= 0 || out.end(0) >= 0 || err.end(0) >= 0) && !deadline.passed()) {
        pollfd p[3] = {{in.end(1), POLLOUT, 0}, {out.end(0), POLLIN, 0}, {err.end(0), POLLIN, 0}};
        if (::poll(p, 3, deadline.msLeft()) < 0 && errno != EINTR) return;
        if (p[0].revents) {
            ssize_t n = ::write(in.end(1), input.data() + sent, input.size() - sent);
            if (n > 0) sent += static_cast<size_t>(n);
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || sent == input.size())
                in.closeEnd(1);
        }
        Pipe* readers[] = {&out, &err};
        std::string* texts[] = {&result.output, &result.errors};
        for (int i = 0; i < 2; ++i) {
            if (!p[i + 1].revents) continue;
            char buf[4096];
            ssize_t n = ::read(readers[i]->end(0), buf, sizeof buf);
            if (n > 0)
                texts[i]->append(buf, static_cast<size_t>(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                readers[i]->closeEnd(0);
        }
    }
}

void waitForEnd(pid_t pid, ChildResult& result, const Deadline& deadline) {
    int status = 0;
    for (;;) {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) break;
        if (r < 0 && errno != EINTR) return;
        if (deadline.passed()) {
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return;
        }
        ::usleep(10000);
    }
    result.finished = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

ChildResult RunChild(const std::vector<std::string>& argv, std::string_view input,
                     const Deadline& deadline) {
    ChildResult result;
    Pipe in, out, err, execFailed;
    if (argv.empty() || !in.ok() || !out.ok() || !err.ok() || !execFailed.ok()) return result;
    std::vector<std::string> args = argv;
    std::vector<std::string> env = cLocaleEnvironment();
    std::vector<char*> argp = pointers(args), envp = pointers(env);

    // A program that ends before taking all its input must not end us.
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);

    pid_t pid = ::fork();
    if (pid == 0) becomeChild(in, out, err, execFailed, argp.data(), envp.data(), previous);
    if (pid > 0) {
        in.closeEnd(0);
        out.closeEnd(1);
        err.closeEnd(1);
        execFailed.closeEnd(1);
        int execErrno = 0;
        result.started = ::read(execFailed.end(0), &execErrno, sizeof execErrno) <= 0;
        if (result.started) talk(in, out, err, input, result, deadline);
        in.closeEnd(1);
        waitForEnd(pid, result, deadline);
    }
    timespec noWait{0, 0};
    while (::sigtimedwait(&pipeSignal, nullptr, &noWait) > 0) {
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return result;
}

std::string FirstLine(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return {};
    size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
