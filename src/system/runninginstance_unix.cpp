// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/runninginstance.h"

RunningInstance::RunningInstance() = default;

RunningInstance::~RunningInstance() = default;
