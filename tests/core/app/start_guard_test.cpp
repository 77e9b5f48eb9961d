#include "app/start_guard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>

#include "runtime/errors.h"

namespace quarrix {
namespace {

enum class Fails { kNothing, kApplication, kRun, kRunAndDisplay };

struct Outcome {
  int exit_code = -1;
  std::string steps;    // the steps that ran, in order
  std::string printed;  // what reached standard error
};

// Runs a start whose given step throws `error`.
template <typename Error>
Outcome Start(Fails fails, Error error) {
  Outcome outcome;
  std::FILE* err = std::tmpfile();
  StartSteps steps;
  steps.make_application = [&] {
    outcome.steps += "app ";
    if (fails == Fails::kApplication) throw error;
  };
  steps.run = [&] {
    outcome.steps += "run ";
    if (fails == Fails::kRun || fails == Fails::kRunAndDisplay) throw error;
    return 0;
  };
  steps.show_error = [&] {
    outcome.steps += "shown ";
    if (fails == Fails::kRunAndDisplay) throw std::runtime_error("no display");
  };
  outcome.exit_code = RunGuardedStart(steps, err);
  std::rewind(err);
  for (int c = std::fgetc(err); c != EOF; c = std::fgetc(err))
    outcome.printed += static_cast<char>(c);
  std::fclose(err);
  return outcome;
}

TEST(RunGuardedStart, AFailedStartIsReportedAndExitsWithOne) {
  const struct {
    const char* what;
    Outcome outcome;
    Outcome expected;
  } cases[] = {
      {"a good start", Start(Fails::kNothing, 0), {0, "app run ", ""}},
      {"no application object",
       Start(Fails::kApplication, std::bad_alloc()),
       {1, "app ", "Quarrix: Out of memory\n"}},
      {"no application object, odd error",
       Start(Fails::kApplication, 42),
       {1, "app ", "Quarrix: Unknown error\n"}},
      {"windows failed", Start(Fails::kRun, FileOpenError("/x")), {1, "app run shown ", ""}},
      {"windows and display failed",
       Start(Fails::kRunAndDisplay, FileOpenError("/x")),
       {1, "app run shown ", "Quarrix: Cannot open file /x\n"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.outcome.exit_code, c.expected.exit_code) << c.what;
    EXPECT_EQ(c.outcome.steps, c.expected.steps) << c.what;
    EXPECT_EQ(c.outcome.printed, c.expected.printed) << c.what;
  }
}

TEST(RunGuardedStart, ReturnsTheEventLoopsExitCode) {
  const StartSteps steps{[] {}, [] { return 7; }, [] {}};
  EXPECT_EQ(RunGuardedStart(steps, stderr), 7);
}

}  // namespace
}  // namespace quarrix
