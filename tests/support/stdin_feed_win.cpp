#include <windows.h>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <io.h>

#include "stdin_feed.h"

StdinFeed::StdinFeed(std::string bytes) : bytes_(std::move(bytes)) {
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, nullptr, 0)) return;
  // Descriptor 0 takes the pipe in text mode, as the C runtime opens a
  // program's standard input.
  const int read_fd = _open_osfhandle(reinterpret_cast<intptr_t>(read_end), _O_RDONLY | _O_TEXT);
  saved_stdin_ = _dup(0);
  _dup2(read_fd, 0);
  _close(read_fd);
  std::clearerr(stdin);
  write_end_ = _open_osfhandle(reinterpret_cast<intptr_t>(write_end), _O_WRONLY | _O_BINARY);
  writer_ = std::thread([this] {
    std::size_t done = 0;
    while (done < bytes_.size()) {
      const int step =
          _write(write_end_, bytes_.data() + done,
                 static_cast<unsigned>(std::min<std::size_t>(bytes_.size() - done, 65536)));
      if (step <= 0) break;
      done += static_cast<std::size_t>(step);
    }
    _close(write_end_);
  });
}

StdinFeed::~StdinFeed() {
  // Whatever was not read is thrown away with the pipe.
  if (saved_stdin_ >= 0) {
    _dup2(saved_stdin_, 0);
    _close(saved_stdin_);
  }
  if (writer_.joinable()) writer_.join();
  std::clearerr(stdin);
}
