// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/host.h"

// The program's file-open dialog: Qt's own widget dialog rather than the
// desktop's, so it looks and behaves the same everywhere and assistive
// technology reaches it through Qt.
// Its side bar lists the documents folder and its 健康相談 folder beside Qt's
// own places.
class WidgetFileDialog : public OpenFileDialog {
public:
    explicit WidgetFileDialog(QString documentsFolder = {}) : m_documentsFolder(std::move(documentsFolder)) {}
    QString chooseFile(QWidget* parent, const QString& folder, const QString& pattern) override;

private:
    QString m_documentsFolder;
};
