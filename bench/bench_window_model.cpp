// Times what a user waits for in the window on a large project: opening it,
// saving it (project file and table file) and one pin change with the lists
// that follow it. Prints the median and best of several runs in ms.

#include "mainwindow.h"
#include "messages.h"
#include "pinitem.h"
#include "pinscene.h"
#include "projectcontroller.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

void report(const char *what, int runs, const std::function<void()> &work)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %8.2f ms   best %8.2f ms   (%d runs)\n", what,
                times.at(times.size() / 2), times.first(), runs);
}

void choose(MainWindow &w, int pinIndex, const QString &function)
{
    CPinScene *scene = w.scene();
    scene->prepareMenu(scene->pinItems().value(pinIndex));
    const int k = int(scene->currentFunctions().indexOf(function));
    if (k >= 0)
        scene->menuActions().at(k)->trigger();
    w.controller()->settle();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_window_model PROJECT.cpro\n"
                             "  (bench_largest_table writes the largest project there is)\n");
        return 2;
    }
    Messages::setHandler([](const Messages::Request &request) {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return QMessageBox::Ok;
    });
    const QString path = QString::fromLocal8Bit(argv[1]);
    MainWindow w;
    report("open the project", 5, [&] { w.OpenConfigureEngineeringFile(path); });
    report("save (project and table file)", 10, [&] { w.on_actionSave_triggered(); });

    // A digital output that becomes an input and back: a row leaves one
    // table and joins another, with every list derived again.
    const ProjectData &project = w.projectData();
    const int pin = int(project.pinFunctions.indexOf(QStringLiteral("Normal_DO")));
    if (pin < 0) {
        std::fprintf(stderr, "the project has no digital output to change\n");
        return 1;
    }
    bool input = false;
    report("one pin change", 20, [&] {
        input = !input;
        choose(w, pin, input ? QStringLiteral("Normal_DI") : QStringLiteral("Normal_DO"));
    });
    std::printf("rows: DO %d, DI %d\n", int(project.doInformation.size() / 18),
                int(project.diInformation.size() / 16));
    return 0;
}
