// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordlocation.h"

#include <QStandardPaths>

QString defaultRecordPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/相談記録.yomorisu");
}
