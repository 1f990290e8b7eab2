// SPDX-License-Identifier: GPL-3.0-or-later
// The leading number of a text, rounded and converted as the windows do.
// Properties: only the overflow error ever comes out; a number read is finite;
// rounding lands within half of the number and inside the target range; an
// exact half goes to the even neighbour; printing never uses an exponent.
#include "common/numbers.h"
#include "common/runtimeerror.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool property, const char* what) {
    if (!property) {
        fprintf(stderr, "property failed: %s\n", what);
        abort();
    }
}

template <class Int> void checkRounding(double value, Int (*round)(double)) {
    Int whole = 0;
    try {
        whole = round(value);
    } catch (const RuntimeError& e) {
        require(e.kind() == ErrorKind::Overflow, "rounding fails only with overflow");
        require(std::fabs(value) >= 32767.5, "rounding fails only outside the range");
        return;
    }
    const double distance = std::fabs(double(whole) - value);
    require(distance <= 0.5, "rounding lands within half of the number");
    if (distance == 0.5)
        require(whole % 2 == 0, "an exact half goes to the even neighbour");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    double value = 0;
    try {
        value = leadingNumber(text);
    } catch (const RuntimeError& e) {
        require(e.kind() == ErrorKind::Overflow, "reading fails only with overflow");
        return 0;
    }
    require(std::isfinite(value), "a number read is finite");
    checkRounding<qint16>(value, &roundToInt16);
    checkRounding<qint32>(value, &roundToInt32);
    require(!formatDouble(value).contains(u'e') && !formatDouble(value).contains(u'E'),
            "a printed number has no exponent");
    return 0;
}
