// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/windowobject.h"

#include "common/runtimeerror.h"
#include "windows/builder.h"
#include "windows/picturearea.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>

WindowObject::WindowObject(WindowHost& host, const layout::Window& layout) : m_host(host), m_layout(layout) {}

WindowObject::~WindowObject() = default;

void WindowObject::open() {
    if (!isLoaded())
        load();
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
}

void WindowObject::load() {
    unload();
    m_form = buildWindow(m_layout);
    m_form->installEventFilter(this);
    bindControls();
}

void WindowObject::unload() {
    if (QWidget* form = m_form.release()) {
        form->removeEventFilter(this);
        form->hide();
        form->deleteLater();
    }
}

bool WindowObject::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_form.get() && event->type() == QEvent::Close) {
        unload();
        m_host.closedByUser(*this);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void WindowObject::onClick(const QString& buttonName, std::function<void()> handler) {
    auto* button = control<QAbstractButton>(buttonName);
    connect(button, &QAbstractButton::clicked, this,
            [this, handler = std::move(handler)] { runGuarded(m_host.errorStop(), handler); });
}

void WindowObject::missingControl(const QString& name) const {
    qFatal("window %s has no control %s of the kind asked for", qUtf8Printable(m_layout.name),
           qUtf8Printable(name));
}

void WindowObject::onBackToMenu(const QString& buttonName) {
    onClick(buttonName, [this] { m_host.backToMenu(*this); });
}

QList<PrintedLines*> WindowObject::pictureAreas(int count) const {
    QList<PrintedLines*> areas;
    for (int i = 1; i <= count; ++i)
        areas.append(&control<PictureArea>(QStringLiteral("Picture%1").arg(i))->lines());
    return areas;
}

QString WindowObject::tablePath(const QString& fileName) const {
    return QDir(m_host.tableFolder()).filePath(fileName);
}

void runGuarded(ErrorStop& errorStop, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        errorStop.report(error);
    }
}
