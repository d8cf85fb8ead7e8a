#pragma once

#include "dlgdescription.h"
#include "projectdata.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QPainter;

// The review document of a project, readable without the program: the chip,
// the drawing of the package, the pin table and every table the project
// uses with the texts of the chosen options, its network and wireless
// settings. The texts are in the language of the installed translator when
// the report is made. Written as PDF (A4: the drawing on the first page, the
// tables after it) or as one HTML file with the drawing inline as SVG.
class ProjectReport
{
    Q_DECLARE_TR_FUNCTIONS(ProjectReport)
public:
    // name: how the title names the project (its file name).
    ProjectReport(const ProjectData &project, const QString &name);

    // "pdf", "html", "htm".
    static QStringList suffixes();
    QByteArray html() const;
    // pages: set to the number of pages.
    QByteArray pdf(int *pages = nullptr) const;
    // Renders by the path's suffix and writes the file whole (AtomicFile).
    bool write(const QString &path, QString *error = nullptr) const;

private:
    QString headerHtml() const;
    QString tablesHtml() const;
    QString problemsHtml() const;
    QRectF drawingBounds() const;
    void paintDrawing(QPainter *painter) const;

    ProjectData project;
    QString name;
    CDlgDescription text;
};
