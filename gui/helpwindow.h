#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

// 使用说明: the user guide in a window of its own, in the program's
// language. The guide is read from the files shipped with the program
// (guide_zh.md, guide_en.md in AppFolders::guideDirectory()); a guide that
// cannot be read says where it was looked for. Esc closes the window.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the guide in English or in Chinese (the program's own language).
    void showGuide(bool english);
    QTextBrowser *browser() const { return text; }
    static QString guideFile(bool english);

private:
    QTextBrowser *text;
};
