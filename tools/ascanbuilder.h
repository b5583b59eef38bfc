#ifndef ASCANBUILDER_H
#define ASCANBUILDER_H

#include <QImage>
#include <QSize>

#include "ascanwriter.h"

// Hostile pictures: a small JPEG whose frame header claims width x height pixels; a flat
// progressive JPEG whose last scan is repeated until it has `scans` scans; an SVG that passes
// for an A-scan (its title reads) and draws the picture at `imageHref`.
QByteArray jpegClaiming(int width, int height);
QByteArray progressiveJpeg(const QSize &size, int scans, QImage::Format format = QImage::Format_Grayscale8);
QByteArray svgInDisguise(const QByteArray &imageHref, int side = 240);
#endif // ASCANBUILDER_H
