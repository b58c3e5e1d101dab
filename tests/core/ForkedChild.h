#pragma once

#include <functional>

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zarnel::test
{

// Runs body in a child process (optionally as another account) and returns its pid; the child
// exits with body's result. A child that hangs is ended after a while.
inline pid_t startChild(const std::function<int()>& body, uid_t account = (uid_t)-1)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::alarm(30);
    if (account != (uid_t)-1
        && (::setgroups(0, nullptr) != 0 || ::setgid((gid_t)account) != 0 || ::setuid(account) != 0))
        ::_exit(100);
    ::_exit(body());
}

// The child's exit code, or -1 when it did not exit by itself.
inline int waitForChild(pid_t pid)
{
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline constexpr uid_t otherAccount = 65534; // nobody

} // namespace zarnel::test
