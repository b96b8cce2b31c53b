#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform_facts.h"
#include "startup/startup.h"
#include "text/text.h"

namespace {

std::string trace;

void First() {
  trace += "first;";
}
void Second() {
  trace += "second;";
}
void Third() {
  trace += "third;";
}
void Announce() {
  std::fputs("end routine ran\n", stderr);
}

class EndRoutineListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RunEndRoutines();  // start from an empty list
    trace.clear();
  }
};

TEST_F(EndRoutineListTest, RunsEachRoutineOnceInRegistrationOrderThenEmpties) {
  RegisterEndRoutine(Second);
  RegisterEndRoutine(First);
  RegisterEndRoutine(Second);  // already there: no second entry
  RegisterEndRoutine(Third);
  RegisterEndRoutine(First);
  EXPECT_EQ(CountEndRoutines(), 3u);
  RunEndRoutines();
  EXPECT_EQ(trace, "second;first;third;");
  EXPECT_EQ(CountEndRoutines(), 0u);
  RunEndRoutines();
  EXPECT_EQ(trace, "second;first;third;");
}

TEST_F(EndRoutineListTest, GrowsPastItsFirstBlock) {
  // Distinct routines are distinct addresses; a lambda without captures
  // converts to one.
  static std::string order;
  order.clear();
  RegisterEndRoutine([] { order += 'a'; });
  RegisterEndRoutine([] { order += 'b'; });
  RegisterEndRoutine([] { order += 'c'; });
  RegisterEndRoutine([] { order += 'd'; });
  RegisterEndRoutine([] { order += 'e'; });
  RegisterEndRoutine([] { order += 'f'; });
  RunEndRoutines();
  EXPECT_EQ(order, "abcdef");
}

TEST(FatalErrorDeathTest, AnExhaustedHeapEndsWithTheFatalStatusAndRunsNoEndRoutine) {
  using ::testing::HasSubstr;
  using ::testing::Not;
  const ShellFacts& facts = HostShellFacts();
  // Where the words go to a message box instead (Windows), standard error
  // holds nothing of them.
  const auto words =
      facts.fatal_words_on_standard_error
          ? ::testing::Matcher<const std::string&>(HasSubstr(" 9223372036854775807 "))
          : Not(HasSubstr("9223372036854775807"));
  EXPECT_EXIT(
      {
        RegisterEndRoutine(Announce);
        AllocBlock(SIZE_MAX / 2);
        ShutDown();
      },
      ::testing::ExitedWithCode(facts.fatal_exit_status),
      ::testing::AllOf(words, Not(HasSubstr("end routine ran"))));
}

}  // namespace
