#include "projectreport.h"

#include "atomicfile.h"
#include "packagedrawing.h"
#include "pictureexport.h"
#include "pinlisting.h"
#include "pinrules.h"
#include "projectcheck.h"
#include "projecttexts.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

constexpr int kDpi = 300;
constexpr qreal kMarginMm = 15;

const char kStyle[] = "body { font-family: sans-serif; font-size: 10pt; }\n"
                      "h1 { font-size: 16pt; } h2 { font-size: 12pt; }\n"
                      "table { border-collapse: collapse; }\n"
                      "th, td { border: 1px solid #888; padding: 2px 6px; }\n"
                      "th { background-color: #dde4ee; }\n"
                      "th.heading { background-color: #2b5797; color: white; font-size: 11pt; "
                      "text-align: left; }\n"
                      "svg { width: 100%; height: auto; }\n";

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// A table with its heading in the header rows: the heading stays with the
// table and is repeated with the column titles on every page it runs onto.
QString tableHtml(const QString &heading, const QStringList &headers,
                  const QVector<QStringList> &rows)
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                                  "width=\"100%\">\n<thead>\n<tr><th class=\"heading\" "
                                  "colspan=\"%1\">%2</th></tr>\n<tr>")
                       .arg(headers.size())
                       .arg(escaped(heading));
    for (const QString &header : headers)
        html += QStringLiteral("<th>%1</th>").arg(escaped(header));
    html += QStringLiteral("</tr>\n</thead>\n<tbody>\n");
    for (const QStringList &row : rows) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : row)
            html += QStringLiteral("<td>%1</td>").arg(escaped(cell));
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody></table>\n<p></p>\n");
}

// A document laid out in the PDF writer's pixels: as wide as the page, and
// cut into pages when a page height is given.
void prepare(QTextDocument *document, QPdfWriter *writer, qreal width, qreal pageHeight = 0)
{
    document->documentLayout()->setPaintDevice(writer);
    QFont font = document->defaultFont();
    font.setPointSizeF(9);
    document->setDefaultFont(font);
    document->setDefaultStyleSheet(QString::fromLatin1(kStyle));
    if (pageHeight > 0)
        document->setPageSize(QSizeF(width, pageHeight));
    else
        document->setTextWidth(width);
}

} // namespace

ProjectReport::ProjectReport(const ProjectData &shown, const QString &title)
    : project(shown), name(title)
{
}

QStringList ProjectReport::suffixes()
{
    return {QStringLiteral("pdf"), QStringLiteral("html"), QStringLiteral("htm")};
}

QString ProjectReport::headerHtml() const
{
    const QString ram = text.enableOptions.value(project.useExternalRam() ? 0 : 1);
    return QStringLiteral("<h1>%1</h1>\n<p>%2: %3<br>%4: %5<br>%6: %7</p>\n")
        .arg(escaped(tr("Mirel 工程报告")), escaped(tr("工程")), escaped(name), escaped(tr("芯片")),
             escaped(project.currentChip), escaped(tr("外部RAM")), escaped(ram));
}

QString ProjectReport::tablesHtml() const
{
    const PinListing listing(project, text);
    QVector<QStringList> pins;
    for (const PinListing::Entry &entry : listing.entries())
        pins << QStringList{QString::number(entry.number), entry.name, entry.function, entry.table,
                            entry.chipSelect};
    QString html = tableHtml(tr("引脚表"), listing.headers(), pins);

    QStringList unused;
    for (const ProjectTexts::Table &table : ProjectTexts::tablesOf(project, text)) {
        if (!table.used) {
            if (table.partOf.isEmpty())
                unused << table.name;
            continue;
        }
        const QString heading = table.name.contains(table.title)
                                    ? table.name
                                    : table.name + QStringLiteral(" — ") + table.title;
        html += tableHtml(heading, table.headers, table.rows);
    }
    if (!unused.isEmpty())
        html += QStringLiteral("<p>%1: %2</p>\n")
                    .arg(escaped(tr("未使用的表")), escaped(unused.join(QStringLiteral(", "))));
    return html + problemsHtml();
}

// What the project check finds, as the window's problems panel lists it.
QString ProjectReport::problemsHtml() const
{
    const QVector<ProjectProblem> problems = ProjectCheck::problems(project);
    if (problems.isEmpty())
        return QStringLiteral("<p>%1</p>\n").arg(escaped(tr("工程没有问题：配置表可以生成。")));
    QVector<QStringList> rows;
    for (const ProjectProblem &problem : problems)
        rows << QStringList{problem.severity == ProjectProblem::Error ? tr("错误") : tr("警告"),
                            ProjectCheck::place(problem), problem.message};
    return tableHtml(tr("问题"), {tr("级别"), tr("位置"), tr("问题")}, rows);
}

QRectF ProjectReport::drawingBounds() const
{
    const PinBoard board(project.currentChip, project.useExternalRam());
    return PackageDrawing::bounds(board);
}

void ProjectReport::paintDrawing(QPainter *painter) const
{
    PinBoard board(project.currentChip, project.useExternalRam());
    board.restoreFunctions(project.pinFunctions);
    PackageDrawing::paint(painter, board);
}

QByteArray ProjectReport::html() const
{
    const QByteArray svg =
        PictureExport::render(QStringLiteral("svg"), drawingBounds(),
                              [this](QPainter *painter) { paintDrawing(painter); });
    // The drawing goes inline: everything from its <svg> element on.
    const QString drawing = QString::fromUtf8(svg.mid(svg.indexOf("<svg")));
    const QString title = escaped(tr("Mirel 工程报告") + QStringLiteral(" — ") + name);
    const QString page =
        QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>%1</title>\n<style>\n%2</style>\n</head>\n<body>\n")
            .arg(title, QString::fromLatin1(kStyle)) +
        headerHtml() + QStringLiteral("<h2>%1</h2>\n<div>\n").arg(escaped(tr("引脚图"))) + drawing +
        QStringLiteral("</div>\n") + tablesHtml() + QStringLiteral("</body>\n</html>\n");
    return page.toUtf8();
}

QByteArray ProjectReport::pdf(int *pages) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Mirel"));
    writer.setTitle(tr("Mirel 工程报告") + QStringLiteral(" — ") + name);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                          QPageLayout::Millimeter);
    QPainter painter(&writer);
    const QSizeF area = painter.viewport().size();
    const qreal footer = kDpi / 4.0; // a quarter inch for the page number
    const QSizeF page(area.width(), area.height() - footer);

    QTextDocument tables;
    prepare(&tables, &writer, page.width(), page.height());
    tables.setHtml(tablesHtml());
    const int count = 1 + tables.pageCount();
    const auto paintFooter = [&](int number) {
        painter.setFont(tables.defaultFont());
        painter.drawText(QRectF(0, page.height(), page.width(), footer),
                         Qt::AlignRight | Qt::AlignBottom,
                         tr("%1 — 第 %2 页，共 %3 页").arg(name).arg(number).arg(count));
    };

    // The first page: the title, then the drawing on the rest of the page.
    QTextDocument header;
    prepare(&header, &writer, page.width());
    header.setHtml(headerHtml());
    header.drawContents(&painter);
    const qreal top = header.size().height();
    PictureExport::paintFitted(&painter, QRectF(0, top, page.width(), page.height() - top),
                               drawingBounds(), [this](QPainter *p) { paintDrawing(p); });
    paintFooter(1);

    for (int n = 0; n < tables.pageCount(); ++n) {
        writer.newPage();
        painter.save();
        painter.translate(0, -n * page.height());
        tables.drawContents(&painter, QRectF(0, n * page.height(), page.width(), page.height()));
        painter.restore();
        paintFooter(n + 2);
    }
    painter.end();
    if (pages)
        *pages = count;
    return bytes;
}

bool ProjectReport::write(const QString &path, QString *error) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!suffixes().contains(suffix)) {
        if (error)
            *error = tr("%1：报告只能保存为 PDF 或 HTML 文件").arg(path);
        return false;
    }
    return AtomicFile::write(path, suffix == QLatin1String("pdf") ? pdf() : html(), error);
}
