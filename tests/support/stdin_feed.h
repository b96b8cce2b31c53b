// Makes this process's standard input a real pipe that delivers given bytes
// and then ends, for as long as the object lives.
#pragma once

#include <string>
#include <thread>

class StdinFeed {
 public:
  explicit StdinFeed(std::string bytes);
  ~StdinFeed();
  StdinFeed(const StdinFeed&) = delete;
  StdinFeed& operator=(const StdinFeed&) = delete;

 private:
  std::string bytes_;
  int saved_stdin_ = -1;
  int write_end_ = -1;
  std::thread writer_;
};
