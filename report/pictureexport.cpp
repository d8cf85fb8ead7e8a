#include "pictureexport.h"

#include "atomicfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

constexpr int kPrintDpi = 300;

void setRenderHints(QPainter *painter)
{
    painter->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                            QPainter::SmoothPixmapTransform);
}

QByteArray png(const QRectF &source, const PictureExport::Paint &paint)
{
    const qreal scale = PictureExport::pngLongSide / std::max(source.width(), source.height());
    QImage image((source.size() * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    // Printed at 300 dpi the picture keeps the drawing's proportions.
    image.setDotsPerMeterX(qRound(kPrintDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kPrintDpi / 0.0254));
    QPainter painter(&image);
    setRenderHints(&painter);
    PictureExport::paintFitted(&painter, QRectF(image.rect()), source, paint);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

QByteArray svg(const QRectF &source, const PictureExport::Paint &paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(source.size().toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), source.size()));
    generator.setTitle(QStringLiteral("Mirel"));
    QPainter painter(&generator);
    setRenderHints(&painter);
    PictureExport::paintFitted(&painter, QRectF(QPointF(0, 0), source.size()), source, paint);
    painter.end();
    return bytes;
}

QByteArray pdf(const QRectF &source, const PictureExport::Paint &paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Mirel"));
    writer.setResolution(kPrintDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QPainter painter(&writer);
    setRenderHints(&painter);
    PictureExport::paintFitted(&painter, QRectF(painter.viewport()), source, paint);
    painter.end();
    return bytes;
}

} // namespace

QStringList PictureExport::suffixes()
{
    return {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
}

QByteArray PictureExport::render(const QString &suffix, const QRectF &source, const Paint &paint)
{
    const QString kind = suffix.toLower();
    if (source.isEmpty())
        return {};
    if (kind == QLatin1String("png"))
        return png(source, paint);
    if (kind == QLatin1String("svg"))
        return svg(source, paint);
    if (kind == QLatin1String("pdf"))
        return pdf(source, paint);
    return {};
}

bool PictureExport::write(const QString &path, const QRectF &source, const Paint &paint,
                          QString *error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!suffixes().contains(suffix)) {
        if (error)
            *error = tr("%1：图片只能保存为 PNG、SVG 或 PDF 文件").arg(path);
        return false;
    }
    const QByteArray bytes = render(suffix, source, paint);
    if (bytes.isEmpty()) {
        if (error)
            *error = tr("%1：图片无法生成").arg(path);
        return false;
    }
    return AtomicFile::write(path, bytes, error);
}

void PictureExport::paintFitted(QPainter *painter, const QRectF &target, const QRectF &source,
                                const Paint &paint)
{
    const qreal scale =
        std::min(target.width() / source.width(), target.height() / source.height());
    painter->save();
    painter->translate(target.center());
    painter->scale(scale, scale);
    painter->translate(-source.center());
    paint(painter);
    painter->restore();
}
