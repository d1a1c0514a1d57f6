#include "t800/programs/tests/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace t800test {

ChildResult RunChild(const std::vector<std::string>& argv, const std::string& input, int timeout_seconds) {
  ChildResult result;
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return result;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  signal(SIGPIPE, SIG_IGN);
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  std::size_t written = 0;
  int to_child = in[1];
  if (input.empty()) close(to_child), to_child = -1;
  int from_child[2] = {out[0], err[0]};
  std::string* sinks[2] = {&result.out, &result.err};
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  bool timed_out = false;
  while (from_child[0] >= 0 || from_child[1] >= 0) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timed_out = true;
      break;
    }
    pollfd fds[3] = {{from_child[0], POLLIN, 0}, {from_child[1], POLLIN, 0}, {to_child, POLLOUT, 0}};
    if (poll(fds, 3, static_cast<int>(left.count())) < 0) break;
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(from_child[k]);
        from_child[k] = -1;
      } else {
        sinks[k]->append(buffer, static_cast<std::size_t>(n));
      }
    }
    if (to_child >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t n = write(to_child, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || written == input.size()) close(to_child), to_child = -1;
    }
  }
  if (timed_out) kill(pid, SIGKILL);
  for (int fd : {to_child, from_child[0], from_child[1]}) {
    if (fd >= 0) close(fd);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!timed_out && WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

}  // namespace t800test
