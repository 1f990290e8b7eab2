#include "windows/imagecontrol.h"

#include "windows/pictureaccessible.h"

ImageControl::ImageControl(QWidget* parent) : QLabel(parent) {
    installAccessibleInterfaces();
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
