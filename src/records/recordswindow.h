// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/windowobject.h"

#include <memory>

// Not record.h: a window including this header may have a Sex of its own.
struct Client;
struct Visit;
class CourseChart;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class RecordFile;

// 相談記録: the people a counsellor sees and their visits, kept in the record
// file, with the course of the chosen client drawn and printed. Laid out by
// Qt's layouts rather than a designed table; one object for the whole run, as
// every window, keeping the open record file while its on-screen part comes
// and goes.
class RecordsWindow : public WindowObject {
    Q_OBJECT
public:
    explicit RecordsWindow(WindowHost& host);
    ~RecordsWindow() override;

    // 記録 → 開く…: another record file, chosen in the open dialog; then the window.
    void openAnother();
    // 記録 → 新規…: a new record file where the save dialog says; then the window.
    void startAnother();
    // 記録 → バックアップ…: a copy of the whole record into a chosen file.
    void backUp();

    // The record file in use, opened on first need (the one used last, else
    // the default); null when none would open.
    RecordFile* record();

    // Where the last record file chosen is remembered.
    static QString settingsPath();

protected:
    std::unique_ptr<QWidget> buildForm(QMenuBar* menuBar) override;
    QMenuBar* makeMenuBar() override;
    void bindControls() override;
    std::optional<Handout> handout() const override;
    QString handoutHint() const override;

private:
    // Opens `path` in place of the record in use; a file refused is told and
    // changes nothing. Returns whether it opened.
    bool switchTo(const QString& path);
    // Runs a handler, telling the user a record file's failure.
    void guarded(const std::function<void()>& handler);
    void tell(const QString& message);

    void showClients();
    void chooseClient(qint64 id);
    void showVisits();
    void chooseVisit(int row);
    void fillClientForm(const Client& client);
    void fillVisitForm(const Visit& visit);
    void newClient();
    void newVisit();
    void save();
    void deleteClient();
    void consult(bool on);
    void exportCsv();
    void applyReadOnly();

    // The forms as typed; a date that reads as none is an invalid QDate.
    Client clientFromForm() const;
    Visit visitFromForm() const;
    // Whether anything is typed in the visit form, or a kept visit is in it.
    bool visitFormInUse() const;
    void showBodyFigures();
    // The chosen kept visit's level of support and its reasons, and how it
    // stands against the plan of an earlier visit.
    void showSupport();
    // 行動計画…: the plan window for the chosen kept visit.
    void openPlan();
    void closePlans();
    void showProblem(const QString& field, const QString& message);

    std::unique_ptr<RecordFile> m_record;
    qint64 m_clientId = 0;
    qint64 m_visitId = 0;
    // The clients listed and the chosen client's visits, as shown.
    struct Shown;
    std::unique_ptr<Shown> m_shown;
    bool m_refreshing = false;

    // The on-screen part's controls; valid while loaded.
    struct Controls;
    std::unique_ptr<Controls> m_ui;
};
