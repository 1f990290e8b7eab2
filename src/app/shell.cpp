// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell.h"

Shell::Shell(ErrorStop& errorStop, QString tableFolder, std::function<void()> quit,
             OpenFileDialog& openFileDialog, TextPrinter& printer)
    : m_errorStop(errorStop), m_tableFolder(std::move(tableFolder)), m_quit(std::move(quit)),
      m_openFileDialog(openFileDialog), m_printer(printer) {}

Shell::~Shell() = default;

void Shell::start() {
    open<MainMenuWindow>();
}

bool Shell::anyWindowLoaded() const {
    return std::apply([](const auto&... w) { return ((w && w->isLoaded()) || ...); }, m_windows);
}

void Shell::endProgram() {
    std::apply([](auto&... w) { ((w ? w->unload() : void()), ...); }, m_windows);
    m_quit();
}

void Shell::backToMenu(WindowObject& window) {
    window.unload();
    open<MainMenuWindow>();
}

void Shell::closedByUser(WindowObject&) {
    if (!anyWindowLoaded())
        m_quit();
}

HandoutDialogs& Shell::handoutDialogs() {
    if (!m_handoutDialogs)
        qFatal("the shell was given no save dialog for the ファイル menus");
    return *m_handoutDialogs;
}
