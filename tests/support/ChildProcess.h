#pragma once

// A program started by a test, with its stdout and stderr on pipes. Waits are
// generous time-outs that only stop a hung test, never timing assertions.

#include <csignal>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace veskar::testing {

class ChildProcess {
public:
    static constexpr int kGenerousMs = 10000;

    struct Finished {
        int status = -1;
        std::string out;
        std::string err;
    };

    ChildProcess(std::string program, std::vector<std::string> arguments)
    {
        int out[2];
        int err[2];
        if (::pipe(out) != 0)
            return;
        if (::pipe(err) != 0) {
            ::close(out[0]);
            ::close(out[1]);
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::close(out[0]);
            ::close(err[0]);
            std::vector<char*> argv{program.data()};
            for (std::string& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }

    ~ChildProcess()
    {
        if (pid_ > 0 && !finished_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            ::close(out_);
        if (err_ >= 0)
            ::close(err_);
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The first line on stdout, or what came of it before the time-out.
    std::string firstLine()
    {
        std::string line;
        char c = 0;
        while (line.empty() || line.back() != '\n') {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, kGenerousMs) <= 0 || ::read(out_, &c, 1) != 1)
                break;
            line += c;
        }
        return line;
    }

    // Sends `signal` (when not 0) and collects the rest of the output and the status.
    Finished finish(int signal = 0)
    {
        if (signal)
            ::kill(pid_, signal);
        Finished run;
        run.out = drain(out_);
        run.err = drain(err_);
        ::waitpid(pid_, &run.status, 0);
        finished_ = true;
        return run;
    }

private:
    static std::string drain(int fd)
    {
        std::string text;
        char buffer[4096];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, kGenerousMs) <= 0)
                break;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool finished_ = false;
};

}  // namespace veskar::testing
