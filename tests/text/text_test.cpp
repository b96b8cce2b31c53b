#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/literals.h"
#include "text/encoding.h"
#include "text/text.h"

namespace {

// Compares a Text with expected bytes, telling null apart from "".
std::string Show(Text t) {
  if (t == nullptr) return "<null>";
  std::string shown(1, '"');
  shown.append(t).push_back('"');
  return shown;
}

struct CompareCase {
  Text a;
  Text b;
  int expected;
};

TEST(TextCompare, OrdersByUnsignedBytesWithNullAsEmpty) {
  const CompareCase cases[] = {
      {nullptr, nullptr, 0},
      {nullptr, "", 0},
      {"", nullptr, 0},
      {nullptr, "exit", -1},
      {"exit", nullptr, 1},
      {"exit", "exit", 0},
      {"exit", "exit ", -1},  // a proper prefix is the smaller
      {"exit ", "exit", 1},
      {"exit", "EXIT", 1},  // no case folding
      {"EXIT", "exit", -1},
      {"\xC1\xAC", "z", 1},  // bytes of 0x80 and above are large
      {"z", "\xC1\xAC", -1},
      {"start \xC1\xAC\xB5\xE3\xC6\xF7", "start \xC1\xAC\xB5\xE3\xC6\xF7", 0},
      {"start \xC1\xAC\xB5\xE3\xC6\xF7", "start  \xC1\xAC\xB5\xE3\xC6\xF7", 1},
  };
  for (const CompareCase& c : cases) {
    EXPECT_EQ(TextCompare(c.a, c.b), c.expected) << Show(c.a) << " vs " << Show(c.b);
  }
}

struct ConcatCase {
  std::initializer_list<Text> pieces;
  std::string expected;
};

TEST(TextConcat, JoinsPiecesIntoANewBlockNeverNull) {
  const ConcatCase cases[] = {
      {{"QW\xA3\xBA", nullptr, ">"}, "QW\xA3\xBA>"},
      {{"QW\xA3\xBA", "C:", ">"},
       "QW\xA3\xBA"
       "C:>"},
      {{nullptr, nullptr}, ""},
      {{"", ""}, ""},
      {{"D:\\Tools", "\\wurmak.exe"}, "D:\\Tools\\wurmak.exe"},
      {{"one"}, "one"},
  };
  for (const ConcatCase& c : cases) {
    Text joined = TextConcat(c.pieces);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(std::string(joined), c.expected);
    EXPECT_EQ(TextLength(joined), c.expected.size());
    FreeBlock(joined);
  }
}

TEST(TextCopy, CopiesIntoANewBlockAndGivesNullForEmpty) {
  EXPECT_EQ(TextCopy(nullptr), nullptr);
  EXPECT_EQ(TextCopy(""), nullptr);
  const char source[] = "D:\\Tools";
  Text copy = TextCopy(source);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, source);
  EXPECT_STREQ(copy, source);
  FreeBlock(copy);
}

TEST(TextLength, CountsBytesBeforeTheTerminator) {
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("start \xC1\xAC\xB5\xE3\xC6\xF7"), 12u);
}

TEST(FreeBlock, IgnoresNullAndEveryLiteral) {
  FreeBlock(nullptr);
  for (LiteralForm form : {LiteralForm::kCp936, LiteralForm::kUtf8}) {
    const ShellLiterals& l = LiteralsFor(form);
    for (Text literal :
         {l.banner, l.prompt_head, l.prompt_tail, l.start_command, l.exit_command, l.line_break}) {
      FreeBlock(literal);  // a heap free of a static would be caught here
      EXPECT_NE(literal, nullptr);
    }
  }
  FreeBlock(AutoClickerSuffix(PlatformFamily::kWindows));
  FreeBlock(AutoClickerSuffix(PlatformFamily::kPosix));
}

TEST(AllocBlock, GivesDistinctUsableBlocksEvenForZeroBytes) {
  void* a = AllocBlock(0);
  void* b = AllocBlock(0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  FreeBlock(a);
  FreeBlock(b);
}

struct LiteralBytesCase {
  LiteralForm form;
  std::string banner;
  std::string prompt_head;
  std::string start_command;
};

TEST(ShellLiterals, HoldTheExactBytesOfEachForm) {
  const LiteralBytesCase cases[] = {
      {LiteralForm::kCp936, "\xBB\xB6\xD3\xAD\xC0\xB4\xB5\xBD QuorvaneShell \r\n", "QW\xA3\xBA",
       "\x73\x74\x61\x72\x74\x20\xC1\xAC\xB5\xE3\xC6\xF7"},
      {LiteralForm::kUtf8, "\xE6\xAC\xA2\xE8\xBF\x8E\xE6\x9D\xA5\xE5\x88\xB0 QuorvaneShell \r\n",
       "QW\xEF\xBC\x9A", "start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8"},
  };
  for (const LiteralBytesCase& c : cases) {
    const ShellLiterals& l = LiteralsFor(c.form);
    EXPECT_EQ(std::string(l.banner), c.banner);
    EXPECT_EQ(std::string(l.prompt_head), c.prompt_head);
    EXPECT_EQ(std::string(l.start_command), c.start_command);
    EXPECT_STREQ(l.prompt_tail, ">");
    EXPECT_STREQ(l.exit_command, "exit");
  }
  EXPECT_STREQ(AutoClickerSuffix(PlatformFamily::kWindows), "\\wurmak.exe");
  EXPECT_STREQ(AutoClickerSuffix(PlatformFamily::kPosix), "/wurmak");
}

struct CharsetCase {
  const char* charset;
  LiteralForm fallback;
  LiteralForm expected;
};

TEST(ChooseLiteralForm, PicksCp936ForGbSetsUtf8ForUtf8AndTheFallbackOtherwise) {
  const CharsetCase cases[] = {
      {"GBK", LiteralForm::kUtf8, LiteralForm::kCp936},
      {"gb2312", LiteralForm::kUtf8, LiteralForm::kCp936},
      {"GB18030", LiteralForm::kUtf8, LiteralForm::kCp936},
      {"CP936", LiteralForm::kUtf8, LiteralForm::kCp936},
      {"EUC-CN", LiteralForm::kUtf8, LiteralForm::kCp936},
      {"UTF-8", LiteralForm::kCp936, LiteralForm::kUtf8},
      {"utf8", LiteralForm::kCp936, LiteralForm::kUtf8},
      {"CP65001", LiteralForm::kCp936, LiteralForm::kUtf8},
      // The C locale on POSIX, and Windows code pages other than 65001.
      {"ANSI_X3.4-1968", LiteralForm::kUtf8, LiteralForm::kUtf8},
      {"CP1252", LiteralForm::kCp936, LiteralForm::kCp936},
      {"ISO-8859-1", LiteralForm::kUtf8, LiteralForm::kUtf8},
      {"GBKX", LiteralForm::kUtf8, LiteralForm::kUtf8},  // whole names only
      {"", LiteralForm::kUtf8, LiteralForm::kUtf8},
      {nullptr, LiteralForm::kCp936, LiteralForm::kCp936},
  };
  for (const CharsetCase& c : cases) {
    EXPECT_EQ(ChooseLiteralForm(c.charset, c.fallback), c.expected)
        << (c.charset ? c.charset : "<null>");
  }
}

TEST(FatalText, SpellsTheSizeInFullAndTheReportInBothForms) {
  char message[128];
  FormatAllocationFailure(LiteralForm::kUtf8, SIZE_MAX, message, sizeof message);
  EXPECT_EQ(std::string(message),
            "\xE5\x88\x86\xE9\x85\x8D 18446744073709551615 "
            "\xE5\xAD\x97\xE8\x8A\x82\xE5\x86\x85\xE5\xAD\x98\xE5\xA4\xB1\xE8\xB4\xA5!");
  FormatAllocationFailure(LiteralForm::kCp936, 0, message, sizeof message);
  EXPECT_EQ(std::string(message),
            "\xB7\xD6\xC5\xE4 0 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");

  char report[256];
  const std::size_t length =
      ComposeFatalText(LiteralForm::kCp936, "boom", "\r\n", report, sizeof report);
  EXPECT_EQ(std::string(report, length),
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
            "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
            "boom\r\n");
  EXPECT_STREQ(FatalTitle(LiteralForm::kCp936), "\xB4\xED\xCE\xF3");

  char tiny[8];
  EXPECT_EQ(ComposeFatalText(LiteralForm::kUtf8, "boom", "\n", tiny, sizeof tiny), 7u);
  EXPECT_EQ(tiny[7], '\0');
}

}  // namespace
