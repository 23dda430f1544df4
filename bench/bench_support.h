#pragma once
// What the benchmark programs share: the calling thread's CPU time, the
// numbers given on the command line, and the window layer started with its
// message boxes answered by script.

#include <time.h>

#include <cstdlib>

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"

// The calling thread's CPU time, in seconds.
inline double ThreadCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// argv[index] as a number; fallback when it is not given.
inline int ArgumentOr(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::atoi(argv[index]) : fallback;
}

inline void StartBenchUi(int argc, char** argv)
{
    AfxWinInit(argc, argv);
    MessageBoxScript::Enable();
}
