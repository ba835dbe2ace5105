#include "gui/GuiDocument.h"

XmlNode GuiDocument;
