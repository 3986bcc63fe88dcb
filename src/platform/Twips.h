#pragma once

#include <QPoint>
#include <QSize>

// Window sizes and positions of the screens are given in twips (1/1440 inch). We lay out in
// Qt's device-independent pixels, which are 1/96 inch: 15 twips to the pixel. Qt scales those
// to the screen, so this is the only conversion there is.
namespace talv::twips {

inline constexpr int PerPixel = 15;

// Rounded to the nearest pixel, halves away from zero.
constexpr int toPixels(int twips)
{
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}

constexpr int fromPixels(int pixels)
{
    return pixels * PerPixel;
}

constexpr QSize toPixels(QSize twips)
{
    return QSize(toPixels(twips.width()), toPixels(twips.height()));
}

constexpr QPoint toPixels(QPoint twips)
{
    return QPoint(toPixels(twips.x()), toPixels(twips.y()));
}

constexpr QSize fromPixels(QSize pixels)
{
    return QSize(fromPixels(pixels.width()), fromPixels(pixels.height()));
}

} // namespace talv::twips
