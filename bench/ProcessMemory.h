#pragma once

// The memory of this process, as the kernel counts it.

// A field of /proc/self/status ("VmHWM:", "VmRSS:") in MiB; -1 when absent.
double StatusMiB(const char* field);

// Starts a new peak from the memory resident now; false where the kernel
// does not offer it, so that the peak is the process's whole peak.
bool ResetPeak();
