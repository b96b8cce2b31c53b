// The console and process services of services.h, and DetectLiteralForm,
// working on fake_console.
#include "services_double.h"

#include <cstdio>

#include "services/line_reader.h"
#include "services/services.h"

FakeConsole fake_console;

const PlatformFamily kHostPlatform = PlatformFamily::kPosix;

LiteralForm DetectLiteralForm() {
  return fake_console.form;
}

void CaptureProgramLocation() {
  const std::string path = fake_console.directory + "/quorvane-shell";
  const std::size_t slash = path.rfind('/');
  program_location = {TextFromBytes(path.data(), slash),
                      TextFromBytes(path.data() + slash + 1, path.size() - slash - 1)};
}

bool EnterDirectory(Text directory) {
  fake_console.entered_directories.push_back(directory == nullptr ? "" : directory);
  return directory != nullptr;
}

void PrepareStandardStreams() {}

void WriteOutput(std::initializer_list<Text> texts) {
  WriteOutput(1, texts);
}

void WriteOutput(int stream, std::initializer_list<Text> texts) {
  std::string& out = stream == 2 ? fake_console.error_output : fake_console.output;
  for (Text text : texts) out += std::string_view(text == nullptr ? "" : text);
}

bool IsOutputInteractive() {
  return fake_console.interactive;
}

namespace {

// The fake input handed out as a stream buffer would be: in runs of at most
// 4096 bytes that stay where they are until the next run is asked for.
struct FakeInputBuffer {
  static constexpr bool kBytesStay = true;
  static constexpr std::size_t kRunBytes = 4096;

  std::size_t Buffered(const char** bytes) {
    const FakeConsole& c = fake_console;
    *bytes = c.input.data() + c.position;
    const std::size_t left = c.input.size() - c.position;
    return left < kRunBytes ? left : kRunBytes;
  }
  void Consume(std::size_t count) { fake_console.position += count; }
};

}  // namespace

bool ReadStandardInputLine(char* buffer, const char** line, std::size_t* count) {
  ++fake_console.reads;
  FakeInputBuffer input;
  return ReadBoundedLine(input, buffer, kMaxLineBytes, line, count);
}

void PauseFor(int milliseconds) {
  fake_console.pauses.push_back(milliseconds);
}

bool LaunchProgram(Text command_line, bool wait_for_end, int window_mode) {
  fake_console.launches.push_back(
      {fake_console.reads, command_line == nullptr ? "" : command_line, wait_for_end, window_mode});
  return fake_console.launches_succeed;
}
