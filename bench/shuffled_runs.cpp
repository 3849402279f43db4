// Times whole runs of several commands side by side, one run of each per round in a
// fresh random order, so that no command always follows the same one or always runs with
// its own code warm in the caches, and a machine that speeds up or slows down during the
// measurement weighs on every command alike. hyperfine runs each command's runs in one
// block, which favours commands that repeat themselves.
//
// Usage: shuffled_runs ROUNDS NAME=COMMAND...   (COMMAND: a program and its arguments,
// separated by spaces). Prints each command's median wall time and its ratio to the
// first command's. Exit code 0 when every run exited with 0.

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kWarmupRounds = 10;

struct Command {
  std::string name;
  std::vector<std::string> words;
  std::vector<double> seconds;
};

// One run; false when it could not start or did not exit with 0.
bool RunOnce(const Command& command, double* seconds) {
  std::vector<char*> argv;
  for (const std::string& word : command.words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 0;
  if (rounds <= 0 || argc < 3) {
    std::fprintf(stderr, "usage: shuffled_runs ROUNDS NAME=COMMAND...\n");
    return 2;
  }
  std::vector<Command> commands;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    const std::size_t equals = argument.find('=');
    Command command;
    command.name = argument.substr(0, equals);
    std::istringstream words(equals == std::string::npos ? argument : argument.substr(equals + 1));
    for (std::string word; words >> word;) command.words.push_back(word);
    if (command.words.empty()) return 2;
    commands.push_back(command);
  }

  std::mt19937 random(20081207);
  std::vector<std::size_t> order(commands.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  bool allSucceeded = true;
  for (int round = -kWarmupRounds; round < rounds; ++round) {
    std::shuffle(order.begin(), order.end(), random);
    for (const std::size_t i : order) {
      double seconds = 0;
      allSucceeded = RunOnce(commands[i], &seconds) && allSucceeded;
      if (round >= 0) commands[i].seconds.push_back(seconds);
    }
  }

  const double first = Median(commands[0].seconds);
  std::printf("%-16s %12s %10s\n", "command", "median (ms)", "x first");
  for (const Command& command : commands) {
    const double median = Median(command.seconds);
    std::printf("%-16s %12.3f %10.2f\n", command.name.c_str(), median * 1000, median / first);
  }
  return allSucceeded ? 0 : 1;
}
