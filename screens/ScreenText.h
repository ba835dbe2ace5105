#pragma once
#include <string>

// The numbered text `n`, or "" when the table has no such entry.
std::string ScreenText(int n);
