#include "focuscues.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

class FocusFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType())
            static_cast<QWidget *>(watched)->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        return false;
    }
};

} // namespace

namespace FocusCues {

void install(QApplication *app)
{
    static const char marker[] = "mirelFocusCues";
    if (app->property(marker).toBool())
        return;
    app->setProperty(marker, true);
    app->installEventFilter(new FocusFilter(app));
}

QString frameStyleSheet(const char *className)
{
    return QStringLiteral("%1 { border: 1px solid palette(mid); padding: 1px; }"
                          " %1:focus { border: 2px solid palette(highlight); padding: 0px; }")
        .arg(QLatin1String(className));
}

} // namespace FocusCues
