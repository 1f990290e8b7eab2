// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/freedmemory.h"

#include <malloc.h>

void returnFreedMemory() {
    // The C runtime's heap gives its free pages back to the system.
    _heapmin();
}
