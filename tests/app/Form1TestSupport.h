#pragma once

#include "app/Form1.h"
#include "composer/LogoComposer.h"
#include "platform/widgets/DialogHooksGuard.h"
#include "platform/widgets/QtText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class TManyBtn;

// A real main window under the offscreen platform, with its settings file in a
// folder of its own and errors collected instead of shown.
class Form1Fixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes and shows the window (its first showing builds the logo).
    TForm1& Open();
    QString SettingsPath() const;
    // The settings file's bytes (empty when there is none), and a way to lay one down.
    QByteArray Settings() const;
    void WriteSettings(const QByteArray& bytes);
    QString ProgramFile() const;
    // A value of the open window's settings store, "<none>" when it has none.
    QString Read(const char* section, const char* key) const;

    // What a user does through the window, with the dialogs answered: adds a style under
    // name from the menu, saves the logo as path, chooses the list's entry index.
    static void AddStyle(TForm1& form, const QString& name);
    static void SaveAs(TForm1& form, const QString& path);
    static void Choose(TForm1& form, int index);

    // Presses and releases a cell of a multi-cell button with a mouse button.
    static void ClickCell(TManyBtn& button, int cell, Qt::MouseButton mouseButton = Qt::LeftButton);
    // The composite, caption and client size agree with the composer for the window's
    // current parameters.
    static void ExpectConsistent(TForm1& form);

    // Declared first, so the hooks a test set are put back only after the window is gone.
    TDialogHooksGuard FHooks;
    QTemporaryDir FFolder;
    std::unique_ptr<TForm1> FForm;
    QStringList FErrors;
};
