#include "platform/emulated/DetachedProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <tuple>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quenyx::platform {

namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (auto& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::vector<std::string> Environment(const std::vector<std::string>& overrides)
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const auto replaced = [&text](const std::string& over) {
            const std::size_t name = over.find('=');
            return text.size() > name && text.compare(0, name + 1, over, 0, name + 1) == 0;
        };
        if (std::none_of(overrides.begin(), overrides.end(), replaced))
            entries.emplace_back(text);
    }
    entries.insert(entries.end(), overrides.begin(), overrides.end());
    return entries;
}

// Only async-signal-safe calls from here on: the parent may have other threads.
[[noreturn]] void Fail(int reportTo)
{
    const int error = errno;
    std::ignore = ::write(reportTo, &error, sizeof error);
    ::_exit(127);
}

[[noreturn]] void ExecChild(const char* program, char* const* argv, char* const* envp, int devNull, int reportTo)
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fd == devNull ? ::fcntl(fd, F_SETFD, 0) != 0 : ::dup2(devNull, fd) != fd)
            Fail(reportTo);
    }
#ifdef CLOSE_RANGE_CLOEXEC
    // Whatever the console holds open without O_CLOEXEC stays with the console.
    std::ignore = ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(program, argv, envp);
    Fail(reportTo);
}

} // namespace

bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& argv,
                   const std::vector<std::string>& environment)
{
    const std::string file = program.string();
    std::vector<std::string> args = argv.empty() ? std::vector<std::string>{file} : argv;
    std::vector<std::string> env = Environment(environment);
    const auto argp = Pointers(args);
    const auto envp = Pointers(env);

    // The grandchild writes errno here when exec fails; a successful exec closes it (O_CLOEXEC), so the
    // parent learns the outcome without waiting for the program itself.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }

    const pid_t middle = ::fork();
    if (middle == 0) {
        ::setsid();
        // _Fork, unlike fork, is async-signal-safe: this process is the copy of one that may have threads.
        const pid_t child = ::_Fork();
        if (child < 0)
            Fail(report[1]);
        if (child == 0)
            ExecChild(file.c_str(), argp.data(), envp.data(), devNull, report[1]);
        ::_exit(0);
    }
    ::close(report[1]);
    ::close(devNull);
    if (middle < 0) {
        ::close(report[0]);
        return false;
    }

    int childError = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return got == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool IsExecutableFile(const std::filesystem::path& file)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

std::filesystem::path FindInPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty())
            continue;
        auto candidate = std::filesystem::path(folder) / name;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return {};
}

std::filesystem::path ExecutableFolder()
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

} // namespace quenyx::platform
