#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "stdin_feed.h"

StdinFeed::StdinFeed(std::string bytes) : bytes_(std::move(bytes)) {
  signal(SIGPIPE, SIG_IGN);
  // Saved first: where this process runs without a standard input, the
  // pipe's reading end becomes descriptor 0 by itself.
  saved_stdin_ = dup(STDIN_FILENO);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  if (ends[0] != STDIN_FILENO) {
    dup2(ends[0], STDIN_FILENO);
    close(ends[0]);
  }
  clearerr(stdin);
  write_end_ = ends[1];
  writer_ = std::thread([this] {
    std::size_t done = 0;
    while (done < bytes_.size()) {
      const ssize_t step = write(write_end_, bytes_.data() + done, bytes_.size() - done);
      if (step < 0 && errno == EINTR) continue;
      if (step <= 0) break;
      done += static_cast<std::size_t>(step);
    }
    close(write_end_);
  });
}

StdinFeed::~StdinFeed() {
  // Whatever was not read is thrown away with the pipe.
  if (saved_stdin_ >= 0) {
    dup2(saved_stdin_, STDIN_FILENO);
    close(saved_stdin_);
  } else {
    close(STDIN_FILENO);
  }
  if (writer_.joinable()) writer_.join();
  clearerr(stdin);
}
