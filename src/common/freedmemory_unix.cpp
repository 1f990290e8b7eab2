// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/freedmemory.h"

#include <malloc.h>

void returnFreedMemory() {
    // glibc keeps freed blocks in its arenas until asked.
    malloc_trim(0);
}
