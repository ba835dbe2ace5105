#pragma once
#include "content/Xml.h"

// The dialog layouts ("gui.xml"), read once at start-up; every dialog builds
// itself from its window in this document. Null when the file is missing, so
// dialogs come up empty rather than not at all.
extern XmlNode GuiDocument;
