// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// libcups, opened on the first print rather than linked: nothing of it is
// loaded before the program prints. Only its header is needed to build.

#include <QString>
#include <QStringList>

#include <cups/cups.h>

#include <memory>

struct CupsLibrary {
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

// The library, resolved by name on the first call; it stays loaded for the
// rest of the run.
const CupsLibrary& cupsLibrary();

// The answers of the print system, freed however their reader leaves.
struct IppDelete {
    void operator()(ipp_t* ipp) const { cupsLibrary().ippDelete(ipp); }
};
using IppReply = std::unique_ptr<ipp_t, IppDelete>;

// What the print system says of a printer, or of a job and its printer.
struct PrinterAttributes {
    int printerState = 0;
    bool accepting = true;
    QStringList reasons;
    QString message;
    QString media;
    int jobState = 0;
    QStringList jobReasons;
};

// One Get-Printer-Attributes request on `connection` for `queue`, or with a
// job, Get-Job-Attributes: its answer, null when none came.
IppReply askAttributes(http_t* connection, const QByteArray& queue, int job = 0);
// The attributes an answer of askAttributes() holds.
PrinterAttributes attributesOf(ipp_t* answer);

// libcups's text, which may be null.
QString cupsText(const char* s);
