#pragma once

// Connects the particle effects to the resource manager: effect entries load
// through the effect reader, and the picture and trail ids inside effect files
// resolve to the resources loaded by id. Called once at start-up.
void ConnectResourceHooks();
