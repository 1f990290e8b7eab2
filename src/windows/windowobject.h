#pragma once

#include "common/runtimeerror.h"
#include "windows/layout.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>
#include <functional>

class PrintedLines;
class QAbstractButton;
class WindowObject;

// The file-open dialog a window shows to let the user pick a file.
class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    // Shows the dialog over `parent`, opening in `folder` and listing the files
    // that match `pattern`. Returns the full path of the chosen file, or the
    // empty text when the user cancelled.
    virtual QString chooseFile(QWidget* parent, const QString& folder, const QString& pattern) = 0;
};

// How far a piece of long work has come, and whether the user gave up on it.
// Written by the worker, read by the window's progress dialog.
struct WorkProgress {
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancelled{false};
};

// The system's default printer.
class TextPrinter {
public:
    virtual ~TextPrinter() = default;
    // Prints `text` as one job titled `title`, a line end starting a new line
    // and `title` in every page's footer. Runs on a worker thread, so it
    // touches no widget; it reports its pages to `progress` and gives up,
    // withdrawing the job, once that is cancelled. Throws the printer error
    // when the print system cannot be reached or does not answer, there is no
    // default printer, or the printer or the queue will not print the job.
    virtual void print(const QString& text, const QString& title, WorkProgress& progress) = 0;
};

// What a window needs from the program around it. The shell implements it;
// tests hand in their own.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // The back-to-menu action of a working window.
    virtual void backToMenu(WindowObject& window) = 0;
    // The user closed a window from its title bar.
    virtual void closedByUser(WindowObject& window) = 0;
    virtual ErrorStop& errorStop() = 0;
    // The folder holding the two table files.
    virtual QString tableFolder() const = 0;
    virtual OpenFileDialog& openFileDialog() = 0;
    virtual TextPrinter& printer() = 0;
};

// One window of the program. The object lives for the whole run and holds the
// window's own data; its on-screen part is built from the layout on every load
// and destroyed on unload.
class WindowObject : public QObject {
    Q_OBJECT
public:
    WindowObject(WindowHost& host, const layout::Window& layout);
    ~WindowObject() override;

    const layout::Window& layout() const { return m_layout; }
    bool isLoaded() const { return !m_form.isNull(); }
    // The on-screen part; null while unloaded.
    QWidget* form() const { return m_form; }

    // Loads the window if needed, then shows, raises and activates it.
    void open();
    // Builds the on-screen part afresh (unloading the old one first).
    void load();
    // Destroys the on-screen part; the window object and its data remain.
    void unload();

    // The on-screen control of that name; null while the window is unloaded.
    // A name the layout does not have (or a control of another kind) is a
    // programming error: it throws std::logic_error naming the window and the
    // control, in every build, so a misspelling stops the window as it loads.
    template <class T> T* control(const QString& name) const {
        if (!m_form)
            return nullptr;
        T* found = m_form->findChild<T*>(name);
        if (!found)
            throwMissingControl(name);
        return found;
    }

protected:
    WindowHost& host() const { return m_host; }
    // Looks up controls and connects the buttons of a freshly built form.
    virtual void bindControls() = 0;
    // Connects a button's click to a handler run through the error guard.
    void onClick(const QString& buttonName, std::function<void()> handler);
    // Connects a button to the back-to-menu action.
    void onBackToMenu(const QString& buttonName);
    // What the picture areas Picture1..PictureN print into, in that order.
    QList<PrintedLines*> pictureAreas(int count) const;
    // Path of a table file in the host's table folder.
    QString tablePath(const QString& fileName) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[noreturn]] void throwMissingControl(const QString& name) const;

    WindowHost& m_host;
    const layout::Window& m_layout;
    QPointer<QWidget> m_form;
};

// Runs a button handler. A failure stops the click where it happened and is
// shown to the user; the program goes on, and what the handler printed before
// the failure stays on screen.
void runGuarded(ErrorStop& errorStop, const std::function<void()>& handler);
