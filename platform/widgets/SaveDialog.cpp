#include "platform/widgets/SaveDialog.h"

#include "platform/widgets/Tr.h"

#include <QFileDialog>
#include <QFileInfo>

std::function<bool(TSaveDialog&)> TSaveDialog::Answerer;

QStringList QtNameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        patterns.removeAll(QString());
        if (!patterns.isEmpty())
            filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters;
}

bool TSaveDialog::Execute(QWidget* owner)
{
    if (Answerer)
        return Answerer(*this);
    // Qt's own dialog, because the options below (no overwrite question, descriptions
    // without their patterns) are not honoured by every native one.
    QFileDialog dialog(owner, FTitle.isEmpty() ? Tr("名前を付けて保存") : FTitle);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::LookIn, Tr("保存する場所:"));
    dialog.setLabelText(QFileDialog::FileName, Tr("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, Tr("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, Tr("保存"));
    dialog.setLabelText(QFileDialog::Reject, DialogCancelText());
    const QStringList filters = QtNameFilters(FFilter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(FFilterIndex - 1, filters.first()));
    }
    if (!FFileName.isEmpty()) {
        const QFileInfo preset(FFileName);
        dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    FFileName = chosen.first();
    // With the patterns hidden the dialog names a filter by its description alone.
    const QString chosenFilter = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (filters[i] == chosenFilter || filters[i].startsWith(chosenFilter + QStringLiteral(" (")))
            FFilterIndex = int(i) + 1;
    }
    return true;
}
