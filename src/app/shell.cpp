#include "app/shell.h"

MainMenuWindow::MainMenuWindow(WindowHost& host, Shell& shell)
    : WindowObject(host, layout::mainMenu()), m_shell(shell) {}

void MainMenuWindow::bindControls() {
    onClick(QStringLiteral("Command1"), [this] { m_shell.open<SetMealWindow>(); });
    onClick(QStringLiteral("Command2"), [this] { m_shell.open<IntakeWindow>(); });
    onClick(QStringLiteral("Command3"), [this] { m_shell.open<RmrWindow>(); });
    onClick(QStringLiteral("Command4"), [this] { m_shell.open<ExpenditureWindow>(); });
    onClick(QStringLiteral("Command5"), [this] { m_shell.open<BodyWindow>(); });
    onClick(QStringLiteral("Command6"), [this] { m_shell.open<DocumentWindow>(); });
    onClick(QStringLiteral("Command7"), [this] { m_shell.end(); });
}

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

void Shell::end() {
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
