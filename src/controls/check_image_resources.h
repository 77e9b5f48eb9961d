#pragma once
// The flat check box's images, kept as program resources and loaded by name ("Blank",
// "Enabled", "BlankFlat", "EnabledFlat", "CheckOk").
#include <QImage>
#include <QString>

namespace quarrix {

// The image as stored; a null image for an unknown name.
QImage LoadCheckImage(const QString& name);

// The image with every pixel of its bottom-left pixel's colour made transparent.
QImage WithBottomLeftTransparent(const QImage& image);

}  // namespace quarrix
