// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/quitrequests.h"

#include <QGuiApplication>
#include <QSessionManager>

void endOnQuitRequests(std::function<void()> end) {
    // Windows asks every program before the session ends (WM_QUERYENDSESSION),
    // which Qt passes on as a request to commit data. The process is ended
    // soon after the answer, so the work is cancelled and waited for before
    // answering; the answer lets the session end.
    QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp,
        [end = std::move(end)](QSessionManager&) { end(); }, Qt::DirectConnection);
}
