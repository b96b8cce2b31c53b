// What the tests need to know about the platform they run on, so that the
// same tables check the shell on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "shell_model.h"

// What a run of the shell looks like from outside on this platform.
struct ShellFacts {
  std::string program_suffix;     // appended to a program's stem: ".exe" or nothing
  std::string auto_clicker_name;  // the file the shell starts from its own folder
  // The environment the end-to-end runs add to the test's own.
  std::vector<std::string> environment;
  // The literal bytes the shell speaks there, as the redirected output holds
  // them (on Windows the text-mode stream stores the banner's CR LF as
  // CR CR LF).
  std::string banner;
  std::string prompt_head;
  std::string start_command;  // "start 连点器" as typed there
  // A folder name made of the characters most likely to break a command line
  // on this platform.
  std::string awkward_folder_name;
  // The exit status of a process ended by the fatal error, as a parent sees
  // it, and whether its words go to standard error (rather than to a box).
  int fatal_exit_status;
  bool fatal_words_on_standard_error;
  // How standard input reaches the shell's line reader.
  InputMode input_mode;
  // Whether the locale the tests give the shell chooses its words (POSIX),
  // or the system's code page does (Windows: CP936 under the tests' Wine).
  bool words_follow_locale;
  // A device on which every write fails for want of room; empty where there
  // is none.
  std::string full_device;
  // How many of a thousand starts may fail for reasons of the platform's
  // own. Under Wine, CreateProcess now and then fails with an internal error
  // (about one start in 3,000 here), and the shell, as it must, passes over
  // a start that fails; elsewhere none may.
  int starts_lost_per_thousand;
};

const ShellFacts& HostShellFacts();

// A file name's bytes as the platform's narrow (ANSI) interfaces give them,
// and back. On POSIX a path is bytes already; on Windows the bytes are in the
// ANSI code page.
std::string NativeBytes(const std::filesystem::path& path);
std::filesystem::path PathFromNativeBytes(const std::string& bytes);

// A file of the build tree, named as this platform sees it (under Wine a
// path of the build machine is reached through a drive letter).
std::filesystem::path BuildTreeFile(const char* build_path);

// The running executable's own full path.
std::filesystem::path OwnExecutablePath();

// Appends `bytes` to `file` (created where missing) in one piece, even while
// other processes append to it: the C runtime's append mode on Windows seeks
// to the end and then writes, and two writers can land on the same place.
bool AppendToFile(const std::filesystem::path& file, const std::string& bytes);
