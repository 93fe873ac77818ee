#pragma once
// For timing the start: with ZR740_EXIT_WHEN_SHOWN set in the environment, the program quits
// as soon as the window has been painted once (tools/bench-startup).
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

inline void ExitWhenShown(QWidget& window)
{
    if (!qEnvironmentVariableIsSet("ZR740_EXIT_WHEN_SHOWN"))
        return;
    struct Watch : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            return false;
        }
    };
    window.installEventFilter(new Watch);
}
