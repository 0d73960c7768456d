#include "ModalDialogSupport.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

void WhenModalShown(std::function<void(QDialog&)> action, int triesLeft)
{
    QTimer::singleShot(10, [action = std::move(action), triesLeft]() mutable {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            action(*dialog);
            if (dialog != nullptr && dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        } else if (triesLeft > 0) {
            WhenModalShown(std::move(action), triesLeft - 1);
        }
    });
}
