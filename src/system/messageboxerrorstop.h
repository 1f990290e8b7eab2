// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/host.h"

// Tells the user about a failed click, or what else they should know, in a
// message box; the program goes on.
class MessageBoxErrorStop : public ErrorStop {
public:
    void report(const RuntimeError& error) override;
    void inform(const QString& message) override;
};
