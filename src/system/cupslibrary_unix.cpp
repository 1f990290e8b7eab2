// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/cupslibrary_unix.h"

#include <dlfcn.h>

#include <iterator>
#include <mutex>

const CupsLibrary& cupsLibrary() {
    static CupsLibrary loaded;
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

QString cupsText(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

IppReply askAttributes(http_t* connection, const QByteArray& queue, int job) {
    const CupsLibrary& api = cupsLibrary();
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
    return IppReply(api.cupsDoRequest(connection, request, "/"));
}

PrinterAttributes attributesOf(ipp_t* answer) {
    const CupsLibrary& api = cupsLibrary();
    PrinterAttributes a;
    auto integer = [&](const char* attr, int& out) {
        if (ipp_attribute_t* found = api.ippFindAttribute(answer, attr, IPP_TAG_ENUM))
            out = api.ippGetInteger(found, 0);
    };
    auto strings = [&](const char* attr) {
        QStringList out;
        if (ipp_attribute_t* found = api.ippFindAttribute(answer, attr, IPP_TAG_ZERO)) {
            for (int i = 0; i < api.ippGetCount(found); ++i)
                out.append(cupsText(api.ippGetString(found, i, nullptr)));
        }
        return out;
    };
    integer("printer-state", a.printerState);
    integer("job-state", a.jobState);
    if (ipp_attribute_t* found = api.ippFindAttribute(answer, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        a.accepting = api.ippGetBoolean(found, 0);
    a.reasons = strings("printer-state-reasons");
    a.message = strings("printer-state-message").value(0);
    a.media = strings("media-default").value(0);
    a.jobReasons = strings("job-state-reasons");
    return a;
}
