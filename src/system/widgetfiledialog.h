#pragma once

#include "windows/host.h"

// The program's file-open dialog: Qt's own widget dialog rather than the
// desktop's, so it looks and behaves the same everywhere and assistive
// technology reaches it through Qt.
class WidgetFileDialog : public OpenFileDialog {
public:
    QString chooseFile(QWidget* parent, const QString& folder, const QString& pattern) override;
};
