// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/host.h"

// The ファイル menus' save dialog, Qt's own widget dialog like the open
// dialog, and their notices as message boxes.
class WidgetHandoutDialogs : public HandoutDialogs {
public:
    QString chooseSavePath(QWidget* parent, const QString& proposedPath) override;
    void tell(QWidget* parent, const QString& message) override;
    QString chooseSaveFile(QWidget* parent, const QString& proposedPath, const QString& nameFilter) override;
    bool confirm(QWidget* parent, const QString& question) override;
};
