// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/actionplanwindow.h"

#include "common/datafolder.h"
#include "forms/windowobject.h"
#include "tables/tableload.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString Title = QStringLiteral("行動計画");

// The self-check's column for an action: short enough to head a narrow column.
QString actionHeading(const MealSwap& swap) {
    return swap.instead.isEmpty() ? QStringLiteral("%1 をやめる").arg(swap.eaten)
                                  : QStringLiteral("%1 → %2").arg(swap.eaten, swap.instead);
}

QString actionHeading(const ExerciseHabit& habit) {
    return QStringLiteral("%1 %2 分").arg(habit.name).arg(habit.minutes);
}

QString goalText(const ActionPlan& plan) {
    return QStringLiteral("%1 か月で 体重 −%2 kg・腹囲 −%3 cm")
        .arg(plan.goal.months)
        .arg(QString::number(plan.goal.weightKg, 'g', 6), QString::number(plan.goal.waistCm, 'g', 6));
}

// A table row's choice: its number, name and value, as the listings show it.
void fillChoices(QComboBox* box, const Table& table, const QString& unit) {
    for (int n = 1; n <= table.rowCount(); ++n)
        box->addItem(
            QStringLiteral("%1 %2（%3 %4）").arg(n).arg(table.row(n).name).arg(table.row(n).value).arg(unit),
            n);
}

// The label before an input is its name for assistive tools, as on every window.
template <class W> W* named(W* widget, const QString& label, const QString& objectName) {
    widget->setAccessibleName(label);
    widget->setObjectName(objectName);
    return widget;
}

} // namespace

Handout actionPlanHandout(const Client& client, const SupportAssessment& support, const ActionPlan& plan) {
    Handout paper{Title, Title, client.name, {}};
    paper.addFigures({{QStringLiteral("受診日"), japaneseDate(plan.start), QString()},
                      {QStringLiteral("支援レベル"), supportLevelText(support.level), QString()}});
    paper.addLine(QStringLiteral("判定の理由"), true);
    for (const QString& reason : support.reasons)
        paper.addLine(QStringLiteral("・") + reason);

    paper.addLine(QStringLiteral("目標"), true);
    paper.addLine(goalText(plan) + QStringLiteral("（%1まで）").arg(japaneseDate(planEnd(plan))));
    paper.addLine(goalArithmetic(plan));

    paper.addLine(QStringLiteral("行動"), true);
    QStringList headings;
    for (const MealSwap& swap : plan.meals) {
        paper.addLine(QStringLiteral("・") + actionText(swap));
        headings << actionHeading(swap);
    }
    for (const ExerciseHabit& habit : plan.exercises) {
        paper.addLine(QStringLiteral("・") + actionText(habit));
        headings << actionHeading(habit);
    }
    if (headings.isEmpty())
        paper.addLine(QStringLiteral("（まだ決めていません）"));

    paper.addLine(QStringLiteral("見通し"), true);
    for (const QString& line : balanceText(plan))
        paper.addLine(line);

    if (!headings.isEmpty()) {
        paper.addLine(QStringLiteral("セルフチェック（できた日の数を書きましょう）"), true);
        QList<Handout::Column> columns{{QStringLiteral("週"), 24, false}};
        const int share = 76 / int(headings.size());
        for (const QString& heading : headings)
            columns.append({heading, share, false});
        QList<QStringList> rows;
        // Whole weeks, the last one running to the end of the period.
        const QDate end = planEnd(plan);
        const int weeks = std::max(1, int(std::lround(planDays(plan) / 7.0)));
        for (int week = 1; week <= weeks; ++week) {
            const QDate from = plan.start.addDays(7 * (week - 1));
            const QDate to = week == weeks ? end.addDays(-1) : from.addDays(6);
            QStringList row{QStringLiteral("%1 週目 %2/%3〜%4/%5")
                                .arg(week)
                                .arg(from.month())
                                .arg(from.day())
                                .arg(to.month())
                                .arg(to.day())};
            for (qsizetype i = 0; i < headings.size(); ++i)
                row << QString();
            rows.append(row);
        }
        paper.addTable(columns, rows);
    }
    return paper;
}

ActionPlanWindow::ActionPlanWindow(WindowHost& host, PlanKeeper& keeper, const Client& client,
                                   const Visit& visit, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(host), m_keeper(keeper), m_client(client), m_visit(visit),
      m_support(assessSupport(client, visit)),
      m_work(host.errorStop(), host.printer(), [this] { return this; }) {
    setWindowTitle(Title);
    setObjectName(Title);
    m_plan.start = visit.date;
    m_plan.goal = ProgrammeGoal;
    if (const std::optional<QString> kept = keeper.plan(visit.id))
        if (const std::optional<ActionPlan> read = planFromJson(*kept))
            m_plan = *read;
    loadTables();

    auto* menuBar = new QMenuBar;
    QMenu* file = menuBar->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* print = file->addAction(QStringLiteral("印刷(&P)…"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // Queued, as on every window: the menu closes before a dialog opens.
    connect(
        print, &QAction::triggered, this, [this] { printHandout(); }, Qt::QueuedConnection);
    QAction* save = file->addAction(QStringLiteral("PDF に保存(&S)…"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(
        save, &QAction::triggered, this, [this] { saveHandout(); }, Qt::QueuedConnection);

    auto* who =
        new QLabel(QStringLiteral("%1　受診日 %2　支援レベル %3")
                       .arg(client.name, japaneseDate(visit.date), supportLevelText(m_support.level)));
    who->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* reasons = new QLabel(m_support.reasons.join(QStringLiteral("\n")));
    reasons->setWordWrap(true);
    reasons->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    reasons->setAccessibleName(QStringLiteral("判定の理由"));

    m_balance = new QLabel;
    m_balance->setWordWrap(true);
    m_balance->setAccessibleName(QStringLiteral("見通し"));
    m_balance->setObjectName(QStringLiteral("見通し"));
    auto* balanceBox = new QGroupBox(QStringLiteral("見通し"));
    (new QVBoxLayout(balanceBox))->addWidget(m_balance);

    auto* keepButton = new QPushButton(QStringLiteral("保存"));
    keepButton->setObjectName(QStringLiteral("保存"));
    keepButton->setEnabled(visit.id != 0);
    connect(keepButton, &QPushButton::clicked, this, &ActionPlanWindow::keep);
    auto* closeButton = new QPushButton(QStringLiteral("閉じる"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    m_kept = new QLabel;
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_kept, 1);
    buttons->addWidget(keepButton);
    buttons->addWidget(closeButton);

    auto* columns = new QHBoxLayout;
    columns->addWidget(makeMeals());
    columns->addWidget(makeExercises());

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(who);
    layout->addWidget(reasons);
    layout->addWidget(makeGoal());
    layout->addLayout(columns, 1);
    layout->addWidget(balanceBox);
    layout->addLayout(buttons);
    refresh();
}

ActionPlanWindow::~ActionPlanWindow() = default;

void ActionPlanWindow::loadTables() {
    // Read while the window opens, as the listing windows read theirs; a
    // table that cannot be read is told and leaves its list empty.
    runGuarded(m_host.errorStop(),
               [this] { loadTable(m_setMeals, QDir(m_host.tableFolder()).filePath(SetMealFileName)); });
    runGuarded(m_host.errorStop(),
               [this] { loadTable(m_rmr, QDir(m_host.tableFolder()).filePath(RmrFileName)); });
}

QWidget* ActionPlanWindow::makeGoal() {
    auto* box = new QGroupBox(QStringLiteral("目標"));
    m_goalWeight = named(new QDoubleSpinBox, QStringLiteral("減らす体重"), QStringLiteral("減らす体重"));
    m_goalWeight->setRange(0.5, 30);
    m_goalWeight->setSingleStep(0.5);
    m_goalWeight->setDecimals(1);
    m_goalWeight->setSuffix(QStringLiteral(" kg"));
    m_goalWeight->setValue(m_plan.goal.weightKg);
    m_goalWaist = named(new QDoubleSpinBox, QStringLiteral("減らす腹囲"), QStringLiteral("減らす腹囲"));
    m_goalWaist->setRange(0.5, 30);
    m_goalWaist->setSingleStep(0.5);
    m_goalWaist->setDecimals(1);
    m_goalWaist->setSuffix(QStringLiteral(" cm"));
    m_goalWaist->setValue(m_plan.goal.waistCm);
    m_goalMonths = named(new QSpinBox, QStringLiteral("期間"), QStringLiteral("期間"));
    m_goalMonths->setRange(1, 12);
    m_goalMonths->setSuffix(QStringLiteral(" か月"));
    m_goalMonths->setValue(m_plan.goal.months);
    m_goalArithmetic = new QLabel;
    m_goalArithmetic->setWordWrap(true);
    m_goalArithmetic->setObjectName(QStringLiteral("目標の計算"));
    m_goalArithmetic->setAccessibleName(QStringLiteral("目標の計算"));

    auto* row = new QHBoxLayout;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("減らす体重"), m_goalWeight);
    form->addRow(QStringLiteral("減らす腹囲"), m_goalWaist);
    form->addRow(QStringLiteral("期間"), m_goalMonths);
    row->addLayout(form);
    auto* programme = new QPushButton(QStringLiteral("2 kg・2 cm・3 か月に戻す"));
    connect(programme, &QPushButton::clicked, this, [this] {
        m_goalWeight->setValue(ProgrammeGoal.weightKg);
        m_goalWaist->setValue(ProgrammeGoal.waistCm);
        m_goalMonths->setValue(ProgrammeGoal.months);
    });
    auto* side = new QVBoxLayout;
    side->addWidget(m_goalArithmetic);
    side->addWidget(programme, 0, Qt::AlignLeft);
    row->addLayout(side, 1);
    box->setLayout(row);
    connect(m_goalWeight, &QDoubleSpinBox::valueChanged, this, [this] { readGoal(); });
    connect(m_goalWaist, &QDoubleSpinBox::valueChanged, this, [this] { readGoal(); });
    connect(m_goalMonths, &QSpinBox::valueChanged, this, [this] { readGoal(); });
    return box;
}

QWidget* ActionPlanWindow::makeMeals() {
    m_eaten = named(new QComboBox, QStringLiteral("食べている定食"), QStringLiteral("食べている定食"));
    fillChoices(m_eaten, m_setMeals, QStringLiteral("kcal"));
    m_instead = named(new QComboBox, QStringLiteral("代わりに"), QStringLiteral("代わりに"));
    m_instead->addItem(QStringLiteral("食べない"), 0);
    fillChoices(m_instead, m_setMeals, QStringLiteral("kcal"));
    m_timesPerWeek = named(new QSpinBox, QStringLiteral("週に"), QStringLiteral("週に"));
    m_timesPerWeek->setRange(1, 21);
    m_timesPerWeek->setValue(3);
    m_timesPerWeek->setSuffix(QStringLiteral(" 回"));
    return actionGroup(QStringLiteral("食事：定食を置き換える"), QStringLiteral("食事"),
                       {{QStringLiteral("食べている定食"), m_eaten},
                        {QStringLiteral("代わりに"), m_instead},
                        {QStringLiteral("週に"), m_timesPerWeek}},
                       m_mealList, &ActionPlanWindow::addMeal, true);
}

QWidget* ActionPlanWindow::makeExercises() {
    m_exercise = named(new QComboBox, QStringLiteral("運動"), QStringLiteral("運動"));
    fillChoices(m_exercise, m_rmr, QStringLiteral("RMR"));
    m_minutes = named(new QSpinBox, QStringLiteral("時間"), QStringLiteral("時間"));
    m_minutes->setRange(1, 300);
    m_minutes->setValue(30);
    m_minutes->setSuffix(QStringLiteral(" 分"));
    m_daysPerWeek = named(new QSpinBox, QStringLiteral("週に（日）"), QStringLiteral("週に（日）"));
    m_daysPerWeek->setRange(1, 7);
    m_daysPerWeek->setValue(3);
    m_daysPerWeek->setSuffix(QStringLiteral(" 日"));
    return actionGroup(QStringLiteral("運動：続ける運動を加える"), QStringLiteral("運動"),
                       {{QStringLiteral("運動"), m_exercise},
                        {QStringLiteral("時間"), m_minutes},
                        {QStringLiteral("週に"), m_daysPerWeek}},
                       m_exerciseList, &ActionPlanWindow::addExercise, false);
}

QWidget* ActionPlanWindow::actionGroup(const QString& title, const QString& kind,
                                       const QList<std::pair<QString, QWidget*>>& choices, QListWidget*& list,
                                       void (ActionPlanWindow::*add)(), bool meals) {
    auto* box = new QGroupBox(title);
    const QString addCaption = kind + QStringLiteral("を加える");
    auto* adding = named(new QPushButton(addCaption), addCaption, addCaption);
    list = named(new QListWidget, kind + QStringLiteral("の行動"), kind + QStringLiteral("の行動"));
    auto* remove = new QPushButton(QStringLiteral("選んだ") + kind + QStringLiteral("を外す"));

    auto* form = new QFormLayout;
    for (const auto& [label, field] : choices)
        form->addRow(label, field);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addWidget(adding, 0, Qt::AlignRight);
    layout->addWidget(list, 1);
    layout->addWidget(remove, 0, Qt::AlignRight);
    connect(adding, &QPushButton::clicked, this, add);
    connect(remove, &QPushButton::clicked, this, [this, list, meals] { removeSelected(list, meals); });
    return box;
}

void ActionPlanWindow::addMeal() {
    if (m_eaten->currentIndex() < 0)
        return;
    runGuarded(m_host.errorStop(), [this] {
        m_plan.meals.append(mealSwapFromTable(m_setMeals, m_eaten->currentData().toInt(),
                                              m_instead->currentData().toInt(), m_timesPerWeek->value()));
    });
    refresh();
}

void ActionPlanWindow::addExercise() {
    if (m_exercise->currentIndex() < 0)
        return;
    runGuarded(m_host.errorStop(), [this] {
        m_plan.exercises.append(exerciseFromTable(m_rmr, m_exercise->currentData().toInt(),
                                                  m_minutes->value(), m_daysPerWeek->value(),
                                                  m_client.sex == Sex::Female));
    });
    refresh();
}

void ActionPlanWindow::removeSelected(QListWidget* list, bool meals) {
    const int row = list->currentRow();
    if (row < 0)
        return;
    if (meals)
        m_plan.meals.removeAt(row);
    else
        m_plan.exercises.removeAt(row);
    refresh();
}

void ActionPlanWindow::readGoal() {
    m_plan.goal = {m_goalWeight->value(), m_goalWaist->value(), m_goalMonths->value()};
    refresh();
}

void ActionPlanWindow::refresh() {
    m_goalArithmetic->setText(goalArithmetic(m_plan));
    m_mealList->clear();
    for (const MealSwap& swap : m_plan.meals)
        m_mealList->addItem(actionText(swap));
    m_exerciseList->clear();
    for (const ExerciseHabit& habit : m_plan.exercises)
        m_exerciseList->addItem(actionText(habit));
    m_balance->setText(balanceText(m_plan).join(QStringLiteral("\n")));
    m_kept->clear();
}

Handout ActionPlanWindow::handout() const {
    return actionPlanHandout(m_client, m_support, m_plan);
}

void ActionPlanWindow::keep() {
    const QString why = m_keeper.savePlan(m_visit.id, planToJson(m_plan));
    if (why.isEmpty()) {
        m_kept->setText(QStringLiteral("保存しました。"));
        emit kept();
    } else
        m_host.handoutDialogs().tell(this, why);
}

void ActionPlanWindow::printHandout() {
    m_work.print([paper = handout(), today = QDate::currentDate()] {
        return [paper, today](TextPrinter& printer, WorkProgress& progress) {
            ::printHandout(paper, today, printer, progress);
        };
    });
}

void ActionPlanWindow::saveHandout() {
    if (m_work.isSaving()) {
        m_host.handoutDialogs().tell(
            this, QStringLiteral("PDF を保存しています。保存が終わってから、もう一度選んでください。"));
        return;
    }
    const QDate today = QDate::currentDate();
    const QString path = m_host.handoutDialogs().chooseSavePath(
        this, QDir(m_host.tableFolder()).filePath(proposedPdfName(Title, today)));
    if (!path.isEmpty())
        m_work.save(path, [paper = handout(), today](QIODevice& file, WorkProgress& progress) {
            writeHandoutPdf(paper, today, file, &progress);
        });
}
