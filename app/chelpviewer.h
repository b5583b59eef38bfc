#ifndef CHELPVIEWER_H
#define CHELPVIEWER_H

#include <QWidget>

class QGridLayout;
class QTextBrowser;

// A window with one help page from the program's directory; deletes itself when closed.
class CHelpViewer : public QWidget
{
    Q_OBJECT

public:
    CHelpViewer(const QString &searchDir, const QString &source, QWidget *parent = nullptr);
    ~CHelpViewer() override;

    QTextBrowser *browser() const { return textBrowser; }

private:
    QGridLayout *gridLayout;
    QTextBrowser *textBrowser;
};

#endif // CHELPVIEWER_H
