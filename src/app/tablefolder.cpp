#include "app/tablefolder.h"

#include <QStandardPaths>

QString defaultTableFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\my documents\\");
#else
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#endif
}
