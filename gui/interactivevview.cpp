#include "interactivevview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

namespace {
// One scene unit may not shrink below or grow beyond these many pixels.
constexpr qreal kMinUnit = 0.07;
constexpr qreal kMaxUnit = 100;
} // namespace

CInteractivevView::CInteractivevView(QWidget *parent) : QGraphicsView(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCursor(Qt::PointingHandCursor);
    setRenderHint(QPainter::Antialiasing);
    // A practically unbounded plane, so that panning never hits an edge.
    setSceneRect(-(1 << 30), -(1 << 30), 2147483647.0, 2147483647.0);
    centerOn(0, 0);
}

void CInteractivevView::zoomIn()
{
    zoom(float(1 + delta));
}

void CInteractivevView::zoomOut()
{
    zoom(float(1 - delta));
}

void CInteractivevView::zoom(float scaleFactor)
{
    const qreal unit =
        transform().scale(scaleFactor, scaleFactor).mapRect(QRectF(0, 0, 1, 1)).width();
    if (unit < kMinUnit || unit > kMaxUnit)
        return;
    QGraphicsView::scale(scaleFactor, scaleFactor);
    zoomScale *= scaleFactor;
}

void CInteractivevView::translate(QPointF by)
{
    setTransformationAnchor(AnchorUnderMouse);
    const QPoint shift(int(by.x() * zoomScale * speed), int(by.y() * zoomScale * speed));
    const QPoint centre(viewport()->width() / 2, viewport()->height() / 2);
    centerOn(mapToScene(centre - shift));
    setTransformationAnchor(AnchorViewCenter);
}

void CInteractivevView::wheelEvent(QWheelEvent *event)
{
    fitted = QRectF();
    if (event->angleDelta().y() > 0)
        zoomIn();
    else
        zoomOut();
    event->accept();
}

void CInteractivevView::keyPressEvent(QKeyEvent *event)
{
    // An arrow key moves the drawing by a tenth of the view.
    const qreal stepX = viewport()->width() / 10.0 / zoomScale;
    const qreal stepY = viewport()->height() / 10.0 / zoomScale;
    switch (event->key()) {
    case Qt::Key_Up:
        translate(QPointF(0, -stepY));
        break;
    case Qt::Key_Down:
        translate(QPointF(0, stepY));
        break;
    case Qt::Key_Left:
        translate(QPointF(-stepX, 0));
        break;
    case Qt::Key_Right:
        translate(QPointF(stepX, 0));
        break;
    case Qt::Key_Plus:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_Space:
        rotate(-5);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        rotate(5);
        break;
    default:
        QGraphicsView::keyPressEvent(event);
        return;
    }
    fitted = QRectF(); // the user moves the drawing from here on
}

void CInteractivevView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == dragButton) {
        panning = true;
        lastMousePos = event->pos();
    }
    QGraphicsView::mousePressEvent(event);
}

void CInteractivevView::mouseMoveEvent(QMouseEvent *event)
{
    if (panning) {
        fitted = QRectF();
        const QPointF from = mapToScene(lastMousePos);
        const QPointF to = mapToScene(event->pos());
        translate(to - from);
    }
    lastMousePos = event->pos();
    QGraphicsView::mouseMoveEvent(event);
}

void CInteractivevView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == dragButton)
        panning = false;
    QGraphicsView::mouseReleaseEvent(event);
}

void CInteractivevView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    if (!fitted.isEmpty())
        fitToView(fitted);
}

void CInteractivevView::resetAndFit(const QRectF &rect)
{
    resetTransform();
    zoomScale = 1.0;
    readable = 0;
    fitToView(rect);
}

void CInteractivevView::fitReadable(const QRectF &rect, qreal leastScale)
{
    readable = leastScale;
    fitToView(rect);
}

void CInteractivevView::fitToView(const QRectF &rect)
{
    fitted = rect;
    if (rect.isEmpty() || viewport()->width() <= 0 || viewport()->height() <= 0)
        return;
    const QRectF shown = transform().mapRect(rect);
    const qreal factor =
        0.95 * qMin(viewport()->width() / shown.width(), viewport()->height() / shown.height());
    zoom(float(factor));
    const qreal now = std::hypot(transform().m11(), transform().m12());
    if (readable > 0 && now > 0 && now < readable) {
        zoom(float(readable / now));
        // Too large to be shown whole and readable: its top left corner
        // (pin 1 and the rows beside it) is shown.
        const QPointF half(viewport()->width() / (2 * readable),
                           viewport()->height() / (2 * readable));
        centerOn(rect.topLeft() + half);
        return;
    }
    centerOn(rect.center());
}
