#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

// The application object: its title, its help file, and the error box an exception
// that escaped a handler is shown in.
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
    // What the error box says for an exception: an Exception's own message, otherwise
    // what() in the system's encoding.
    static QString ExceptionMessage(const std::exception& error);
    // Shows a message in the error box, captioned with the title.
    void ShowError(QWidget* owner, const QString& message);
    // Shows the exception's message in the error box.
    void HandleException(QWidget* owner, const std::exception& error);

    // Tests see errors here instead of in a box.
    std::function<void(const QString& message)> OnException;

private:
    // The one instance installs Qt's font substitutions, so every window font finds
    // the faces the text engine draws with.
    TApplication();

    QString FTitle;
    QString FHelpFile;
};
