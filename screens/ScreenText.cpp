#include "screens/ScreenText.h"

#include "content/TextTable.h"

std::string ScreenText(int n) { return n >= 0 && n < static_cast<int>(TextTable.size()) ? TextTable[size_t(n)] : ""; }
