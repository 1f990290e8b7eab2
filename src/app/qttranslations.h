// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// Makes Qt's own dialogs and message boxes speak Japanese, from Qt's
// translation catalogue on the system. Call before any window is built.
// Returns false when the catalogue is missing; the program then goes on in
// Qt's English.
bool installQtTranslations(QCoreApplication& app);
