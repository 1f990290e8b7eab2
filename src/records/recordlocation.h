// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the record lives unless the user chose another: the user's local
// application data (not Documents, which may be synced to a cloud, and not a
// roaming profile), "相談記録.yomorisu".
QString defaultRecordPath();
