#pragma once

// The one way out of the program. Code anywhere below the application shell
// that must end the program (a fatal content error, a quit command) asks for
// it here and returns normally; the main loop ends after the frame and the
// shell returns the exit code from main, which is where progress is saved.
//
// A failure outranks a normal quit: once a non-zero code is asked for, a later
// request for 0 does not turn the ending into a success.
void RequestQuit(int exitCode);
bool QuitRequested();
// The code the program ends with; 0 while no quit is asked for.
int QuitExitCode();
// Forgets the request (tests that provoke one, then carry on).
void ClearQuitRequest();
