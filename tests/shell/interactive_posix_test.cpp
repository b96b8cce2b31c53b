// The built program in a terminal, used as a person would: tmux runs it in a
// pane of its own server, send-keys types and capture-pane reads the screen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "installation.h"
#include "shell_words.h"

namespace {

// A shell word in single quotes, for the command lines below.
std::string Quote(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// A tmux server of this test's own (never the user's), holding one session,
// "shell", that runs the program in a UTF-8 locale and, when it has ended,
// writes "[ended <status>]" where the terminal's cursor then is.
class TmuxSession {
 public:
  explicit TmuxSession(const Installation& installation) {
    static std::atomic<int> sessions{0};
    socket_ = "qs-test-" + std::to_string(getpid()) + "-" + std::to_string(sessions++);
    const std::string program = "cd " + Quote(installation.root.path().string()) +
                                " && LC_ALL=C.UTF-8 " + Quote(installation.program.string()) +
                                "; echo \"[ended $?]\"; exec sleep 120";
    started_ = Do("new-session -d -s shell -x 200 -y 40 " + Quote(program), &status_);
    socket_path_ = Do("display-message -p -t shell '#{socket_path}'");
    if (!socket_path_.empty() && socket_path_.back() == '\n') socket_path_.pop_back();
  }
  ~TmuxSession() {
    // Ending the only session ends the server; its socket file stays behind.
    Do("kill-session -t shell");
    if (status_ == 0 && !socket_path_.empty()) unlink(socket_path_.c_str());
  }
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  bool Started(std::string* why) const {
    *why = started_;
    return status_ == 0;
  }

  // Runs a tmux command on this server; returns what it printed.
  std::string Do(const std::string& arguments, int* status = nullptr) const {
    const std::string command =
        "env -u TMUX LC_ALL=C.UTF-8 tmux -u -L " + socket_ + " -f /dev/null " + arguments + " 2>&1";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return "popen failed";
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) != 0;)
      out.append(buffer, n);
    const int result = pclose(pipe);
    if (status != nullptr) *status = result;
    return out;
  }

  void Type(const std::string& text) const { Do("send-keys -t shell -l " + Quote(text)); }
  void Press(const std::string& key) const { Do("send-keys -t shell " + key); }

  // The screen's lines, trailing blank lines dropped.
  std::vector<std::string> Screen() const {
    const std::string text = Do("capture-pane -p -t shell");
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
  }

  // Polls the screen until `done` holds, for ten seconds at most; returns
  // the last screen seen.
  std::vector<std::string> AwaitScreen(
      const std::function<bool(const std::vector<std::string>&)>& done) const {
    std::vector<std::string> screen = Screen();
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done(screen) && std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      screen = Screen();
    }
    return screen;
  }

 private:
  std::string socket_;
  std::string socket_path_;
  std::string started_;
  int status_ = -1;
};

// What a terminal shows of the banner: its trailing blank is not kept.
const std::string kBannerOnScreen =
    "\xE6\xAC\xA2\xE8\xBF\x8E\xE6\x9D\xA5\xE5\x88\xB0 QuorvaneShell";

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

bool EndsWith(const std::vector<std::string>& screen, const std::string& tail) {
  return !screen.empty() && screen.back().size() >= tail.size() &&
         screen.back().compare(screen.back().size() - tail.size(), tail.size(), tail) == 0;
}

TEST(Interactive, ShowsItsPromptUnpromptedStartsTheAutoClickerAndEndsOnExit) {
  Installation installation;
  TmuxSession tmux(installation);
  std::string why;
  ASSERT_TRUE(tmux.Started(&why)) << "tmux could not start (make test installs it): " << why;
  const std::string prompt = installation.Prompt();

  // Nothing has been typed: the prompt is there because output to a
  // terminal is flushed.
  std::vector<std::string> screen =
      tmux.AwaitScreen([&](const auto& s) { return EndsWith(s, prompt); });
  EXPECT_EQ(Joined(screen), Joined({kBannerOnScreen, prompt}));

  tmux.Type(Utf8Words().start);
  tmux.Press("Enter");
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1);
  screen = tmux.AwaitScreen([&](const auto& s) { return s.size() == 3; });
  EXPECT_EQ(Joined(screen), Joined({kBannerOnScreen, prompt + Utf8Words().start, prompt}));

  tmux.Type("exit");
  tmux.Press("Enter");
  screen = tmux.AwaitScreen([](const auto& s) { return EndsWith(s, "]"); });
  EXPECT_EQ(Joined(screen),
            Joined({kBannerOnScreen, prompt + Utf8Words().start, prompt + "exit", "[ended 0]"}));
}

TEST(Interactive, CtrlDAtAnEmptyPromptEndsItWithTheCursorOnAFreshLine) {
  Installation installation;
  TmuxSession tmux(installation);
  std::string why;
  ASSERT_TRUE(tmux.Started(&why)) << "tmux could not start (make test installs it): " << why;
  const std::string prompt = installation.Prompt();
  const std::vector<std::string> before =
      tmux.AwaitScreen([&](const auto& s) { return EndsWith(s, prompt); });
  ASSERT_EQ(Joined(before), Joined({kBannerOnScreen, prompt}));

  tmux.Press("C-d");
  // What comes after the program starts on a line of its own.
  const std::vector<std::string> screen =
      tmux.AwaitScreen([](const auto& s) { return EndsWith(s, "]"); });
  EXPECT_EQ(Joined(screen), Joined({kBannerOnScreen, prompt, "[ended 0]"}));
  EXPECT_EQ(CountLines(installation.LaunchRecord()), 0);
}

}  // namespace
