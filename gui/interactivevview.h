#pragma once

#include <QGraphicsView>
#include <QPoint>

// The view that shows the pin scene: zoom with the wheel or +/-, rotate in
// 5-degree steps with Space and Enter, pan by dragging with the left button
// or with the arrow keys (a tenth of the view a press). It knows nothing
// about pins.
class CInteractivevView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit CInteractivevView(QWidget *parent = nullptr);

    // Product of all zoom factors applied so far.
    qreal scale() const { return zoomScale; }
    using QGraphicsView::scale;
    bool isPanning() const { return panning; }
    Qt::MouseButton panButton() const { return dragButton; }
    void setPanButton(Qt::MouseButton button) { dragButton = button; }
    qreal translateSpeed() const { return speed; }
    void setTranslateSpeed(qreal factor) { speed = factor; }
    qreal zoomDelta() const { return delta; }
    void setZoomDelta(qreal step) { delta = step; }

    // Moves the view so that the drawing shifts by (dx, dy) scene units.
    void translate(qreal dx, qreal dy) { translate(QPointF(dx, dy)); }
    // Zooms (within the zoom limits) so that the rectangle fills the view,
    // and centres it. Until the user zooms, pans or turns the drawing, the
    // view fits it again whenever the view changes size.
    void fitToView(const QRectF &rect);
    // Fits the rectangle as fitToView does, but never below leastScale (one
    // scene unit to so many pixels): what is drawn stays readable. A
    // rectangle too large for that shows its top left corner.
    void fitReadable(const QRectF &rect, qreal leastScale);
    // Turns the drawing back upright and fits the rectangle whole (适合窗口).
    void resetAndFit(const QRectF &rect);

public slots:
    void zoomIn();
    void zoomOut();
    void zoom(float scaleFactor);
    void translate(QPointF by);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool panning = false;
    Qt::MouseButton dragButton = Qt::LeftButton;
    qreal speed = 1.0;
    qreal delta = 0.1;
    QPoint lastMousePos{0, 0};
    qreal zoomScale = 1.0;
    QRectF fitted;      // kept fitted while not empty
    qreal readable = 0; // the least scale of the fit kept, 0 for a whole fit
};
