#include "bench/measured_run.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

namespace kpr::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The fixed part of the message a child sends back.
struct Wire {
  double seconds;
  uint64_t rows;
  uint64_t checksum;
  uint32_t error_size;
};

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

std::string ReadAll(int fd) {
  std::string out;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

// Waits for pid; fills the peak memory and turns the exit status into an
// error when the child did not end normally with status 0.
void Reap(pid_t pid, Measurement* m) {
  int status = 0;
  struct rusage usage {};
  pid_t r;
  do {
    r = ::wait4(pid, &status, 0, &usage);
  } while (r < 0 && errno == EINTR);
  if (r < 0) {
    m->ok = false;
    m->error = std::string("wait4: ") + std::strerror(errno);
    return;
  }
  m->peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
  if (WIFSIGNALED(status)) {
    m->ok = false;
    m->error = "killed by signal " + std::to_string(WTERMSIG(status));
  } else if (WEXITSTATUS(status) != 0) {
    m->ok = false;
    if (m->error.empty()) m->error = "exit status " + std::to_string(WEXITSTATUS(status));
  }
}

}  // namespace

Measurement MeasuredRun::InChild(const std::function<StepOutcome()>& body) {
  Measurement m;
  int fds[2];
  if (::pipe(fds) != 0) {
    m.error = std::string("pipe: ") + std::strerror(errno);
    return m;
  }
  std::fflush(nullptr);
  ::sync();
  const pid_t pid = ::fork();
  if (pid < 0) {
    m.error = std::string("fork: ") + std::strerror(errno);
    ::close(fds[0]);
    ::close(fds[1]);
    return m;
  }
  if (pid == 0) {
    ::close(fds[0]);
    StepOutcome outcome;
    const Clock::time_point start = Clock::now();
    try {
      outcome = body();
    } catch (const std::exception& e) {
      outcome.error = e.what();
    } catch (...) {
      outcome.error = "unknown exception";
    }
    const double seconds = outcome.seconds >= 0 ? outcome.seconds : Since(start);
    const Wire w{seconds, outcome.rows, outcome.checksum,
                 static_cast<uint32_t>(outcome.error.size())};
    std::fflush(nullptr);
    const bool sent = WriteAll(fds[1], &w, sizeof w) &&
                      WriteAll(fds[1], outcome.error.data(), outcome.error.size());
    ::_exit(sent && outcome.error.empty() ? 0 : 1);
  }
  ::close(fds[1]);
  const std::string reply = ReadAll(fds[0]);
  ::close(fds[0]);
  if (reply.size() >= sizeof(Wire)) {
    Wire w;
    std::memcpy(&w, reply.data(), sizeof w);
    m.seconds = w.seconds;
    m.rows = w.rows;
    m.checksum = w.checksum;
    m.error = reply.substr(sizeof w, w.error_size);
    m.ok = m.error.empty();
  } else {
    m.error = "the step's process sent no result";
  }
  Reap(pid, &m);
  return m;
}

Measurement MeasuredRun::Command(const std::vector<std::string>& argv) {
  Measurement m;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::fflush(nullptr);
  ::sync();
  const Clock::time_point start = Clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) {
    m.error = std::string("fork: ") + std::strerror(errno);
    return m;
  }
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, STDOUT_FILENO);
    ::execvp(args[0], args.data());
    std::fprintf(stderr, "kpr_bench: cannot run %s: %s\n", args[0], std::strerror(errno));
    ::_exit(127);
  }
  m.ok = true;
  Reap(pid, &m);
  m.seconds = Since(start);
  return m;
}

double MeasuredRun::SelfPeakMb() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace kpr::bench
