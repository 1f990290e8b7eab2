// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/printservice.h"

#include "common/runtimeerror.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QIODevice>
#include <QRegularExpression>
#include <QSizeF>
#include <QThread>

#include <cups/cups.h>
#include <dlfcn.h>

#include <mutex>

namespace {

// libcups, resolved by name on first use.
struct Cups {
#define YOMORISU_CUPS_FUNCTIONS(X)                                                                           \
    X(cupsServer)                                                                                            \
    X(cupsSetServer)                                                                                         \
    X(ippPort)                                                                                               \
    X(cupsEncryption)                                                                                        \
    X(httpConnect2)                                                                                          \
    X(httpSetTimeout)                                                                                        \
    X(httpClose)                                                                                             \
    X(cupsGetNamedDest)                                                                                      \
    X(cupsFreeDests)                                                                                         \
    X(cupsCreateJob)                                                                                         \
    X(cupsStartDocument)                                                                                     \
    X(cupsWriteRequestData)                                                                                  \
    X(cupsGetResponse)                                                                                       \
    X(cupsCancelJob2)                                                                                        \
    X(cupsLastError)                                                                                         \
    X(cupsLastErrorString)                                                                                   \
    X(cupsDoRequest)                                                                                         \
    X(ippNewRequest)                                                                                         \
    X(ippAddString)                                                                                          \
    X(ippAddStrings)                                                                                         \
    X(ippAddInteger)                                                                                         \
    X(ippFindAttribute)                                                                                      \
    X(ippGetInteger)                                                                                         \
    X(ippGetBoolean)                                                                                         \
    X(ippGetString)                                                                                          \
    X(ippGetCount)                                                                                           \
    X(ippGetStatusCode)                                                                                      \
    X(ippDelete)
#define YOMORISU_CUPS_MEMBER(name) decltype(&::name) name = nullptr;
    YOMORISU_CUPS_FUNCTIONS(YOMORISU_CUPS_MEMBER)
#undef YOMORISU_CUPS_MEMBER
    QString missing; // what could not be loaded; empty when all is there
};

const Cups& cups() {
    static Cups loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            loaded.missing = QString::fromLocal8Bit(dlerror());
            return;
        }
#define YOMORISU_CUPS_RESOLVE(name)                                                                          \
    loaded.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name));                                \
    if (!loaded.name)                                                                                        \
        loaded.missing = QStringLiteral(#name);
        YOMORISU_CUPS_FUNCTIONS(YOMORISU_CUPS_RESOLVE)
#undef YOMORISU_CUPS_RESOLVE
        // Stays loaded for the rest of the run: the next print needs it again.
    });
    return loaded;
}

[[noreturn]] void fail(const QString& printer, const QString& reason) {
    throw RuntimeError(ErrorKind::Printer, printer, reason);
}

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
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

} // namespace

// The answers of the print system, freed however their reader leaves.
struct IppDelete {
    void operator()(ipp_t* ipp) const { cups().ippDelete(ipp); }
};
using IppReply = std::unique_ptr<ipp_t, IppDelete>;

// How often libcups asks whether to go on waiting: how soon a cancel is seen.
constexpr double AskEverySeconds = 0.25;
// Withdrawing a job, or asking whether its document arrived, gets this long
// on the way out, whatever else was cancelled.
constexpr auto BrieflyWithin = std::chrono::milliseconds(1000);

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

struct PrintService::Private {
    const Cups& api = cups();
    http_t* http = nullptr;
    std::chrono::seconds answerWithin;
    // One bound for the whole exchange, from the connection on.
    Waiting waiting;
    cups_dest_t* dest = nullptr;
    QString name;

    bool cancelled() const { return waiting.cancelled(); }

    // The reason a request failed: no answer in time, or the print system's word.
    [[noreturn]] void failed(const QString& doing) {
        if (waiting.timedOut)
            fail(name, QStringLiteral("印刷サービスが %1 秒待っても応答しません（%2）")
                           .arg(answerWithin.count())
                           .arg(doing));
        // libcups leaves the last request's "successful-ok" in place when
        // the print system closes the connection without a word.
        if (api.cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
            fail(name, QStringLiteral("印刷サービスが接続を切りました（%1）").arg(doing));
        fail(name, QStringLiteral("%1: %2").arg(doing, text(api.cupsLastErrorString())));
    }

    struct Attributes {
        int printerState = 0;
        bool accepting = true;
        QStringList reasons;
        QString message;
        QString media;
        int jobState = 0;
        QString jobReasons;
    };

    // One Get-Printer-Attributes (or, with a job, Get-Job-Attributes) request.
    Attributes ask(int job = 0) {
        const QByteArray queue = name.section(u'/', 0, 0).toUtf8();
        const QByteArray uri = "ipp://localhost/printers/" + queue;
        ipp_t* request = api.ippNewRequest(job ? IPP_OP_GET_JOB_ATTRIBUTES : IPP_OP_GET_PRINTER_ATTRIBUTES);
        api.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.constData());
        if (job)
            api.ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
        static const char* const wanted[] = {"printer-state",         "printer-is-accepting-jobs",
                                             "printer-state-reasons", "printer-state-message",
                                             "media-default",         "job-state",
                                             "job-state-reasons"};
        api.ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                          int(std::size(wanted)), nullptr, wanted);
        // cupsDoRequest frees the request.
        const IppReply answer(api.cupsDoRequest(http, request, "/"));
        if (!answer || waiting.timedOut)
            failed(QStringLiteral("プリンタの状態を問い合わせられません"));
        Attributes a;
        auto integer = [&](const char* attr, int& out) {
            if (ipp_attribute_t* found = api.ippFindAttribute(answer.get(), attr, IPP_TAG_ENUM))
                out = api.ippGetInteger(found, 0);
        };
        auto strings = [&](const char* attr) {
            QStringList out;
            if (ipp_attribute_t* found = api.ippFindAttribute(answer.get(), attr, IPP_TAG_ZERO)) {
                for (int i = 0; i < api.ippGetCount(found); ++i)
                    out.append(text(api.ippGetString(found, i, nullptr)));
            }
            return out;
        };
        integer("printer-state", a.printerState);
        integer("job-state", a.jobState);
        if (ipp_attribute_t* found =
                api.ippFindAttribute(answer.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
            a.accepting = api.ippGetBoolean(found, 0);
        a.reasons = strings("printer-state-reasons");
        a.message = strings("printer-state-message").value(0);
        a.media = strings("media-default").value(0);
        a.jobReasons = reasonsOf(strings("job-state-reasons"));
        return a;
    }

    // A stopped printer takes jobs and keeps them: said before one is sent.
    void checkPrinter(const Attributes& a) {
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
    void withdraw(const QByteArray& queue, int job) {
        bool done = false;
        briefly([&](http_t* connection) {
            done = api.cupsCancelJob2(connection, queue.constData(), job, 0) <= IPP_STATUS_OK_CONFLICTING;
        });
        if (!done)
            qWarning("yomorisu: could not withdraw job %d from %s", job, queue.constData());
    }

    // Whether the print system still waits for the job's document; empty
    // when it does not say.
    std::optional<bool> awaitsDocument(const QByteArray& queue, int job) {
        std::optional<bool> awaits;
        briefly([&](http_t* connection) {
            ipp_t* request = api.ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
            const QByteArray uri = "ipp://localhost/printers/" + queue;
            api.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                             uri.constData());
            api.ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
            const IppReply answer(api.cupsDoRequest(connection, request, "/"));
            if (!answer || api.ippGetStatusCode(answer.get()) > IPP_STATUS_OK_CONFLICTING)
                return;
            awaits = false;
            if (ipp_attribute_t* found =
                    api.ippFindAttribute(answer.get(), "job-state-reasons", IPP_TAG_ZERO)) {
                for (int i = 0; i < api.ippGetCount(found); ++i)
                    if (qstrcmp(api.ippGetString(found, i, nullptr), "job-incoming") == 0)
                        awaits = true;
            }
        });
        return awaits;
    }
};

namespace {

QString handedOverUnchecked(const QString& printer, int job) {
    return QStringLiteral("ジョブ %1 をプリンタ %2 に渡しましたが、印刷サービスが応答せず、"
                          "その後の状態を確かめられませんでした")
        .arg(job)
        .arg(printer);
}

// Withdraws the job it holds unless its document was handed over whole.
class JobGuard {
public:
    JobGuard(PrintService::Private& d, QByteArray queue, int job)
        : m_d(d), m_queue(std::move(queue)), m_job(job) {}
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;
    ~JobGuard() {
        if (!m_handedOver)
            m_d.withdraw(m_queue, m_job);
    }
    void handedOver() { m_handedOver = true; }
    // A cancel after the hand-over still takes the job back.
    void withdrawAfterAll() { m_handedOver = false; }

private:
    PrintService::Private& m_d;
    QByteArray m_queue;
    int m_job;
    bool m_handedOver = false;
};

} // namespace

PrintService::PrintService(std::chrono::seconds answerWithin, std::function<bool()> cancelled)
    : d(std::make_unique<Private>()) {
    d->answerWithin = answerWithin;
    d->waiting.cancelled = std::move(cancelled);
    d->waiting.deadline = QDeadlineTimer(answerWithin);
    const Cups& api = d->api;
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
        fail({}, QStringLiteral("印刷サービスが動いていません（%1 に接続できません）").arg(text(server)));
    api.httpSetTimeout(d->http, AskEverySeconds, &Waiting::keepWaiting, &d->waiting);
}

PrintService::~PrintService() {
    if (d->dest)
        d->api.cupsFreeDests(1, d->dest);
    if (d->http)
        d->api.httpClose(d->http);
}

QString PrintService::defaultPrinter() {
    if (d->dest)
        return d->name;
    d->dest = d->api.cupsGetNamedDest(d->http, nullptr, nullptr);
    if (!d->dest || d->waiting.timedOut) {
        if (d->waiting.timedOut || d->cancelled())
            d->failed(QStringLiteral("通常使うプリンタを問い合わせています"));
        fail({}, QStringLiteral("通常使うプリンタが設定されていません"));
    }
    d->name = text(d->dest->name);
    if (d->dest->instance)
        d->name += u'/' + text(d->dest->instance);
    d->checkPrinter(d->ask());
    return d->name;
}

QPageSize PrintService::defaultPaper() {
    defaultPrinter();
    return paperOf(d->ask().media);
}

QString PrintService::submit(QIODevice& pdf, const QString& title) {
    defaultPrinter();
    // The pages took their time to lay out; sending them has the whole bound.
    d->waiting.deadline = QDeadlineTimer(d->answerWithin);
    const Cups& api = d->api;
    const QByteArray queue = d->name.section(u'/', 0, 0).toUtf8();
    const QByteArray jobTitle = title.toUtf8();

    // The destination's options (the user's defaults for it, as lpoptions
    // keeps them) go with the job, as lp does.
    const int job = api.cupsCreateJob(d->http, queue.constData(), jobTitle.constData(), d->dest->num_options,
                                      d->dest->options);
    if (job == 0) {
        if (d->cancelled())
            return {};
        d->failed(QStringLiteral("ジョブを受け付けません"));
    }
    JobGuard guard(*d, queue, job);
    if (api.cupsStartDocument(d->http, queue.constData(), job, jobTitle.constData(), CUPS_FORMAT_AUTO, 1) !=
        HTTP_STATUS_CONTINUE) {
        if (d->cancelled())
            return {};
        d->failed(QStringLiteral("印刷データを送れません"));
    }
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = pdf.read(chunk.data(), chunk.size());
        if (got < 0)
            fail(d->name, QStringLiteral("印刷データを読めません（%1）").arg(pdf.errorString()));
        if (got == 0)
            break;
        if (api.cupsWriteRequestData(d->http, chunk.constData(), size_t(got)) != HTTP_STATUS_CONTINUE ||
            d->waiting.timedOut) {
            if (d->cancelled())
                return {};
            d->failed(QStringLiteral("印刷データを送れません"));
        }
        if (d->cancelled())
            return {};
    }
    // The end of the data, and the print system's word on the document.
    api.cupsWriteRequestData(d->http, "", 0);
    const IppReply answer(api.cupsGetResponse(d->http, ("/printers/" + queue).constData()));
    if (d->cancelled())
        return {};
    if (answer && api.ippGetStatusCode(answer.get()) > IPP_STATUS_OK_CONFLICTING)
        d->failed(QStringLiteral("ジョブを受け付けません"));
    if (!answer) {
        // Every byte went out but no word came: ask apart whether they got
        // there. A job that printed must not be told as failed, or the user
        // prints it again.
        const std::optional<bool> awaits = d->awaitsDocument(queue, job);
        if (!awaits) {
            guard.handedOver();
            return handedOverUnchecked(d->name, job);
        }
        if (*awaits)
            fail(d->name,
                 QStringLiteral("印刷データが印刷サービスに届きませんでした（ジョブ %1 は取り消します）")
                     .arg(job));
    }
    guard.handedOver();

    // A queue that holds the job, or a printer that stops on it, says so
    // within moments; a job still printing after that is on its way.
    constexpr int WatchMs = 4000;
    QElapsedTimer watch;
    watch.start();
    try {
        for (;;) {
            const Private::Attributes state = d->ask(job);
            if (state.jobState == IPP_JSTATE_COMPLETED)
                return {};
            if (state.jobState == IPP_JSTATE_HELD)
                fail(d->name, QStringLiteral("ジョブが印刷待ちのまま保留されています（ジョブ %1、%2）")
                                  .arg(job)
                                  .arg(state.jobReasons));
            if (state.jobState == IPP_JSTATE_CANCELED || state.jobState == IPP_JSTATE_ABORTED)
                fail(d->name, QStringLiteral("ジョブが取り消されました（ジョブ %1、%2）")
                                  .arg(job)
                                  .arg(state.jobReasons));
            const Private::Attributes printer = d->ask();
            d->checkPrinter(printer);
            if (state.jobState == IPP_JSTATE_STOPPED)
                fail(
                    d->name,
                    QStringLiteral("プリンタがジョブ %1 で止まりました（%2）").arg(job).arg(printer.message));
            if (watch.elapsed() >= WatchMs) {
                // Still not printing: the device does not take it.
                const QString trouble = troubleOf(printer.reasons);
                if (!trouble.isEmpty())
                    fail(d->name, QStringLiteral("プリンタが印刷を始めません（ジョブ %1 は待機中、%2）")
                                      .arg(job)
                                      .arg(printer.message.isEmpty() ? trouble : printer.message));
                return {};
            }
            if (d->cancelled()) {
                guard.withdrawAfterAll();
                return {};
            }
            QThread::msleep(200);
        }
    } catch (const RuntimeError&) {
        if (!d->waiting.timedOut && !d->cancelled())
            throw;
        if (d->cancelled()) {
            guard.withdrawAfterAll();
            return {};
        }
        return handedOverUnchecked(d->name, job);
    }
}
