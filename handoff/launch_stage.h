// The start of the second-stage program, which ends the setup process.
#ifndef HANDOFF_LAUNCH_STAGE_H
#define HANDOFF_LAUNCH_STAGE_H

enum { kCommandLineSize = 1024 };

// Joins programPath and the arguments with single blanks into out (kCommandLineSize bytes):
// nothing quoted, empty arguments keep their places; no arguments or a single empty one add nothing.
// False (out "") when the result does not fit.
bool JoinCommandLine(char* out, const char* programPath, const char* const* args, int count);

// Starts programPath with the joined command line and ends the process with exit code 0.
// Returns only when the program is missing or could not be started.
void LaunchStage(const char* programPath, const char* const* args, int count);

#endif  // HANDOFF_LAUNCH_STAGE_H
