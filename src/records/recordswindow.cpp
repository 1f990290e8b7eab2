// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordswindow.h"

#include "body/bodymeasure.h"
#include "print/pages.h"
#include "records/actionplan.h"
#include "records/actionplanwindow.h"
#include "records/coursechart.h"
#include "records/dates.h"
#include "records/record.h"
#include "records/recordfile.h"
#include "records/recordlocation.h"
#include "records/supportlevel.h"
#include "records/visitbounds.h"
#include "records/visitcsv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The chart of the chosen client's course, in the screen's colours.
class CourseChart : public QWidget {
public:
    CourseChart() {
        setMinimumSize(320, 300);
        setAccessibleName(u"経過のグラフ"_s);
    }
    void setPoints(QList<CoursePoint> points) {
        m_points = std::move(points);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paintCourse(painter, QRectF(rect()).adjusted(4, 4, -4, -4), m_points, screenInk(palette(), font()));
    }

private:
    QList<CoursePoint> m_points;
};

// The plans of the record file that was open when a plan window opened;
// that window goes before another file comes in (closePlans).
class RecordPlans : public PlanKeeper {
public:
    explicit RecordPlans(RecordFile& file) : m_file(file) {}
    std::optional<QString> plan(qint64 visitId) const override {
        try {
            return m_file.plan(visitId);
        } catch (const RecordFileError&) {
            return std::nullopt;
        }
    }
    QString savePlan(qint64 visitId, const QString& json) override {
        try {
            m_file.savePlan(visitId, json);
            return {};
        } catch (const RecordFileError& error) {
            return error.message();
        }
    }

private:
    RecordFile& m_file;
};

struct RecordsWindow::Shown {
    QList<Client> clients;
    QList<Visit> visits;
};

struct RecordsWindow::Controls {
    QWidget* form = nullptr;
    QLineEdit* search = nullptr;
    QTableWidget* clients = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* furigana = nullptr;
    QComboBox* sex = nullptr;
    QLineEdit* birthDate = nullptr;
    QLineEdit* number = nullptr;
    QTableWidget* visits = nullptr;
    QLineEdit* date = nullptr;
    QLineEdit* height = nullptr;
    QLineEdit* weight = nullptr;
    QLineEdit* waist = nullptr;
    QLineEdit* systolic = nullptr;
    QLineEdit* diastolic = nullptr;
    QLineEdit* triglycerides = nullptr;
    QCheckBox* fasting = nullptr;
    QLineEdit* hdl = nullptr;
    QLineEdit* fastingGlucose = nullptr;
    QLineEdit* casualGlucose = nullptr;
    QLineEdit* hba1c = nullptr;
    QCheckBox* smoking = nullptr;
    QCheckBox* pressureMedicine = nullptr;
    QCheckBox* glucoseMedicine = nullptr;
    QCheckBox* lipidMedicine = nullptr;
    QPlainTextEdit* memo = nullptr;
    QLineEdit* bmi = nullptr;
    QLineEdit* standardWeight = nullptr;
    QLineEdit* supportLevel = nullptr;
    QLineEdit* supportReasons = nullptr;
    QPushButton* plan = nullptr;
    QLineEdit* evaluation = nullptr;
    QPushButton* newClient = nullptr;
    QPushButton* newVisit = nullptr;
    QPushButton* save = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* consult = nullptr;
    QPushButton* print = nullptr;
    QPushButton* savePdf = nullptr;
    QPushButton* csv = nullptr;
    CourseChart* chart = nullptr;
    // Every input by its label, which is also its accessible name.
    QHash<QString, QWidget*> inputs;
};

namespace {

const layout::Window& recordsLayout() {
    // Only the name and the caption: the controls are laid out by Qt.
    static const layout::Window window{u"相談記録"_s, u"相談記録"_s, 0, 0, {}, {}, {}, {}};
    return window;
}

const QString RecordFilter = u"相談記録 (*.yomorisu)"_s;
const QString RecordSuffix = u".yomorisu"_s;

QString decimal(const std::optional<double>& value) {
    return value ? QString::number(*value, 'f', 1) : QString();
}

QString whole(const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
}

QString sexText(Sex sex) {
    return sex == Sex::Male ? u"男性"_s : u"女性"_s;
}

QString birthText(const QDate& date) {
    if (!date.isValid())
        return {};
    const QString era = eraYear(date);
    return era.isEmpty() ? formatDate(date) : u"%1（%2）"_s.arg(formatDate(date), era);
}

QString pressureText(const Visit& visit) {
    if (!visit.systolic && !visit.diastolic)
        return {};
    return u"%1/%2"_s.arg(whole(visit.systolic), whole(visit.diastolic));
}

std::optional<double> bmiOf(const Visit& visit) {
    if (visit.heightCm && visit.weightKg && *visit.heightCm > 0)
        return bodyMassIndex(*visit.heightCm, *visit.weightKg);
    return std::nullopt;
}

std::optional<double> standardWeightOf(const Visit& visit) {
    if (visit.heightCm && *visit.heightCm > 0)
        return standardWeight(*visit.heightCm);
    return std::nullopt;
}

QTableWidget* makeTable(const QString& accessibleName, const QStringList& headings) {
    auto* table = new QTableWidget(0, int(headings.size()));
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(headings);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void fillTable(QTableWidget* table, const QList<QStringList>& rows, const QList<bool>& numbers) {
    table->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (numbers.value(c))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
}

// The visits' table as the window and the page show it.
QStringList visitHeadings() {
    return {u"受診日"_s, u"身長"_s,     u"体重"_s, u"BMI"_s,        u"標準体重"_s, u"腹囲"_s,
            u"血圧"_s,   u"中性脂肪"_s, u"HDL"_s,  u"空腹時血糖"_s, u"随時血糖"_s, u"HbA1c"_s};
}

QStringList visitRow(const Visit& visit) {
    QString triglycerides = whole(visit.triglycerides);
    if (visit.triglycerides && !visit.triglyceridesFasting)
        triglycerides += u"（随時）"_s;
    return {formatDate(visit.date),
            decimal(visit.heightCm),
            decimal(visit.weightKg),
            decimal(bmiOf(visit)),
            decimal(standardWeightOf(visit)),
            decimal(visit.waistCm),
            pressureText(visit),
            triglycerides,
            whole(visit.hdl),
            whole(visit.fastingGlucose),
            whole(visit.casualGlucose),
            decimal(visit.hba1c)};
}

QString settingsKey() {
    return u"records/path"_s;
}

} // namespace

RecordsWindow::RecordsWindow(WindowHost& host)
    : WindowObject(host, recordsLayout()), m_shown(std::make_unique<Shown>()) {}

RecordsWindow::~RecordsWindow() = default;

QString RecordsWindow::settingsPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(u"records.ini"_s);
}

RecordFile* RecordsWindow::record() {
    if (m_record)
        return m_record.get();
    const QString remembered =
        QSettings(settingsPath(), QSettings::IniFormat).value(settingsKey()).toString();
    if (!remembered.isEmpty() && switchTo(remembered))
        return m_record.get();
    if (remembered != defaultRecordPath())
        switchTo(defaultRecordPath());
    return m_record.get();
}

void RecordsWindow::tell(const QString& message) {
    host().handoutDialogs().tell(form(), message);
}

void RecordsWindow::guarded(const std::function<void()>& handler) {
    try {
        runGuarded(host().errorStop(), handler);
    } catch (const RecordFileError& error) {
        tell(error.message());
    }
}

bool RecordsWindow::switchTo(const QString& path) {
    std::unique_ptr<RecordFile> opened;
    try {
        opened = RecordFile::open(path);
    } catch (const RecordFileError& error) {
        tell(error.message());
        return false;
    }
    closePlans();
    m_record = std::move(opened);
    QSettings(settingsPath(), QSettings::IniFormat).setValue(settingsKey(), m_record->path());
    m_clientId = 0;
    m_visitId = 0;
    host().setConsultedClient({});
    if (m_record->isReadOnly())
        tell(m_record->readOnlyReason());
    if (isLoaded()) {
        applyReadOnly();
        newClient();
        showClients();
    }
    return true;
}

void RecordsWindow::openAnother() {
    const QString folder =
        m_record ? QFileInfo(m_record->path()).absolutePath() : QFileInfo(defaultRecordPath()).absolutePath();
    const QString path = host().openFileDialog().chooseFile(form(), folder, RecordFilter);
    if (!path.isEmpty() && switchTo(path))
        open();
}

void RecordsWindow::startAnother() {
    QString path = host().handoutDialogs().chooseSaveFile(
        form(), QDir(host().tableFolder()).filePath(u"相談記録"_s + RecordSuffix), RecordFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(RecordSuffix, Qt::CaseInsensitive))
        path += RecordSuffix;
    // A record of someone's is never replaced by an empty one.
    if (QFileInfo::exists(path)) {
        tell(u"%1 はすでにあります。記録 → 開く… で開いてください。"_s.arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (switchTo(path))
        open();
}

void RecordsWindow::backUp() {
    RecordFile* file = record();
    if (!file)
        return;
    const QString proposed =
        QDir(host().tableFolder())
            .filePath(u"相談記録_%1%2"_s.arg(QDate::currentDate().toString(Qt::ISODate), RecordSuffix));
    QString path = host().handoutDialogs().chooseSaveFile(form(), proposed, RecordFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(RecordSuffix, Qt::CaseInsensitive))
        path += RecordSuffix;
    // The copy goes beside its place first, so that a copy being replaced
    // (the dialog asked) stays whole until the new one is.
    const QString partial = path + u".part"_s;
    QFile::remove(partial);
    try {
        file->backupTo(partial);
    } catch (const RecordFileError& error) {
        QFile::remove(partial);
        tell(error.message());
        return;
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        tell(u"バックアップを %1 に保存できませんでした。"_s.arg(QDir::toNativeSeparators(path)));
        return;
    }
    tell(u"バックアップを %1 に保存しました。"_s.arg(QDir::toNativeSeparators(path)));
}

QMenuBar* RecordsWindow::makeMenuBar() {
    QMenuBar* menuBar = makeFileMenu();
    QMenu* file = menuBar->actions().constFirst()->menu();
    QAction* csv = file->addAction(u"CSV に書き出す(&E)…"_s);
    connect(
        csv, &QAction::triggered, this, [this] { guarded([this] { exportCsv(); }); }, Qt::QueuedConnection);
    return menuBar;
}

std::unique_ptr<QWidget> RecordsWindow::buildForm(QMenuBar* menuBar) {
    auto form = std::make_unique<QWidget>();
    form->setObjectName(layout().name);
    form->setWindowTitle(layout().caption);
    m_ui = std::make_unique<Controls>();
    Controls& ui = *m_ui;
    ui.form = form.get();

    // A caption that gives its box the focus on its mnemonic, left of it.
    const auto captioned = [](QGridLayout* grid, int row, int column, const QString& label, QWidget* box) {
        auto* caption = new QLabel(label);
        caption->setBuddy(box);
        grid->addWidget(caption, row, column);
    };
    const auto input = [&ui, &captioned](QGridLayout* grid, int row, int column, const QString& label,
                                         QWidget* box, const QString& unit = {}) {
        captioned(grid, row, column, label, box);
        box->setAccessibleName(label);
        if (unit.isEmpty()) {
            grid->addWidget(box, row, column + 1);
        } else {
            auto* line = new QHBoxLayout;
            line->addWidget(box, 1);
            line->addWidget(new QLabel(unit));
            grid->addLayout(line, row, column + 1);
        }
        ui.inputs.insert(label, box);
    };
    const auto lineEdit = [] {
        auto* box = new QLineEdit;
        box->setMinimumWidth(70);
        return box;
    };
    const auto check = [&ui](const QString& label) {
        auto* box = new QCheckBox(label);
        box->setAccessibleName(label);
        ui.inputs.insert(label, box);
        return box;
    };
    const auto readOnly = [](const QString& name) {
        auto* box = new QLineEdit;
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::TabFocus);
        box->setAccessibleName(name);
        return box;
    };
    const auto button = [](const QString& caption) { return new QPushButton(caption); };

    // The clients: search, list, form.
    auto* clientSide = new QVBoxLayout;
    auto* searchLine = new QHBoxLayout;
    ui.search = new QLineEdit;
    ui.search->setAccessibleName(u"検索"_s);
    ui.search->setPlaceholderText(u"ふりがな か 番号"_s);
    ui.search->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(u"検索"_s);
    searchLabel->setBuddy(ui.search);
    searchLine->addWidget(searchLabel);
    searchLine->addWidget(ui.search, 1);
    clientSide->addLayout(searchLine);
    ui.clients =
        makeTable(u"相談者の一覧"_s, {u"氏名"_s, u"ふりがな"_s, u"性別"_s, u"生年月日"_s, u"番号"_s});
    clientSide->addWidget(ui.clients, 1);
    auto* clientBox = new QGroupBox(u"相談者"_s);
    auto* clientGrid = new QGridLayout(clientBox);
    ui.name = lineEdit();
    ui.name->setMaxLength(80);
    ui.furigana = lineEdit();
    ui.sex = new QComboBox;
    ui.sex->addItems({sexText(Sex::Male), sexText(Sex::Female)});
    ui.birthDate = lineEdit();
    ui.birthDate->setPlaceholderText(u"例 1960-04-02、昭和35年4月2日"_s);
    ui.number = lineEdit();
    input(clientGrid, 0, 0, u"氏名"_s, ui.name);
    input(clientGrid, 1, 0, u"ふりがな"_s, ui.furigana);
    input(clientGrid, 2, 0, u"性別"_s, ui.sex);
    input(clientGrid, 3, 0, u"生年月日"_s, ui.birthDate);
    input(clientGrid, 4, 0, u"番号"_s, ui.number);
    clientGrid->setColumnStretch(1, 1);
    clientSide->addWidget(clientBox);
    auto* clientButtons = new QHBoxLayout;
    ui.newClient = button(u"新しい相談者"_s);
    ui.save = button(u"保存"_s);
    ui.remove = button(u"削除"_s);
    for (QPushButton* b : {ui.newClient, ui.save, ui.remove})
        clientButtons->addWidget(b);
    clientSide->addLayout(clientButtons);

    // The visits: list, form and chart.
    auto* visitSide = new QVBoxLayout;
    ui.visits = makeTable(u"受診記録の一覧"_s, visitHeadings());
    ui.visits->horizontalHeader()->setStretchLastSection(false);
    ui.visits->setMinimumHeight(150);
    visitSide->addWidget(ui.visits, 1);
    auto* lower = new QHBoxLayout;
    auto* visitBox = new QGroupBox(u"受診記録"_s);
    auto* visitGrid = new QGridLayout(visitBox);
    ui.date = lineEdit();
    ui.date->setPlaceholderText(u"例 2026-06-01"_s);
    ui.height = lineEdit();
    ui.weight = lineEdit();
    ui.waist = lineEdit();
    ui.systolic = lineEdit();
    ui.diastolic = lineEdit();
    ui.triglycerides = lineEdit();
    ui.hdl = lineEdit();
    ui.fastingGlucose = lineEdit();
    ui.casualGlucose = lineEdit();
    ui.hba1c = lineEdit();
    ui.bmi = readOnly(u"BMI"_s);
    ui.standardWeight = readOnly(u"標準体重"_s);
    input(visitGrid, 0, 0, u"受診日"_s, ui.date);
    input(visitGrid, 1, 0, u"身長"_s, ui.height, u"cm"_s);
    input(visitGrid, 1, 2, u"体重"_s, ui.weight, u"kg"_s);
    input(visitGrid, 2, 0, u"腹囲"_s, ui.waist, u"cm"_s);
    captioned(visitGrid, 2, 2, u"BMI"_s, ui.bmi);
    visitGrid->addWidget(ui.bmi, 2, 3);
    input(visitGrid, 3, 0, u"収縮期血圧"_s, ui.systolic, u"mmHg"_s);
    input(visitGrid, 3, 2, u"拡張期血圧"_s, ui.diastolic, u"mmHg"_s);
    input(visitGrid, 4, 0, u"中性脂肪"_s, ui.triglycerides, u"mg/dl"_s);
    ui.fasting = check(u"空腹時"_s);
    ui.fasting->setChecked(true);
    visitGrid->addWidget(ui.fasting, 4, 2, 1, 2);
    input(visitGrid, 5, 0, u"HDLコレステロール"_s, ui.hdl, u"mg/dl"_s);
    input(visitGrid, 5, 2, u"HbA1c"_s, ui.hba1c, u"%"_s);
    input(visitGrid, 6, 0, u"空腹時血糖"_s, ui.fastingGlucose, u"mg/dl"_s);
    input(visitGrid, 6, 2, u"随時血糖"_s, ui.casualGlucose, u"mg/dl"_s);
    captioned(visitGrid, 0, 2, u"標準体重"_s, ui.standardWeight);
    visitGrid->addWidget(ui.standardWeight, 0, 3);
    auto* checks = new QHBoxLayout;
    ui.smoking = check(u"喫煙"_s);
    ui.pressureMedicine = check(u"血圧の薬"_s);
    ui.glucoseMedicine = check(u"血糖の薬"_s);
    ui.lipidMedicine = check(u"脂質の薬"_s);
    for (QCheckBox* c : {ui.smoking, ui.pressureMedicine, ui.glucoseMedicine, ui.lipidMedicine})
        checks->addWidget(c);
    checks->addStretch();
    visitGrid->addLayout(checks, 7, 0, 1, 4);
    ui.memo = new QPlainTextEdit;
    ui.memo->setTabChangesFocus(true);
    ui.memo->setMaximumHeight(56);
    auto* memoLabel = new QLabel(u"メモ"_s);
    memoLabel->setBuddy(ui.memo);
    ui.memo->setAccessibleName(u"メモ"_s);
    ui.inputs.insert(u"メモ"_s, ui.memo);
    visitGrid->addWidget(memoLabel, 8, 0);
    visitGrid->addWidget(ui.memo, 8, 1, 1, 3);
    ui.supportLevel = readOnly(u"支援レベル"_s);
    ui.supportReasons = readOnly(u"判定の理由"_s);
    ui.plan = button(u"行動計画…"_s);
    ui.plan->setEnabled(false);
    auto* levelLabel = new QLabel(u"支援レベル"_s);
    levelLabel->setBuddy(ui.supportLevel);
    auto* reasonLabel = new QLabel(u"判定の理由"_s);
    reasonLabel->setBuddy(ui.supportReasons);
    visitGrid->addWidget(levelLabel, 9, 0);
    auto* levelLine = new QHBoxLayout;
    levelLine->addWidget(ui.supportLevel, 1);
    levelLine->addWidget(ui.plan);
    visitGrid->addLayout(levelLine, 9, 1, 1, 3);
    visitGrid->addWidget(reasonLabel, 10, 0);
    visitGrid->addWidget(ui.supportReasons, 10, 1, 1, 3);
    ui.evaluation = readOnly(u"計画の評価"_s);
    auto* evaluationLabel = new QLabel(u"計画の評価"_s);
    evaluationLabel->setBuddy(ui.evaluation);
    visitGrid->addWidget(evaluationLabel, 11, 0);
    visitGrid->addWidget(ui.evaluation, 11, 1, 1, 3);
    visitGrid->setColumnStretch(1, 1);
    visitGrid->setColumnStretch(3, 1);
    lower->addWidget(visitBox);
    ui.chart = new CourseChart;
    lower->addWidget(ui.chart, 1);
    visitSide->addLayout(lower);
    auto* visitButtons = new QHBoxLayout;
    ui.newVisit = button(u"新しい記録"_s);
    ui.consult = button(u"この人の相談"_s);
    ui.consult->setCheckable(true);
    ui.print = button(u"経過の印刷(&P)…"_s);
    ui.savePdf = button(u"経過を PDF に保存(&S)…"_s);
    ui.csv = button(u"CSV に書き出す(&E)…"_s);
    for (QPushButton* b : {ui.newVisit, ui.consult, ui.print, ui.savePdf, ui.csv})
        visitButtons->addWidget(b);
    visitButtons->addStretch();
    visitSide->addLayout(visitButtons);

    auto* sides = new QHBoxLayout;
    sides->addLayout(clientSide, 3);
    sides->addLayout(visitSide, 5);
    auto* whole = new QVBoxLayout(form.get());
    whole->setMenuBar(menuBar);
    whole->addLayout(sides);
    // Within a 1366×768 screen, with room for the task bar and the frame.
    form->resize(1320, 690);
    return form;
}

void RecordsWindow::bindControls() {
    Controls& ui = *m_ui;
    const auto click = [this](QPushButton* b, std::function<void()> handler) {
        connect(b, &QPushButton::clicked, this, [this, handler = std::move(handler)] { guarded(handler); });
    };
    click(ui.newClient, [this] { newClient(); });
    click(ui.newVisit, [this] { newVisit(); });
    click(ui.save, [this] { save(); });
    click(ui.remove, [this] { deleteClient(); });
    click(ui.print, [this] { printHandout(); });
    click(ui.savePdf, [this] { chooseSave(); });
    click(ui.csv, [this] { exportCsv(); });
    click(ui.plan, [this] { openPlan(); });
    connect(ui.consult, &QPushButton::toggled, this,
            [this](bool on) { guarded([this, on] { consult(on); }); });
    connect(ui.search, &QLineEdit::textChanged, this, [this] { guarded([this] { showClients(); }); });
    connect(ui.clients, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (m_refreshing || row < 0 || row >= m_shown->clients.size())
            return;
        guarded([this, row] { chooseClient(m_shown->clients[row].id); });
    });
    connect(ui.visits, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!m_refreshing)
            guarded([this, row] { chooseVisit(row); });
    });
    for (QLineEdit* box : {ui.height, ui.weight})
        connect(box, &QLineEdit::textChanged, this, [this] { showBodyFigures(); });

    guarded([this] {
        record();
        applyReadOnly();
        const qint64 chosen = m_clientId;
        newClient();
        showClients();
        if (chosen)
            chooseClient(chosen);
    });
}

void RecordsWindow::applyReadOnly() {
    Controls& ui = *m_ui;
    const bool writable = m_record && !m_record->isReadOnly();
    for (QWidget* box : std::as_const(ui.inputs)) {
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->setReadOnly(!writable);
        else if (auto* text = qobject_cast<QPlainTextEdit*>(box))
            text->setReadOnly(!writable);
        else
            box->setEnabled(writable);
    }
    for (QPushButton* b : {ui.newClient, ui.newVisit, ui.save, ui.remove})
        b->setEnabled(writable);
    ui.search->setEnabled(m_record != nullptr);
    const QString where = m_record ? QDir::toNativeSeparators(m_record->path()) : u"（開いていません）"_s;
    ui.form->setWindowTitle(
        writable ? layout().caption
                 : u"%1 - %2（読むだけ）"_s.arg(layout().caption, QFileInfo(where).fileName()));
    ui.form->setToolTip({});
}

void RecordsWindow::showClients() {
    Controls& ui = *m_ui;
    m_shown->clients = !m_record ? QList<Client>{}
                       : ui.search->text().trimmed().isEmpty()
                           ? m_record->clients()
                           : m_record->search(ui.search->text().trimmed());
    QList<QStringList> rows;
    int chosenRow = -1;
    for (const Client& c : std::as_const(m_shown->clients)) {
        if (c.id == m_clientId)
            chosenRow = int(rows.size());
        rows.append({c.name, c.furigana, sexText(c.sex), birthText(c.birthDate), c.number});
    }
    m_refreshing = true;
    fillTable(ui.clients, rows, {});
    ui.clients->setCurrentCell(chosenRow, 0);
    m_refreshing = false;
}

void RecordsWindow::chooseClient(qint64 id) {
    const std::optional<Client> client = m_record ? m_record->client(id) : std::nullopt;
    if (!client)
        return;
    if (id != m_clientId && m_ui->consult->isChecked())
        m_ui->consult->setChecked(false);
    m_clientId = id;
    m_visitId = 0;
    fillClientForm(*client);
    showVisits();
    if (m_shown->visits.isEmpty())
        return newVisit();
    m_refreshing = true;
    m_ui->visits->setCurrentCell(0, 0);
    m_refreshing = false;
    fillVisitForm(m_shown->visits.first());
}

void RecordsWindow::showVisits() {
    Controls& ui = *m_ui;
    m_shown->visits = m_record && m_clientId ? m_record->visits(m_clientId) : QList<Visit>{};
    QList<QStringList> rows;
    int chosenRow = -1;
    for (const Visit& v : std::as_const(m_shown->visits)) {
        if (v.id == m_visitId)
            chosenRow = int(rows.size());
        rows.append(visitRow(v));
    }
    m_refreshing = true;
    QList<bool> numbers(visitHeadings().size(), true);
    numbers[0] = false;
    fillTable(ui.visits, rows, numbers);
    ui.visits->setCurrentCell(chosenRow, 0);
    m_refreshing = false;
    ui.chart->setPoints(courseOf(m_shown->visits));
}

void RecordsWindow::chooseVisit(int row) {
    if (row < 0 || row >= m_shown->visits.size())
        return;
    fillVisitForm(m_shown->visits[row]);
}

void RecordsWindow::fillClientForm(const Client& client) {
    Controls& ui = *m_ui;
    ui.name->setText(client.name);
    ui.furigana->setText(client.furigana);
    ui.sex->setCurrentIndex(client.sex == Sex::Male ? 0 : 1);
    ui.birthDate->setText(client.birthDate.isValid() ? formatDate(client.birthDate) : QString());
    ui.number->setText(client.number);
}

void RecordsWindow::fillVisitForm(const Visit& visit) {
    Controls& ui = *m_ui;
    m_visitId = visit.id;
    ui.date->setText(visit.date.isValid() ? formatDate(visit.date) : QString());
    ui.height->setText(decimal(visit.heightCm));
    ui.weight->setText(decimal(visit.weightKg));
    ui.waist->setText(decimal(visit.waistCm));
    ui.systolic->setText(whole(visit.systolic));
    ui.diastolic->setText(whole(visit.diastolic));
    ui.triglycerides->setText(whole(visit.triglycerides));
    ui.fasting->setChecked(visit.triglyceridesFasting);
    ui.hdl->setText(whole(visit.hdl));
    ui.fastingGlucose->setText(whole(visit.fastingGlucose));
    ui.casualGlucose->setText(whole(visit.casualGlucose));
    ui.hba1c->setText(decimal(visit.hba1c));
    ui.smoking->setChecked(visit.smoking);
    ui.pressureMedicine->setChecked(visit.bloodPressureMedicine);
    ui.glucoseMedicine->setChecked(visit.glucoseMedicine);
    ui.lipidMedicine->setChecked(visit.lipidMedicine);
    ui.memo->setPlainText(visit.memo);
    showBodyFigures();
    showSupport();
}

void RecordsWindow::showBodyFigures() {
    Controls& ui = *m_ui;
    const QDate today = QDate::currentDate();
    Visit measured;
    measured.date = today;
    measured.heightCm = measurementFromText(ui.height->text());
    measured.weightKg = measurementFromText(ui.weight->text());
    // Only for figures a visit may be kept with, not for a height half typed.
    if (checkVisit(measured, Client{}, today))
        measured = Visit{};
    const std::optional<double> bmi = bmiOf(measured);
    const std::optional<double> standard = standardWeightOf(measured);
    ui.bmi->setText(decimal(bmi));
    ui.standardWeight->setText(standard ? decimal(standard) + u" kg"_s : QString());
}

void RecordsWindow::newClient() {
    Controls& ui = *m_ui;
    ui.consult->setChecked(false);
    m_clientId = 0;
    fillClientForm(Client{});
    m_refreshing = true;
    ui.clients->setCurrentCell(-1, 0);
    m_refreshing = false;
    showVisits();
    newVisit();
}

void RecordsWindow::newVisit() {
    Visit fresh;
    // The height seldom changes between visits of an adult: kept from the last.
    if (!m_shown->visits.isEmpty())
        fresh.heightCm = m_shown->visits.first().heightCm;
    fillVisitForm(fresh);
    m_ui->date->clear();
    m_refreshing = true;
    m_ui->visits->setCurrentCell(-1, 0);
    m_refreshing = false;
}

Client RecordsWindow::clientFromForm() const {
    const Controls& ui = *m_ui;
    Client client;
    client.id = m_clientId;
    client.name = ui.name->text().trimmed();
    client.furigana = ui.furigana->text().trimmed();
    client.sex = ui.sex->currentIndex() == 1 ? Sex::Female : Sex::Male;
    client.birthDate = parseDate(ui.birthDate->text().trimmed()).value_or(QDate());
    client.number = ui.number->text().trimmed();
    return client;
}

Visit RecordsWindow::visitFromForm() const {
    const Controls& ui = *m_ui;
    Visit visit;
    visit.id = m_visitId;
    visit.clientId = m_clientId;
    visit.date = parseDate(ui.date->text().trimmed()).value_or(QDate());
    visit.heightCm = measurementFromText(ui.height->text());
    visit.weightKg = measurementFromText(ui.weight->text());
    visit.waistCm = measurementFromText(ui.waist->text());
    visit.systolic = wholeMeasurementFromText(ui.systolic->text());
    visit.diastolic = wholeMeasurementFromText(ui.diastolic->text());
    visit.triglycerides = wholeMeasurementFromText(ui.triglycerides->text());
    visit.triglyceridesFasting = ui.fasting->isChecked();
    visit.hdl = wholeMeasurementFromText(ui.hdl->text());
    visit.fastingGlucose = wholeMeasurementFromText(ui.fastingGlucose->text());
    visit.casualGlucose = wholeMeasurementFromText(ui.casualGlucose->text());
    visit.hba1c = measurementFromText(ui.hba1c->text());
    visit.smoking = ui.smoking->isChecked();
    visit.bloodPressureMedicine = ui.pressureMedicine->isChecked();
    visit.glucoseMedicine = ui.glucoseMedicine->isChecked();
    visit.lipidMedicine = ui.lipidMedicine->isChecked();
    visit.memo = ui.memo->toPlainText();
    return visit;
}

bool RecordsWindow::visitFormInUse() const {
    if (m_visitId != 0)
        return true;
    const Controls& ui = *m_ui;
    // The height alone is carried over from the last visit, not typed.
    for (QLineEdit* box : {ui.date, ui.weight, ui.waist, ui.systolic, ui.diastolic, ui.triglycerides, ui.hdl,
                           ui.fastingGlucose, ui.casualGlucose, ui.hba1c})
        if (!box->text().trimmed().isEmpty())
            return true;
    return !ui.memo->toPlainText().trimmed().isEmpty() || ui.smoking->isChecked() ||
           ui.pressureMedicine->isChecked() || ui.glucoseMedicine->isChecked() ||
           ui.lipidMedicine->isChecked();
}

void RecordsWindow::showProblem(const QString& field, const QString& message) {
    tell(message);
    if (QWidget* box = m_ui->inputs.value(field)) {
        box->setFocus(Qt::OtherFocusReason);
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->selectAll();
    }
}

void RecordsWindow::save() {
    if (!m_record || m_record->isReadOnly())
        return;
    const QDate today = QDate::currentDate();
    const Client client = clientFromForm();
    if (!m_ui->birthDate->text().trimmed().isEmpty() && !client.birthDate.isValid())
        return showProblem(u"生年月日"_s,
                           u"生年月日を 1960-04-02 や 昭和35年4月2日 のように入力してください。"_s);
    if (const auto problem = checkClient(client, today))
        return showProblem(problem->field, problem->message);
    const bool withVisit = visitFormInUse();
    const Visit visit = visitFromForm();
    if (withVisit)
        if (const auto problem = checkVisit(visit, client, today))
            return showProblem(problem->field, problem->message);
    // Both are checked before either is kept.
    m_clientId = m_record->saveClient(client);
    if (withVisit) {
        Visit kept = visit;
        kept.clientId = m_clientId;
        m_visitId = m_record->saveVisit(kept);
    }
    if (m_ui->consult->isChecked())
        host().setConsultedClient(client.name);
    showClients();
    fillClientForm(*m_record->client(m_clientId));
    showVisits();
    // The form shows what was kept, its date as the list shows it.
    const auto kept = std::find_if(m_shown->visits.begin(), m_shown->visits.end(),
                                   [this](const Visit& v) { return v.id == m_visitId; });
    if (withVisit && kept != m_shown->visits.end())
        fillVisitForm(*kept);
    else
        newVisit();
    showSupport();
}

void RecordsWindow::deleteClient() {
    if (!m_record || m_record->isReadOnly() || m_clientId == 0)
        return;
    const QString question =
        u"選んでいる相談者と、その受診記録 %1 件をすべて削除します。元には戻せません。よろしいですか？"_s.arg(
            m_shown->visits.size());
    if (!host().handoutDialogs().confirm(form(), question))
        return;
    m_record->deleteClient(m_clientId);
    newClient();
    showClients();
}

void RecordsWindow::consult(bool on) {
    if (on && m_clientId == 0) {
        m_ui->consult->setChecked(false);
        tell(u"先に相談者を選んでください。"_s);
        return;
    }
    const std::optional<Client> client = on ? m_record->client(m_clientId) : std::nullopt;
    host().setConsultedClient(client ? client->name : QString());
}

void RecordsWindow::exportCsv() {
    if (!m_record || m_clientId == 0)
        return tell(u"先に相談者を選んでください。"_s);
    const QString proposed =
        QDir(host().tableFolder())
            .filePath(u"受診記録_%1.csv"_s.arg(QDate::currentDate().toString(Qt::ISODate)));
    const QString path = host().handoutDialogs().chooseSaveFile(form(), proposed, u"CSV (*.csv)"_s);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writeVisitsCsv(file, m_record->visits(m_clientId)) ||
        !file.commit())
        tell(u"%1 に書き出せませんでした。%2"_s.arg(QDir::toNativeSeparators(path), file.errorString()));
}

QString RecordsWindow::handoutHint() const {
    return u"先に相談者を選んでください。"_s;
}

std::optional<Handout> RecordsWindow::handout() const {
    if (!m_record || m_clientId == 0)
        return std::nullopt;
    const std::optional<Client> client = m_record->client(m_clientId);
    if (!client)
        return std::nullopt;
    QList<Visit> visits = m_record->visits(m_clientId);
    Handout paper{u"経過"_s, u"経過"_s, client->name, {}};
    QString about = u"性別 %1"_s.arg(sexText(client->sex));
    if (client->birthDate.isValid())
        about += u"　生年月日 %1"_s.arg(birthText(client->birthDate));
    if (!client->number.isEmpty())
        about += u"　番号 %1"_s.arg(client->number);
    paper.addLine(about);
    // Oldest first on paper: the course reads from the top down.
    std::reverse(visits.begin(), visits.end());
    QList<QStringList> rows;
    for (const Visit& v : std::as_const(visits))
        rows.append(visitRow(v));
    // On paper the longer headings go on two lines, so that the figures fit
    // beside each other on a portrait page.
    const QList<std::pair<QString, int>> headings{{u"受診日"_s, 14},
                                                  {u"身長"_s, 7},
                                                  {u"体重"_s, 7},
                                                  {u"BMI"_s, 8},
                                                  {u"標準\u2028体重"_s, 8},
                                                  {u"腹囲"_s, 7},
                                                  {u"血圧"_s, 9},
                                                  {u"中性\u2028脂肪"_s, 8},
                                                  {u"HDL"_s, 7},
                                                  {u"空腹時\u2028血糖"_s, 9},
                                                  {u"随時\u2028血糖"_s, 8},
                                                  {u"HbA1c"_s, 8}};
    QList<Handout::Column> columns;
    for (const auto& [heading, percent] : headings)
        columns.append({heading, percent, !columns.isEmpty()});
    paper.addTable(columns, rows);
    paper.addLine(u"身長・体重は cm・kg、血圧は mmHg、中性脂肪・HDL・血糖は mg/dl、HbA1c は %。"_s);
    paper.addDrawing(130, [points = courseOf(visits)](QPainter& painter, const QRectF& area) {
        paintCourse(painter, area, points, paperInk(printFont(9)));
    });
    paper.addLine(u"支援レベル"_s, true);
    for (const Visit& v : std::as_const(visits)) {
        const SupportAssessment support = assessSupport(*client, v);
        paper.addLine(u"%1　%2：%3"_s.arg(formatDate(v.date), supportLevelText(support.level),
                                          support.reasons.join(u"、"_s)));
    }
    return paper;
}

void RecordsWindow::showSupport() {
    Controls& ui = *m_ui;
    ui.supportLevel->clear();
    ui.supportReasons->clear();
    ui.supportReasons->setToolTip({});
    ui.evaluation->clear();
    ui.plan->setEnabled(false);
    const QList<Visit>& visits = m_shown->visits;
    const auto chosen =
        std::find_if(visits.begin(), visits.end(), [this](const Visit& v) { return v.id == m_visitId; });
    if (!m_record || m_visitId == 0 || chosen == visits.end())
        return;
    const std::optional<Client> client = m_record->client(m_clientId);
    if (!client)
        return;
    const SupportAssessment support = assessSupport(*client, *chosen);
    ui.supportLevel->setText(supportLevelText(support.level));
    ui.supportReasons->setText(support.reasons.join(u"、"_s));
    ui.supportReasons->setCursorPosition(0);
    // The whole of a long list, one reason a line, where the box cuts it.
    ui.supportReasons->setToolTip(support.reasons.join(u'\n'));
    ui.plan->setEnabled(true);
    // Newest first: the nearest earlier plan is the one this visit answers.
    for (auto earlier = chosen + 1; earlier != visits.end(); ++earlier) {
        const std::optional<QString> kept = m_record->plan(earlier->id);
        const std::optional<ActionPlan> plan = kept ? planFromJson(*kept) : std::nullopt;
        if (!plan)
            continue;
        const PlanEvaluation result =
            evaluatePlan(plan->goal, earlier->weightKg, earlier->waistCm, chosen->weightKg, chosen->waistCm);
        ui.evaluation->setText(
            u"%1 の計画から　%2"_s.arg(formatDate(earlier->date), evaluationText(plan->goal, result)));
        ui.evaluation->setCursorPosition(0);
        break;
    }
}

void RecordsWindow::openPlan() {
    const QList<Visit>& visits = m_shown->visits;
    const auto chosen =
        std::find_if(visits.begin(), visits.end(), [this](const Visit& v) { return v.id == m_visitId; });
    const std::optional<Client> client = m_record ? m_record->client(m_clientId) : std::nullopt;
    if (!client || chosen == visits.end())
        return;
    // One plan at a time: two windows over one visit would keep whichever saved last.
    closePlans();
    auto keeper = std::make_unique<RecordPlans>(*m_record);
    auto* window = new ActionPlanWindow(host(), *keeper, *client, *chosen, form());
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, [kept = keeper.release()] { delete kept; });
    connect(window, &ActionPlanWindow::kept, this, [this] { guarded([this] { showSupport(); }); });
    window->show();
}

void RecordsWindow::closePlans() {
    if (QWidget* shown = form())
        qDeleteAll(shown->findChildren<ActionPlanWindow*>(Qt::FindDirectChildrenOnly));
}
