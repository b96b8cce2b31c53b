#include "hostile_inputs.h"

#include <cstdint>
#include <random>

#include "shell_words.h"

namespace {

constexpr std::size_t kMiB = 1 << 20;
constexpr std::size_t kLineLimit = 2048;

const std::string kUtf8Start = Utf8Words().start;
const std::string kCp936Start = Cp936Words().start;

// std::mt19937 gives the same numbers with every standard library, so a seed
// names the same bytes everywhere.
std::string RandomBytes(std::uint32_t seed, std::size_t count) {
  std::mt19937 random(seed);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

// About `size` bytes of lines assembled from pieces that sit close to the
// commands: both launch commands, near misses, control bytes, NULs, GB lead
// bytes and runs of filler that carry a command across the 2048-byte limit.
// No piece is "exit" on its own; random bytes can still make one.
std::string RandomLines(std::uint32_t seed, std::size_t size) {
  std::mt19937 random(seed);
  const std::string pieces[] = {
      kUtf8Start,
      kCp936Start,
      kUtf8Start + " ",
      " " + kUtf8Start,
      "start",
      "exi",
      "EXIT",
      "exit ",
      "\r",
      "\t",
      std::string(1, '\0'),
      "\x1F",
      "\x81",
      "\xC1",
      "\xE8",
      "\n",
      "\n",
      "\n",
      "\n",
  };
  constexpr std::size_t kPieces = sizeof pieces / sizeof pieces[0];
  std::string out;
  while (out.size() < size) {
    const std::uint32_t pick = random() % (kPieces + 2);
    if (pick < kPieces) {
      out += pieces[pick];
    } else if (pick == kPieces) {
      out += static_cast<char>(random() & 0xFF);
    } else {
      // Filler that ends a few bytes either side of the line limit.
      out += std::string(kLineLimit - 16 + random() % 24, 'a');
    }
  }
  return out;
}

std::string Repeat(const std::string& piece, std::size_t size) {
  std::string out;
  while (out.size() < size) out += piece;
  return out;
}

std::string Nuls(std::size_t count) {
  return std::string(count, '\0');
}

}  // namespace

std::vector<HostileCase> HostileInputCases() {
  const ShellEncoding utf8 = ShellEncoding::kUtf8;
  const ShellEncoding gb = ShellEncoding::kCp936;
  const std::string& s8 = kUtf8Start;
  const std::string& s936 = kCp936Start;
  const std::string x2047(kLineLimit - 1, 'x');
  std::string no_line_feed = RandomBytes(7, kMiB);
  for (char& byte : no_line_feed) {
    if (byte == '\n') byte = 'n';
  }
  return {
      {"random_bytes_seed_1", utf8, RandomBytes(1, kMiB)},
      {"random_bytes_seed_2", utf8, RandomBytes(2, kMiB)},
      {"random_bytes_seed_3", utf8, RandomBytes(3, kMiB)},
      {"random_bytes_seed_4_gb", gb, RandomBytes(4, kMiB)},
      {"random_lines_seed_5", utf8, RandomLines(5, kMiB)},
      {"random_lines_seed_6_then_exit", utf8, RandomLines(6, kMiB) + "\nexit\n"},
      {"random_lines_seed_7_gb", gb, RandomLines(7, kMiB)},

      {"invalid_gb_sequences", gb,
       "\x81\x7F\n\x81\xFF\n\xFF\xFF\n\x80\n\x81\n\xC1\n" + s936.substr(0, s936.size() - 1) + "\n" +
           s936 + "\x81\n\x81" + s936 + "\n" + s936 + "\xC6\n" + s936 + "\nexit\n"},
      {"gb_lead_byte_before_the_line_feed", gb, "\xC6\n" + s936 + "\n\xC6\nexit\n"},
      {"gb_lone_lead_byte_as_byte_2048_then_the_command", gb, x2047 + "\x81\n" + s936 + "\nexit\n"},
      {"gb_lone_lead_byte_as_byte_2048_command_in_the_tail", gb,
       x2047 + "\x81" + s936 + "\n" + x2047 + "\x81" + "exit\nexit\n"},
      {"gb_lone_lead_byte_as_byte_2048_at_the_end", gb, x2047 + "\x81"},
      {"utf8_cut_sequence_as_byte_2048_then_the_command", utf8,
       x2047 + "\xE8\n" + s8 + "\n" + x2047 + "\xE8\xBF" + s8 + "\nexit\n"},
      {"command_in_the_other_encoding", utf8, s936 + "\nexit\n"},
      {"command_in_the_other_encoding_gb", gb, s8 + "\nexit\n"},

      {"one_MiB_line_without_line_feed", utf8, std::string(kMiB, 'x')},
      {"one_MiB_of_random_bytes_without_line_feed", utf8, no_line_feed},
      {"one_MiB_line_then_the_command", utf8, no_line_feed + "\n" + s8 + "\nexit\n"},
      {"one_MiB_line_of_commands_and_exits", utf8, Repeat(s8 + "exit", kMiB) + "\n" + s8 + "\n"},

      {"cr_only_line_endings", utf8, s8 + "\rexit\r" + s8 + "\r"},
      {"cr_only_endings_for_one_MiB", utf8, Repeat(s8 + "\r", kMiB)},
      {"cr_only_endings_then_line_feed", utf8, Repeat("exit\r", 4096) + "\n" + s8 + "\rexit\r"},
      {"command_with_cr_and_no_line_feed", utf8, s8 + "\r"},
      {"command_with_cr_cr_lf", utf8, s8 + "\r\r\n" + s8 + "\r\n\r\nexit\r\r\n"},

      {"lines_of_nul_bytes", utf8, Repeat(Nuls(100) + "\n", 100 * 1000) + s8 + "\nexit\n"},
      {"one_MiB_of_nul_bytes", utf8, Nuls(kMiB)},
      {"nul_lines_around_the_limit", utf8,
       Nuls(kLineLimit) + "\n" + Nuls(kLineLimit + 1) + s8 + "\n" + Nuls(kLineLimit - 1) + "\n" +
           s8 + "\nexit\n"},
      {"nuls_before_inside_and_after_the_command", utf8,
       Nuls(3) + s8 + "\n" + "start" + Nuls(1) + s8.substr(6) + "\n" + s8 + Nuls(3) + "\n" +
           Nuls(1) + "exit\n" + "exit" + Nuls(1) + "\n" + s8 + "\n"},
  };
}

std::vector<HostileCase> TrailingByteCases() {
  std::vector<HostileCase> cases;
  for (int byte = 0x01; byte <= 0xFF; ++byte) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string name = "start_command_plus_byte_0x";
    name += kHex[byte >> 4];
    name += kHex[byte & 0xF];
    cases.push_back({name, ShellEncoding::kUtf8,
                     kUtf8Start + static_cast<char>(byte) + "\n" + kUtf8Start + "x\nexit\n"});
  }
  return cases;
}

HostileCase SpokenIn(ShellEncoding encoding, const HostileCase& c) {
  if (c.encoding == encoding) return c;
  HostileCase spoken{c.name, encoding, {}};
  spoken.input.reserve(c.input.size());
  for (std::size_t i = 0; i < c.input.size();) {
    if (c.input.compare(i, kUtf8Start.size(), kUtf8Start) == 0) {
      spoken.input += kCp936Start;
      i += kUtf8Start.size();
    } else if (c.input.compare(i, kCp936Start.size(), kCp936Start) == 0) {
      spoken.input += kUtf8Start;
      i += kCp936Start.size();
    } else {
      spoken.input += c.input[i++];
    }
  }
  return spoken;
}
