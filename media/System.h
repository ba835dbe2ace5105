#pragma once
#include <string>

// Messages and the desktop.

// Modal message box with an OK button and a line on standard error. Where no
// display can show a box (headless runs, tests), only the line is written and
// nothing blocks. `serious` selects the error style.
void Notify(const std::string& text, bool serious = false);
// Returns at once. http:, https: and file: targets go to the desktop's opener
// unchanged; an existing file is opened (a .url shortcut opens its URL= line);
// anything else gets "http:" in front. Nothing happens where there is no opener.
void OpenURL(const std::string& target);
// One line on standard output: the game's only log.
void PrintLine(const std::string& text);
// Real milliseconds since this process was started by the system, read from
// the process's start time in /proc/self/stat against the boot-time clock;
// the start is kept in whole clock ticks, so the age may read up to one tick
// (10 ms) long. -1 where the system does not say. Measures start-up, whatever clock the game itself runs on.
double ProcessAgeMs();
// Processor time this process has used so far, all its threads together, in
// milliseconds: on a shared machine, the work a start-up takes whatever else
// runs; -1 where the system does not say.
double ProcessCpuMs();
// The folder of this program's executable, links resolved; empty where the
// system does not say.
std::string ProgramFolder();
// Sets the window caption and message-box title.
void SetAppTitle(const std::string& title);
const std::string& AppTitle();
// Tests and tools silence message boxes (the line on standard error stays).
void SetNotifyBoxesEnabled(bool enabled);
// What OpenURL last handed to the opener (for tests), empty when nothing.
const std::string& LastOpenedURL();
// Gives the memory malloc keeps after a large load (the decoded pictures and
// the files read to make them) back to the system, so the process does not
// keep the load's peak for the rest of its life.
void ReturnFreedMemory();
