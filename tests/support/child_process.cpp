// The parts of running a child that both platforms share.
#include <thread>

#include "child_process.h"

ChildResult RunChild(const ChildRun& run) {
  RunningChild child = StartChild(run);
  // The input is written from a thread of its own, which owns the pipe, so
  // that a child that writes much before it reads cannot stall both sides.
  RunningChild feeder;
  feeder.input = child.input;
  child.input = -1;
  std::thread writer;
  if (feeder.input != -1) {
    writer = std::thread([&feeder, &run] {
      SendInput(feeder, run.input);
      CloseInput(feeder);
    });
  }
  ChildResult result = FinishChild(child, run);
  if (writer.joinable()) writer.join();
  return result;
}
