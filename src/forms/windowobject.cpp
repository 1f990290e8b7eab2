// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/windowobject.h"

#include "common/runtimeerror.h"
#include "forms/builder.h"
#include "forms/picturearea.h"
#include "forms/screenfit.h"

#include <QAbstractButton>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>

WindowObject::WindowObject(WindowHost& host, const layout::Window& layout)
    : m_host(host), m_layout(layout), m_work(host.errorStop(), host.printer(), [this] { return form(); }) {}

WindowObject::~WindowObject() = default;

void WindowObject::open() {
    const bool opening = !isLoaded();
    if (opening)
        load();
    m_form->show();
    if (opening)
        keepOnScreen();
    m_form->raise();
    m_form->activateWindow();
}

void WindowObject::keepOnScreen() {
    const QScreen* screen = m_form->screen();
    if (!screen)
        return;
    const QRect frame = m_form->frameGeometry();
    const QSize margins = frame.size() - m_form->size();
    // A designed form keeps its size: its controls stand where designed,
    // and a smaller form would only hide the same ones inside it.
    const bool resizable = m_form->layout() != nullptr;
    const QRect fitted =
        fittedOnScreen(frame, screen->availableGeometry(), resizable,
                       m_form->minimumSizeHint().expandedTo(m_form->minimumSize()) + margins);
    if (fitted.size() != frame.size())
        m_form->resize(fitted.size() - margins);
    if (fitted.topLeft() != frame.topLeft())
        m_form->move(fitted.topLeft());
}

void WindowObject::load() {
    unload();
    m_form = buildForm(makeMenuBar());
    m_form->installEventFilter(this);
    bindControls();
}

std::unique_ptr<QWidget> WindowObject::buildForm(QMenuBar* menuBar) {
    return buildWindow(m_layout, menuBar);
}

QMenuBar* WindowObject::makeMenuBar() {
    return hasFileMenu() ? makeFileMenu() : nullptr;
}

void WindowObject::unload() {
    if (QWidget* form = m_form.release()) {
        // Work for a window that is gone has no one to show its result to.
        // Cancelled now: the form's deferred delete may come after the
        // window is open again, and would take the new form's work with it.
        m_work.cancelAll();
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

QList<PictureLines*> WindowObject::pictureAreas(int count) const {
    QList<PictureLines*> areas;
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

QMenuBar* WindowObject::makeFileMenu() {
    auto* menuBar = new QMenuBar;
    QMenu* file = menuBar->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* print = file->addAction(QStringLiteral("印刷(&P)…"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // Queued: the menu closes, and an assistive tool's call that chose the
    // item returns, before any dialog the item opens.
    connect(
        print, &QAction::triggered, this,
        [this] { runGuarded(m_host.errorStop(), [this] { printHandout(); }); }, Qt::QueuedConnection);
    QAction* save = file->addAction(QStringLiteral("PDF に保存(&S)…"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(
        save, &QAction::triggered, this, [this] { runGuarded(m_host.errorStop(), [this] { chooseSave(); }); },
        Qt::QueuedConnection);
    return menuBar;
}

QString WindowObject::caption(const QString& controlName) const {
    const layout::Control* c = m_layout.control(controlName);
    return c ? c->caption : QString();
}

QString WindowObject::handoutHint() const {
    return QStringLiteral("先に「%1」を押してください。").arg(caption(handoutButton()).trimmed());
}

std::optional<Handout> WindowObject::handoutOrHint() {
    std::optional<Handout> paper = handout();
    if (!paper)
        m_host.handoutDialogs().tell(m_form.get(), handoutHint());
    else if (paper->clientName.isEmpty())
        paper->clientName = m_host.consultedClient();
    return paper;
}

void WindowObject::saveHandout() {
    const std::optional<Handout> paper = handoutOrHint();
    if (!paper)
        return;
    const QDate today = QDate::currentDate();
    const QString path = askSavePath(today, paper->name);
    if (!path.isEmpty())
        m_work.save(path, [paper = *paper, today](QIODevice& file, WorkProgress& progress) {
            writeHandoutPdf(paper, today, file, &progress);
        });
}

void WindowObject::printHandout() {
    const std::optional<Handout> paper = handoutOrHint();
    if (!paper)
        return;
    m_work.print([paper = *paper, today = QDate::currentDate()] {
        return [paper, today](TextPrinter& printer, WorkProgress& progress) {
            ::printHandout(paper, today, printer, progress);
        };
    });
}

Handout WindowObject::listingHandout(const QString& nameHeading, const QString& valueHeading,
                                     const QList<QStringList>& rows) const {
    Handout paper{caption(QStringLiteral("Label1")), m_layout.name, {}, {}};
    paper.addTable({{QStringLiteral("番号"), 12, true}, {nameHeading, 68, false}, {valueHeading, 20, true}},
                   rows);
    return paper;
}

QString WindowObject::askSavePath(const QDate& today, const QString& name) {
    m_askingSavePath = true;
    const auto asked = qScopeGuard([this] { m_askingSavePath = false; });
    return m_host.handoutDialogs().chooseSavePath(
        m_form.get(),
        QDir(m_host.tableFolder()).filePath(proposedPdfName(name.isEmpty() ? m_layout.name : name, today)));
}

void WindowObject::chooseSave() {
    // A choice queued while the dialog is open: that dialog is the answer.
    if (m_askingSavePath)
        return;
    if (m_work.isSaving()) {
        m_host.handoutDialogs().tell(
            m_form.get(),
            QStringLiteral("PDF を保存しています。保存が終わってから、もう一度選んでください。"));
        return;
    }
    saveHandout();
}
