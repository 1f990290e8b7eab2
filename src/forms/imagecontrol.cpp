// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/imagecontrol.h"

ImageControl::ImageControl(QWidget* parent) : QLabel(parent) {
    // Drawn on the window's surface like a label: no background of its own.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
}

void ImageControl::setPicture(const QPixmap& picture) {
    if (picture.isNull())
        clear();
    else
        setPixmap(picture);
}
