// SPDX-License-Identifier: GPL-3.0-or-later
// A document's bytes through the reader. Properties: reading never fails on
// content; the text is empty or ends with CR LF; every CR in it starts a CR LF;
// it holds no lone surrogate; the UTF-8 byte order mark is taken off.
#include "documents/documentreader.h"

#include <QBuffer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool property, const char* what) {
    if (!property) {
        fprintf(stderr, "property failed: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const Document document = readDocument(device);
    require(!document.failure, "a readable device never fails");
    const QString& text = document.text;
    require(text.isEmpty() || text.endsWith(u"\r\n"), "the text is empty or ends with CR LF");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r')
            require(i + 1 < text.size() && text[i + 1] == u'\n', "every CR starts a CR LF");
        if (text[i].isHighSurrogate()) {
            require(i + 1 < text.size() && text[i + 1].isLowSurrogate(), "no lone high surrogate");
            ++i;
        } else {
            require(!text[i].isLowSurrogate(), "no lone low surrogate");
        }
    }
    // The mark is taken off; only a second one, as content, may show.
    const QByteArray mark("\xEF\xBB\xBF");
    if (bytes.startsWith(mark) && !bytes.mid(3).startsWith(mark))
        require(!text.startsWith(QChar(0xFEFF)), "the UTF-8 mark never shows");
    return 0;
}
