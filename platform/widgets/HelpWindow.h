#pragma once

#include <QWidget>

class QKeyEvent;
class QTextBrowser;
class QUrl;

// The program's own help viewer: one window with a text browser and the buttons
// "目次" (back to the page's top), "戻る" and "進む". Links within the help files open in
// it; other links (web pages, mail) go to the desktop's own programs. Escape closes it.
class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // The one help window of the program, made on first use.
    static THelpWindow& Instance();

    // Shows page, a local HTML file, and brings the window to the front.
    void ShowPage(const QString& pagePath);
    QTextBrowser* Browser() const { return FBrowser; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LinkClicked(const QUrl& url);

    QTextBrowser* FBrowser = nullptr;
};
