// Kills a save at one of its steps: the save runs in a child process whose
// step hook raises SIGKILL at the chosen point, as a power cut or a crash
// would stop the program there. Fork only before any thread exists.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "frame/whole_file_save.h"

namespace torvtest {

inline TSavePoint gKillAtPoint = kSavePartWritten;

// True when the child died by the kill at the point; false when the save
// never got there (the child ends with 3) or the fork failed.
inline bool RunSaveKilledAt(TSavePoint point, const std::function<void()>& save) {
  std::fflush(nullptr);  // nothing buffered is written twice
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    gKillAtPoint = point;
    SaveStepHook = [](TSavePoint at) {
      if (at == gKillAtPoint) raise(SIGKILL);
    };
    save();
    _exit(3);  // the save ended without passing the point
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace torvtest
