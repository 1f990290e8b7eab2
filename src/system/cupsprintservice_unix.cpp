// SPDX-License-Identifier: GPL-3.0-or-later
// A job sent to CUPS: created, its document sent and confirmed, then watched
// for a moment.
#include "system/cupsprintservice_unix.h"

#include "common/runtimeerror.h"
#include "system/cupslibrary_unix.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QIODevice>
#include <QRegularExpression>
#include <QSizeF>
#include <QThread>

#include <optional>

namespace {

[[noreturn]] void fail(const QString& printer, const QString& reason) {
    throw RuntimeError(ErrorKind::Printer, printer, reason);
}

// "iso_a4_210x297mm", "na_letter_8.5x11in": the size is the name's last part.
QPageSize paperOf(const QString& pwgName) {
    static const QRegularExpression size(QStringLiteral("_([0-9.]+)x([0-9.]+)(mm|in)$"));
    const auto match = size.match(pwgName);
    if (!match.hasMatch())
        return {};
    const QSizeF dimensions(match.captured(1).toDouble(), match.captured(2).toDouble());
    return QPageSize(dimensions, match.captured(3) == u"mm" ? QPageSize::Millimeter : QPageSize::Inch, {},
                     QPageSize::FuzzyOrientationMatch);
}

QString reasonsOf(const QStringList& reasons) {
    QStringList told = reasons;
    told.removeAll(QStringLiteral("none"));
    return told.join(u", ");
}

// The printer's state reasons that keep a job from printing, not the warnings
// and reports of one that prints.
QString troubleOf(const QStringList& reasons) {
    QStringList told;
    for (const QString& r : reasons) {
        if (r.endsWith(u"-error") || r == u"connecting-to-device" || r.startsWith(u"offline") ||
            r == u"shutdown" || r == u"timed-out")
            told.append(r);
    }
    return told.join(u", ");
}

QString handedOverUnchecked(const QString& printer, int job) {
    return QStringLiteral("ジョブ %1 をプリンタ %2 に渡しましたが、印刷サービスが応答せず、"
                          "その後の状態を確かめられませんでした")
        .arg(job)
        .arg(printer);
}

// How often libcups asks whether to go on waiting: how soon a cancel is seen.
constexpr double AskEverySeconds = 0.25;
// Withdrawing a job, or asking whether its document arrived, gets this long
// on the way out, whatever else was cancelled.
constexpr auto BrieflyWithin = std::chrono::milliseconds(1000);
// A queue that holds a job, or a printer that stops on it, says so within
// this time; a job still printing after it is on its way.
constexpr int WatchMs = 4000;

// Called by libcups each time it has waited AskEverySeconds: 0 gives up.
struct Waiting {
    QDeadlineTimer deadline;
    std::function<bool()> cancelled;
    bool timedOut = false;

    static int keepWaiting(http_t*, void* data) {
        auto* self = static_cast<Waiting*>(data);
        if (self->cancelled && self->cancelled())
            return 0;
        if (self->deadline.hasExpired()) {
            self->timedOut = true;
            return 0;
        }
        return 1;
    }
};

// How a step that waits on the print system ended, when it did not fail.
enum class Step {
    Done,       // the print system said what was asked
    Cancelled,  // the user gave up
    Unanswered, // the time ran out with no word
};

} // namespace

struct CupsPrintService::Private {
    const CupsLibrary& api = cupsLibrary();
    http_t* http = nullptr;
    std::chrono::seconds answerWithin;
    // One bound for the whole exchange, from the connection on.
    Waiting waiting;
    cups_dest_t* dest = nullptr;
    QString name;

    bool cancelled() const { return waiting.cancelled(); }
    QByteArray queue() const { return name.section(u'/', 0, 0).toUtf8(); }

    // The print system's word on a request that failed.
    [[noreturn]] void refused(const QString& doing) {
        // libcups leaves the last request's "successful-ok" in place when
        // the print system closes the connection without a word.
        if (api.cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
            fail(name, QStringLiteral("印刷サービスが接続を切りました（%1）").arg(doing));
        fail(name, QStringLiteral("%1: %2").arg(doing, cupsText(api.cupsLastErrorString())));
    }

    // The reason a request failed: no answer in time, or the print system's word.
    [[noreturn]] void failed(const QString& doing) {
        if (waiting.timedOut)
            fail(name, QStringLiteral("印刷サービスが %1 秒待っても応答しません（%2）")
                           .arg(answerWithin.count())
                           .arg(doing));
        refused(doing);
    }

    // How a request after the hand-over that came to nothing ended: the
    // user gave up, or the time ran out; else it failed.
    Step unanswered(const QString& doing) {
        if (cancelled())
            return Step::Cancelled;
        if (waiting.timedOut)
            return Step::Unanswered;
        refused(doing);
    }

    // The printer's state, or with a job, the job's too; empty when no
    // answer came.
    std::optional<PrinterAttributes> ask(int job = 0) {
        const IppReply answer = askAttributes(http, queue(), job);
        if (!answer || waiting.timedOut)
            return std::nullopt;
        return attributesOf(answer.get());
    }

    PrinterAttributes askOrFail() {
        const std::optional<PrinterAttributes> a = ask();
        if (!a)
            failed(QStringLiteral("プリンタの状態を問い合わせられません"));
        return *a;
    }

    // A stopped printer takes jobs and keeps them: said before one is sent.
    void checkPrinter(const PrinterAttributes& a) {
        if (a.printerState == IPP_PSTATE_STOPPED) {
            QString reason = QStringLiteral("プリンタが停止しています");
            if (!a.message.isEmpty())
                reason += QStringLiteral("（%1）").arg(a.message);
            fail(name, reason);
        }
    }

    // A connection of its own, for a moment, whatever was cancelled: the one
    // a job was sent on may be stuck in the middle of a request.
    template <class Use> void briefly(Use use) {
        int giveUp = 0;
        Waiting moment{QDeadlineTimer(BrieflyWithin), {}, false};
        http_t* connection = api.httpConnect2(api.cupsServer(), api.ippPort(), nullptr, AF_UNSPEC,
                                              api.cupsEncryption(), 1, int(BrieflyWithin.count()), &giveUp);
        if (!connection)
            return;
        api.httpSetTimeout(connection, AskEverySeconds, &Waiting::keepWaiting, &moment);
        use(connection);
        api.httpClose(connection);
    }

    // Takes back a job whose document did not get through. A print system
    // that does not answer keeps it.
    void withdraw(int job) {
        bool done = false;
        const QByteArray q = queue();
        briefly([&](http_t* connection) {
            done = api.cupsCancelJob2(connection, q.constData(), job, 0) <= IPP_STATUS_OK_CONFLICTING;
        });
        if (!done)
            qWarning("yomorisu: could not withdraw job %d from %s", job, q.constData());
    }

    // Creates the job, with the destination's options (the user's defaults
    // for it, as lpoptions keeps them), as lp does. 0 when cancelled.
    int create(const QByteArray& title) {
        const int job =
            api.cupsCreateJob(http, queue().constData(), title.constData(), dest->num_options, dest->options);
        if (job == 0 && !cancelled())
            failed(QStringLiteral("ジョブを受け付けません"));
        return job;
    }

    // Sends the job's one document: Done once the print system took it,
    // Unanswered when every byte went out but no word came back.
    Step send(int job, const QByteArray& title, QIODevice& pdf) {
        const QByteArray q = queue();
        const QString sending = QStringLiteral("印刷データを送れません");
        if (api.cupsStartDocument(http, q.constData(), job, title.constData(), CUPS_FORMAT_AUTO, 1) !=
            HTTP_STATUS_CONTINUE) {
            if (cancelled())
                return Step::Cancelled;
            failed(sending);
        }
        QByteArray chunk(64 * 1024, Qt::Uninitialized);
        for (;;) {
            const qint64 got = pdf.read(chunk.data(), chunk.size());
            if (got < 0)
                fail(name, QStringLiteral("印刷データを読めません（%1）").arg(pdf.errorString()));
            if (got == 0)
                break;
            if (api.cupsWriteRequestData(http, chunk.constData(), size_t(got)) != HTTP_STATUS_CONTINUE ||
                waiting.timedOut) {
                if (cancelled())
                    return Step::Cancelled;
                failed(sending);
            }
            if (cancelled())
                return Step::Cancelled;
        }
        // The end of the data, and the print system's word on the document.
        api.cupsWriteRequestData(http, "", 0);
        const IppReply answer(api.cupsGetResponse(http, ("/printers/" + q).constData()));
        if (cancelled())
            return Step::Cancelled;
        if (!answer)
            return Step::Unanswered;
        if (api.ippGetStatusCode(answer.get()) > IPP_STATUS_OK_CONFLICTING)
            failed(QStringLiteral("ジョブを受け付けません"));
        return Step::Done;
    }

    // Asks apart whether a document sent without an answer got there: Done
    // when it did, Unanswered when the print system does not say; throws
    // when it still waits for it. A job that printed must not be told as
    // failed, or the user prints it again.
    Step confirm(int job) {
        std::optional<bool> awaits;
        briefly([&](http_t* connection) {
            const IppReply answer = askAttributes(connection, queue(), job);
            if (answer && api.ippGetStatusCode(answer.get()) <= IPP_STATUS_OK_CONFLICTING)
                awaits = attributesOf(answer.get()).jobReasons.contains(u"job-incoming");
        });
        if (!awaits)
            return Step::Unanswered;
        if (*awaits)
            fail(name,
                 QStringLiteral("印刷データが印刷サービスに届きませんでした（ジョブ %1 は取り消します）")
                     .arg(job));
        return Step::Done;
    }

    // Watches the job until it prints or WatchMs pass: Done then; throws
    // when the queue holds or drops it, or the printer stops or does not
    // start on it.
    Step watch(int job) {
        const QString asking = QStringLiteral("プリンタの状態を問い合わせられません");
        QElapsedTimer watched;
        watched.start();
        for (;;) {
            const std::optional<PrinterAttributes> state = ask(job);
            if (!state)
                return unanswered(asking);
            if (state->jobState == IPP_JSTATE_COMPLETED)
                return Step::Done;
            const std::optional<PrinterAttributes> printer = ask();
            if (!printer)
                return unanswered(asking);
            // A cancel takes the job back, whatever became of it.
            if (cancelled())
                return Step::Cancelled;
            const QString reasons = reasonsOf(state->jobReasons);
            if (state->jobState == IPP_JSTATE_HELD)
                fail(name, QStringLiteral("ジョブが印刷待ちのまま保留されています（ジョブ %1、%2）")
                               .arg(job)
                               .arg(reasons));
            if (state->jobState == IPP_JSTATE_CANCELED || state->jobState == IPP_JSTATE_ABORTED)
                fail(name, QStringLiteral("ジョブが取り消されました（ジョブ %1、%2）").arg(job).arg(reasons));
            checkPrinter(*printer);
            if (state->jobState == IPP_JSTATE_STOPPED)
                fail(name, QStringLiteral("プリンタがジョブ %1 で止まりました（%2）")
                               .arg(job)
                               .arg(printer->message));
            if (watched.elapsed() >= WatchMs) {
                // Still not printing: the device does not take it.
                const QString trouble = troubleOf(printer->reasons);
                if (!trouble.isEmpty())
                    fail(name, QStringLiteral("プリンタが印刷を始めません（ジョブ %1 は待機中、%2）")
                                   .arg(job)
                                   .arg(printer->message.isEmpty() ? trouble : printer->message));
                return Step::Done;
            }
            QThread::msleep(200);
        }
    }
};

namespace {

// Withdraws the job it holds unless its document was handed over whole.
class JobGuard {
public:
    JobGuard(CupsPrintService::Private& d, int job) : m_d(d), m_job(job) {}
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;
    ~JobGuard() {
        if (!m_handedOver)
            m_d.withdraw(m_job);
    }
    void handedOver() { m_handedOver = true; }
    // A cancel after the hand-over still takes the job back.
    void withdrawAfterAll() { m_handedOver = false; }

private:
    CupsPrintService::Private& m_d;
    int m_job;
    bool m_handedOver = false;
};

} // namespace

CupsPrintService::CupsPrintService(std::chrono::seconds answerWithin, std::function<bool()> cancelled)
    : d(std::make_unique<Private>()) {
    d->answerWithin = answerWithin;
    d->waiting.cancelled = std::move(cancelled);
    d->waiting.deadline = QDeadlineTimer(answerWithin);
    const CupsLibrary& api = d->api;
    if (!api.missing.isEmpty())
        fail({}, QStringLiteral("印刷サービスのライブラリ libcups を読み込めません（%1）").arg(api.missing));
    // libcups keeps the server a thread first looked up; the worker threads
    // are reused, so each print looks again.
    api.cupsSetServer(nullptr);
    const char* server = api.cupsServer();
    // Connecting to a server that is not running fails at once; one that
    // hangs before accepting is given the same time as any answer.
    int giveUp = 0;
    d->http = api.httpConnect2(server, api.ippPort(), nullptr, AF_UNSPEC, api.cupsEncryption(), 1,
                               int(std::chrono::milliseconds(answerWithin).count()), &giveUp);
    if (!d->http)
        fail({}, QStringLiteral("印刷サービスが動いていません（%1 に接続できません）").arg(cupsText(server)));
    api.httpSetTimeout(d->http, AskEverySeconds, &Waiting::keepWaiting, &d->waiting);
}

CupsPrintService::~CupsPrintService() {
    if (d->dest)
        d->api.cupsFreeDests(1, d->dest);
    if (d->http)
        d->api.httpClose(d->http);
}

QString CupsPrintService::defaultPrinter() {
    if (d->dest)
        return d->name;
    d->dest = d->api.cupsGetNamedDest(d->http, nullptr, nullptr);
    if (!d->dest || d->waiting.timedOut) {
        if (d->waiting.timedOut || d->cancelled())
            d->failed(QStringLiteral("通常使うプリンタを問い合わせています"));
        fail({}, QStringLiteral("通常使うプリンタが設定されていません"));
    }
    d->name = cupsText(d->dest->name);
    if (d->dest->instance)
        d->name += u'/' + cupsText(d->dest->instance);
    d->checkPrinter(d->askOrFail());
    return d->name;
}

QPageSize CupsPrintService::defaultPaper() {
    defaultPrinter();
    return paperOf(d->askOrFail().media);
}

QString CupsPrintService::submit(QIODevice& pdf, const QString& title) {
    defaultPrinter();
    // The pages took their time to lay out; sending them has the whole bound.
    d->waiting.deadline = QDeadlineTimer(d->answerWithin);
    const QByteArray jobTitle = title.toUtf8();
    const int job = d->create(jobTitle);
    if (job == 0)
        return {};
    JobGuard guard(*d, job);
    switch (d->send(job, jobTitle, pdf)) {
    case Step::Cancelled:
        return {};
    case Step::Unanswered:
        if (d->confirm(job) == Step::Unanswered) {
            guard.handedOver();
            return handedOverUnchecked(d->name, job);
        }
        break;
    case Step::Done:
        break;
    }
    guard.handedOver();
    switch (d->watch(job)) {
    case Step::Cancelled:
        guard.withdrawAfterAll();
        return {};
    case Step::Unanswered:
        return handedOverUnchecked(d->name, job);
    case Step::Done:
        break;
    }
    return {};
}
