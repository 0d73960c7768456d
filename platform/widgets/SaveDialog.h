#pragma once

#include "platform/widgets/CommonDialog.h"

#include <QString>
#include <QStringList>
#include <functional>

// A filter in the "description|pattern|description|pattern" form, patterns separated
// by ";", as Qt name filters: "bmpファイル|*.bmp" gives "bmpファイル (*.bmp)". A
// description without a pattern is dropped.
QStringList QtNameFilters(const QString& filter);

// Asks for the name of a file to write. The dialog opens in FileName's folder with its
// name preset and does not ask before an existing file is chosen; on OK FileName is
// the chosen file's full path.
class TSaveDialog : public TCommonDialog {
public:
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& fileName) { FFileName = fileName; }
    const QString& Filter() const { return FFilter; }
    void SetFilter(const QString& filter) { FFilter = filter; }
    // The filter shown when the dialog opens, counted from 1; on OK, the one the user
    // had chosen.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int index) { FFilterIndex = index; }
    // The window title; empty gives "名前を付けて保存".
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }

    bool Execute(QWidget* owner = nullptr) override;

    static std::function<bool(TSaveDialog& dialog)> Answerer;

private:
    QString FFileName;
    QString FFilter;
    int FFilterIndex = 1;
    QString FTitle;
};
