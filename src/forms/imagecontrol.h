// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPixmap>

// An image: shows its picture scaled to its rectangle when stretched, or at
// the picture's own size at its top-left corner. A hidden image is never
// shown and only holds its picture for other images to take.
class ImageControl : public QLabel {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    bool isStretched() const { return hasScaledContents(); }
    void setStretched(bool stretched) { setScaledContents(stretched); }

    QPixmap picture() const { return pixmap(); }
    void setPicture(const QPixmap& picture);
    // Gives this image the picture that `source` holds, hidden or not.
    void copyPictureFrom(const ImageControl& source) { setPicture(source.picture()); }
};
