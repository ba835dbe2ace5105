#pragma once
#include <string>
#include <vector>

#include "progress/TUser.h"

// The file of saved profiles, "User.dat": the profile count, then one record
// per profile in list order. It is read once at start-up and rewritten whole
// (to a temporary file renamed over it) whenever progress changes, so a crash
// never leaves half a file. A file that cannot be read is moved aside, never
// overwritten, and the player is told once; so is a folder where it cannot be
// written, and the game goes on without keeping progress.

// Where the profiles are kept: "User.dat" in the folder UseSaveFolder chose
// (the game's own, or the player's data folder for an installed game). Tests
// point it elsewhere.
extern std::string UserFilePath;

// The whole file for `users`, marking `current`.
void WriteUserList(TStream& stream, const std::vector<UserPtr>& users, const UserPtr& current);
// Reads a whole file into `users` (given ids 1, 2, … in file order) and
// `current` (the last record marked current; null when none is). False, with
// `error` saying what is wrong, when the stream does not hold exactly a
// valid file: a negative or impossible count, a broken record, a current
// level outside the progress arrays, bytes after the last record.
bool ReadUserList(TStream& stream, std::vector<UserPtr>& users, UserPtr& current, std::string& error);

// Appends a new profile to UserList: its id is the last profile's + 1, or 1.
// It neither becomes current nor is saved.
UserPtr CreateUser(const std::string& name);
// Replaces UserList and CurrentUser with the file's profiles. No file: no
// profiles. A damaged file is renamed to "<file>.damaged" (or
// "<file>.damaged-2", … when that is taken), the player is told where it went,
// and the game starts as with no file; if it cannot be moved it is left
// alone and nothing is saved over it.
void LoadUserList();
// Writes UserList to the file. False when it could not be written; the first
// failure is told to the player, later ones are not.
bool SaveUserList();
// Back to the state before the first load: no failure told, saving allowed.
void ResetUserFileState();
