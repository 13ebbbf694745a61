// VorlaRecomp on POSIX: runs python/python.exe (or pythonw.exe) from the executable's
// folder on app/launcher/launcher.py with our arguments, and returns its exit code.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "launch_paths.h"

namespace {

std::string own_folder() {
    char path[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", path, PATH_MAX);
    if (n < 0) return ".";
    path[n] = '\0';
    return std::string(path, launcher::folder_length(path, '/'));
}

int report_start_failure() {
    std::fprintf(stderr, "%s: %s\n", launcher::kStartFailureTitle, launcher::kStartFailureText);
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    const std::string folder = own_folder();
    bool console = false;
    for (int i = 1; i < argc; ++i) console = console || launcher::wants_console(argv[i]);

    const std::string interpreter = folder + (console ? "/python/python.exe" : "/python/pythonw.exe");
    const std::string script = folder + "/app/launcher/launcher.py";
    std::vector<char *> args;
    args.push_back(const_cast<char *>(interpreter.c_str()));
    args.push_back(const_cast<char *>(script.c_str()));
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);

    // The child reports a failed exec through this pipe; a successful exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return report_start_failure();
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return report_start_failure();
    }
    if (child == 0) {
        close(report[0]);
        int error = 0;
        if (chdir(folder.c_str()) == 0) execv(interpreter.c_str(), args.data());
        error = errno;
        ssize_t written = write(report[1], &error, sizeof error);
        (void)written;
        _exit(127);
    }
    close(report[1]);
    // Like system(): a Ctrl+C in the terminal reaches the interpreter, which decides
    // how to end; we keep waiting for its exit code.
    signal(SIGINT, SIG_IGN);
    signal(SIGQUIT, SIG_IGN);
    int child_error = 0;
    ssize_t got;
    do got = read(report[0], &child_error, sizeof child_error);
    while (got < 0 && errno == EINTR);
    close(report[0]);

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (got > 0) return report_start_failure();
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}
