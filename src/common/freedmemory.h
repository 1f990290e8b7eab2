// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Hands memory the program has freed back to the system, so that a large
// document once shown does not stay with the process. May take a while:
// call it off the GUI thread. Each system has its file (freedmemory_unix.cpp,
// freedmemory_windows.cpp).
void returnFreedMemory();
