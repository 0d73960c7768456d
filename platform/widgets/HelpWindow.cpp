#include "platform/widgets/HelpWindow.h"

#include "platform/widgets/Tr.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(Tr("Vezodev ヘルプ"));
    setObjectName(QStringLiteral("HelpWindow"));
    FBrowser = new QTextBrowser(this);
    // Every link passes through LinkClicked, which decides where it opens.
    FBrowser->setOpenLinks(false);
    connect(FBrowser, &QTextBrowser::anchorClicked, this, &THelpWindow::LinkClicked);

    auto* contents = new QPushButton(Tr("目次"), this);
    auto* back = new QPushButton(Tr("戻る"), this);
    auto* forward = new QPushButton(Tr("進む"), this);
    contents->setObjectName(QStringLiteral("Contents"));
    back->setObjectName(QStringLiteral("Back"));
    forward->setObjectName(QStringLiteral("Forward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, FBrowser, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(FBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(FBrowser);
    resize(720, 640);
}

THelpWindow& THelpWindow::Instance()
{
    // Owned by no widget, so it lives until the program ends; closing only hides it.
    static THelpWindow* window = new THelpWindow;
    return *window;
}

void THelpWindow::ShowPage(const QString& pagePath)
{
    const QUrl page = QUrl::fromLocalFile(QFileInfo(pagePath).absoluteFilePath());
    if (FBrowser->source() != page) {
        FBrowser->clearHistory();
        FBrowser->setSource(page);
    } else {
        FBrowser->home();
    }
    show();
    raise();
    activateWindow();
}

void THelpWindow::keyPressEvent(QKeyEvent* event)
{
    // Neither the browser nor the buttons take Escape, so it reaches the window, which
    // closes on it as a dialog does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THelpWindow::LinkClicked(const QUrl& url)
{
    const QUrl target = FBrowser->source().resolved(url);
    if (target.isLocalFile() && target.toLocalFile().endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        FBrowser->setSource(target);
    else
        QDesktopServices::openUrl(target);
}
