#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

// The application object: its title, its help file, and the one place that shows an
// error that escaped a handler.
class TApplication {
public:
    static TApplication& Instance();

    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }
    const QString& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const QString& helpFile) { FHelpFile = helpFile; }
    // The running program's file.
    static QString ExeName();

    // Shows the help file's page for a context.
    void HelpContext(int context);
    // Shows the error in the error box, captioned with the title.
    void HandleException(QWidget* owner, const std::exception& error);
    // Runs a handler; an error escaping it is shown and the program carries on.
    void Guard(QWidget* owner, const std::function<void()>& handler);

    // Tests see errors here instead of in a box.
    std::function<void(const QString& message)> OnException;

private:
    // The one instance installs Qt's font substitutions, so every window font finds
    // the faces the text engine draws with.
    TApplication();

    QString FTitle;
    QString FHelpFile;
};
