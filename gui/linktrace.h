#pragma once

#include <QObject>
#include <QString>

// Shows the link's frame log ("mirel.link") to the user: while enabled, the
// category is on and each of its lines is handed on by line(), as well as
// to the message handler that was there before.
class LinkTrace : public QObject
{
    Q_OBJECT
public:
    explicit LinkTrace(QObject *parent = nullptr);
    ~LinkTrace() override;

    void setEnabled(bool on);
    bool isEnabled() const { return s_active == this; }

signals:
    void line(QString text);

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text);

    // Only one trace can hold the process's message handler at a time.
    static LinkTrace *s_active;
    static QtMessageHandler s_previous;
};
