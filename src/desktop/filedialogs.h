#pragma once

#include "platform/services/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace kelvane::desktop {

// The real folder and file choosers, modal over the given window (or the active one when none was given).
class QtFileDialogs final : public services::FileDialogService {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}

    QString chooseFolder(const QString& title, const QString& start) override;
    QString chooseFileToOpen(const QString& title, const QString& start, const QString& filters) override;
    QString chooseFileToSave(const QString& title, const QString& suggested, const QString& filters) override;

    void setParentWidget(QWidget* parent) { parent_ = parent; }

private:
    QWidget* owner() const;

    QPointer<QWidget> parent_;
};

} // namespace kelvane::desktop
