#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;

// Writes a drawing as a picture: PNG, SVG or PDF, chosen by the file's
// suffix. The drawing paints itself in its own units onto a painter that
// maps `source` to the picture: a PNG 4096 pixels on its long side, an SVG of
// the same size, a PDF of one A4 page with the drawing fitted inside.
class PictureExport
{
    Q_DECLARE_TR_FUNCTIONS(PictureExport)
public:
    using Paint = std::function<void(QPainter *painter)>;

    static constexpr int pngLongSide = 4096;

    // "png", "svg", "pdf".
    static QStringList suffixes();
    // The picture's bytes, or an empty array for an unknown kind.
    static QByteArray render(const QString &suffix, const QRectF &source, const Paint &paint);
    // Renders by the path's suffix and writes the file whole (AtomicFile).
    static bool write(const QString &path, const QRectF &source, const Paint &paint,
                      QString *error = nullptr);

    // Paints the drawing scaled to fit target, centred, keeping its shape.
    static void paintFitted(QPainter *painter, const QRectF &target, const QRectF &source,
                            const Paint &paint);
};
