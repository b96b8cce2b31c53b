// End-to-end cases that only POSIX has: an unprivileged user and the
// locale's character set.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "installation.h"

namespace {

TEST(ShellEndToEndWhere, AFolderThatCannotBeEnteredLeavesTheShellWorking) {
  Installation installation;
  // Run as an unprivileged user from an opened executable, so that the
  // program runs while its folder refuses entry.
  chmod(installation.directory.c_str(), 0600);
  chmod(installation.root.path().c_str(), 0777);
  const ChildResult result =
      installation.Run("\nexit\n", installation.root.path(), HostShellFacts().environment, true);
  chmod(installation.directory.c_str(), 0700);
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(2));
}

struct LocaleCase {
  const char* locale;
  std::string banner;
  std::string prompt_head;
  std::string start;        // the launch command in this locale's bytes
  std::string other_start;  // the same command in the other encoding
};

const std::string kUtf8Banner =
    "\xE6\xAC\xA2\xE8\xBF\x8E\xE6\x9D\xA5\xE5\x88\xB0 QuorvaneShell \r\n";
const std::string kUtf8Start = "start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8";
const std::string kCp936Banner = "\xBB\xB6\xD3\xAD\xC0\xB4\xB5\xBD QuorvaneShell \r\n";
const std::string kCp936Start = "start \xC1\xAC\xB5\xE3\xC6\xF7";

TEST(ShellEndToEndLocale, SpeaksTheLocalesEncodingGbOrUtf8) {
  const LocaleCase cases[] = {
      {"C", kUtf8Banner, "QW\xEF\xBC\x9A", kUtf8Start, kCp936Start},
      {"C.UTF-8", kUtf8Banner, "QW\xEF\xBC\x9A", kUtf8Start, kCp936Start},
      {"zh_CN.UTF-8", kUtf8Banner, "QW\xEF\xBC\x9A", kUtf8Start, kCp936Start},
      {"zh_CN.GBK", kCp936Banner, "QW\xA3\xBA", kCp936Start, kUtf8Start},
  };
  for (const LocaleCase& c : cases) {
    Installation installation;
    const ChildResult result = installation.Run(c.other_start + "\n" + c.start + "\nexit\n", {},
                                                {std::string("LC_ALL=") + c.locale});
    EXPECT_EQ(result.exit_status, 0) << c.locale;
    std::string expected = c.banner;
    for (int i = 0; i < 3; ++i) expected += c.prompt_head + installation.directory.string() + ">";
    EXPECT_EQ(result.output, expected) << c.locale;
    EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1) << c.locale;
  }
}

}  // namespace
